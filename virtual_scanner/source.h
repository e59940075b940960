// The source the virtual manager has open, of one of its models (source_model.h); "Virtual
// Scanner", a flatbed with a document feeder, unless the application opened another. It keeps the
// TWAIN state machine of a source (states 4 to 7) and answers a triplet sent in a state that does
// not allow it with TWRC_FAILURE and TWCC_SEQERROR.
#ifndef VIRTUAL_SCANNER_SOURCE_H
#define VIRTUAL_SCANNER_SOURCE_H

#include <optional>
#include <utility>

#include "source_capabilities.h"
#include "source_core.h"
#include "source_model.h"
#include "source_transfer.h"
#include "source_windows.h"

namespace vscan {

class VirtualSource {
  public:
    explicit VirtualSource(const Script& script)
        : core_(script), capabilities_(core_), transfer_(core_, capabilities_), windows_(core_) {}

    // Writes the default source's identity, with the Id the manager assigned, into `identity`.
    static void describe(TW_IDENTITY& identity, TW_UINT32 id) {
        describeModel(identity, id, defaultModel());
    }

    bool isOpen() const { return core_.state != kSourceClosed; }
    int32_t state() const { return core_.state; }
    TW_UINT32 id() const { return core_.identity.Id; }
    const TW_IDENTITY& identity() const { return core_.identity; }
    const ScanSettings& settings() const { return capabilities_.settings(); }
    const SourceWindows& windows() const { return windows_; }
    bool workerStarted() const { return transfer_.workerStarted(); }
    // The thread that opened the source, which a strict driver expects every triplet from.
    DWORD openingThread() const { return core_.openingThread; }

    // MSG_OPENDS and MSG_CLOSEDS, as the manager passes them on: a source of the model, known to
    // the application by `identity`; the default one when only its Id is given.
    TW_UINT16 open(const TW_IDENTITY& identity, const SourceModel& model, HWND appWindow);
    TW_UINT16 open(TW_UINT32 id, HWND appWindow) {
        TW_IDENTITY identity;
        describe(identity, id);
        return open(identity, defaultModel(), appWindow);
    }
    TW_UINT16 close();
    // The manager closes the source whatever its state (MSG_CLOSEDSM with the source still open).
    void forceClose();

    void setConditionCode(TW_UINT16 code) { core_.conditionCode = code; }
    TW_UINT16 handle(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

    // Where the source runs under a manager of its own: that manager's entry point (none when it
    // cannot be found) and the application the source was opened for, where notices sent the
    // TWAIN 2 way go.
    void serveThrough(DSMENTRYPROC managerEntry, const TW_IDENTITY& application) {
        core_.managerEntry = managerEntry;
        core_.application = application;
    }
    DSMENTRYPROC managerEntry() const { return core_.managerEntry; }
    const TW_IDENTITY& application() const { return core_.application; }
    // The notice waiting to be sent to that manager; taken once.
    std::optional<TW_UINT16> takeManagerNotice() { return std::exchange(core_.managerNotice, {}); }

  private:
    TW_UINT16 status(TW_UINT16 msg, TW_STATUS* status);
    TW_UINT16 userInterface(TW_UINT16 msg, TW_USERINTERFACE* ui);
    TW_UINT16 event(TW_UINT16 msg, TW_EVENT* event);
    TW_UINT16 nativeTransfer(TW_UINT16 msg, TW_HANDLE* image);
    TW_UINT16 pendingTransfers(TW_UINT16 msg, TW_PENDINGXFERS* pending);

    SourceCore core_;
    Capabilities capabilities_;
    Transfer transfer_;
    SourceWindows windows_;
};

}  // namespace vscan

#endif
