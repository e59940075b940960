// The virtual Data Source Manager: one application at a time, with the sources of every model
// (source_model.h), "Virtual Scanner" first and the default, one of them open at a time. It gives
// each source its Id when the application opens the manager, keeps the manager's states (2 closed,
// 3 open), passes triplets for the open source on, and answers wrong-state triplets with
// TWRC_FAILURE and TWCC_SEQERROR. The knob "manager.sameNames" gives every source the first one's
// ProductName. With the knob "manager.dialog", MSG_USERSELECT shows a modal "Select Source" dialog
// on the calling thread and disables the application's window meanwhile, as real managers do; the
// virtual user presses OK at once unless "ui.manual" leaves the buttons to a test.
#ifndef VIRTUAL_SCANNER_MANAGER_H
#define VIRTUAL_SCANNER_MANAGER_H

#include <optional>
#include <vector>

#include "script.h"
#include "source.h"

namespace vscan {

class Manager {
  public:
    Manager(VirtualSource& source, const Script& script) : source_(source), script_(script) {}

    TW_UINT16 entry(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat,
                    TW_UINT16 msg, TW_MEMREF data);
    // A scripted answer: the condition code goes where the triplet would have gone.
    void recordConditionCode(pTW_IDENTITY destination, TW_UINT16 code);

    // Back to a manager that no application has opened.
    void powerCycle();

    int32_t state() const { return open_ ? 3 : 2; }
    // The thread that opened the manager, which a strict one expects every triplet from.
    DWORD openingThread() const { return open_ ? openingThread_ : 0; }
    HWND selectDialog() const { return selectDialog_; }

  private:
    TW_UINT16 fail(TW_UINT16 code) {
        conditionCode_ = code;
        return TWRC_FAILURE;
    }
    bool addressesOpenSource(pTW_IDENTITY destination) const;
    TW_UINT16 parent(pTW_IDENTITY origin, TW_UINT16 msg, TW_MEMREF data);
    TW_UINT16 identity(pTW_IDENTITY origin, TW_UINT16 msg, TW_IDENTITY* identity);
    TW_UINT16 status(TW_UINT16 msg, TW_STATUS* status);
    // The user's choice in the selection dialog: TWRC_SUCCESS for OK, TWRC_CANCEL otherwise.
    TW_UINT16 askUser();
    // The identity the manager lists for its source `index`, with its Id.
    TW_IDENTITY listed(std::size_t index) const;
    // The source an application asks MSG_OPENDS for: by its Id, else by its ProductName (the first
    // listed of that name), else the default; none when there is no such source.
    std::optional<std::size_t> wanted(const TW_IDENTITY& identity) const;
    TW_UINT16 openSource(TW_IDENTITY& identity);

    bool open_ = false;
    TW_UINT32 appId_ = 0;
    HWND appWindow_ = {};
    DWORD openingThread_ = 0;
    HWND selectDialog_ = {};
    TW_UINT32 nextId_ = 1;
    std::vector<TW_UINT32> sourceIds_;  // one per model, given at MSG_OPENDSM
    std::size_t nextListed_ = 0;        // where MSG_GETNEXT goes on
    // Before MSG_OPENDSM a manager knows of no failure of the application's, yet reports one.
    TW_UINT16 conditionCode_ = TWCC_BUMMER;
    VirtualSource& source_;
    const Script& script_;
};

}  // namespace vscan

#endif
