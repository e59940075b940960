// The virtual manager as Windows builds it, behaving as the released TWAINDSM.dll does: its sources
// are the .ds files of the Windows folder's folder of sources (source_folder.h), each a module of
// its own. It loads a source at MSG_OPENDS and unloads it at MSG_CLOSEDS, or at MSG_CLOSEDSM when
// the application left it open. The rest is every manager's (manager_core.h).
//
// Every call into a source is made without the scanner's lock: the source reads the knobs back
// through the manager's controls, and its windows' procedures may call the manager.
#ifndef VIRTUAL_SCANNER_LOADING_MANAGER_H
#define VIRTUAL_SCANNER_LOADING_MANAGER_H

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "manager_core.h"
#include "source_library.h"

namespace vscan {

// The caller of entry() holds scannerMutex(), which calls into the source let go meanwhile.
class LoadingManager : public ManagerCore {
  public:
    explicit LoadingManager(const Script& script) : ManagerCore(script) {}

    // A scripted answer: the condition code goes where the triplet would have gone.
    void recordConditionCode(pTW_IDENTITY destination, TW_UINT16 code);
    // Whether a strict driver (knob "threads.strict") refuses the triplet for its thread.
    bool refusesThread(pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat) const;

    // Back to a manager that no application has opened, its source closed and unloaded.
    void powerCycle();

    // The open source's module, for the controls that ask the source itself; null when none is.
    std::shared_ptr<SourceLibrary> openLibrary() const {
        return source_ ? source_->library : nullptr;
    }

  private:
    struct OpenSource {
        std::shared_ptr<SourceLibrary> library;
        TW_UINT32 id;
        DWORD openingThread;
        TW_IDENTITY identity;  // as the source wrote it at MSG_OPENDS
        TW_IDENTITY application;
        // A scripted condition the source has to report at its next DAT_STATUS.
        std::optional<TW_UINT16> scriptedCondition;
    };
    struct Listed {
        std::string path;
        TW_IDENTITY identity;
    };
    // What a source file answered when it was last asked, and when it was written then.
    struct Known {
        uint64_t written;
        std::optional<TW_IDENTITY> identity;
    };

    bool addressesOpenSource(pTW_IDENTITY destination) const override;
    TW_UINT16 identity(pTW_IDENTITY origin, TW_UINT16 msg, TW_IDENTITY* identity) override;
    TW_UINT16 toSource(pTW_IDENTITY origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                       TW_MEMREF data) override;
    // Closes and unloads what the application left open.
    void closing() override;
    TW_UINT16 openSource(pTW_IDENTITY origin, TW_IDENTITY* identity);
    TW_UINT16 closeSource();
    // Every source file with its identity, as the application at `origin` asks them.
    std::vector<Listed> list(pTW_IDENTITY origin);
    static const Listed* pick(const std::vector<Listed>& all, const char* name);
    TW_UINT32 listedId(const Listed& listed) const;

    std::optional<OpenSource> source_;
    std::vector<Listed> listed_;  // as MSG_GETFIRST found them, for MSG_GETNEXT
    std::map<std::string, Known> known_;
    std::size_t nextListed_ = 0;
};

// The one loading manager of the process; the caller holds scannerMutex().
LoadingManager& loadingManager();

}  // namespace vscan

#endif
