// The virtual Data Source Manager: one application at a time, with the sources of every model
// (source_model.h), "Virtual Scanner" first and the default, one of them open at a time. It gives
// each source its Id when the application opens the manager and passes triplets for the open
// source on; the rest is every manager's (manager_core.h). The knob "manager.sameNames" gives
// every source the first one's ProductName.
#ifndef VIRTUAL_SCANNER_MANAGER_H
#define VIRTUAL_SCANNER_MANAGER_H

#include <optional>
#include <vector>

#include "manager_core.h"
#include "source.h"

namespace vscan {

class Manager : public ManagerCore {
  public:
    Manager(VirtualSource& source, const Script& script) : ManagerCore(script), source_(source) {}

    // A scripted answer: the condition code goes where the triplet would have gone.
    void recordConditionCode(pTW_IDENTITY destination, TW_UINT16 code);

    // Back to a manager that no application has opened.
    void powerCycle();

  private:
    bool addressesOpenSource(pTW_IDENTITY destination) const override;
    TW_UINT16 toSource(pTW_IDENTITY origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                       TW_MEMREF data) override;
    TW_UINT16 identity(pTW_IDENTITY origin, TW_UINT16 msg, TW_IDENTITY* identity) override;
    // Every source gets its Id when the application opens the manager.
    void opened() override;
    void closing() override;
    // The identity the manager lists for its source `index`, with its Id.
    TW_IDENTITY listed(std::size_t index) const;
    // The source an application asks MSG_OPENDS for: by its Id, else by its ProductName (the first
    // listed of that name), else the default; none when there is no such source.
    std::optional<std::size_t> wanted(const TW_IDENTITY& identity) const;
    TW_UINT16 openSource(TW_IDENTITY& identity);

    std::vector<TW_UINT32> sourceIds_;  // one per model, given at MSG_OPENDSM
    std::size_t nextListed_ = 0;        // where MSG_GETNEXT goes on
    VirtualSource& source_;
};

}  // namespace vscan

#endif
