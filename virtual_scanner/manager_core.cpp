#include "manager_core.h"

#include "device_windows.h"
#include "scanner.h"

namespace vscan {

TW_UINT16 ManagerCore::entry(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg,
                             TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    if (origin == nullptr) {
        return fail(TWCC_BADPROTOCOL);
    }
    if (destination != nullptr) {
        if (!isApplication(origin)) {
            return fail(TWCC_SEQERROR);
        }
        if (addressesOpenSource(destination)) {
            return toSource(origin, dg, dat, msg, data);
        }
        // A status request for a source that is gone gets the manager's own code.
        if (dg == DG_CONTROL && dat == DAT_STATUS) {
            return status(msg, static_cast<TW_STATUS*>(data));
        }
        return fail(TWCC_BADDEST);
    }
    if (dg != DG_CONTROL) {
        return fail(TWCC_BADPROTOCOL);
    }
    switch (dat) {
        case DAT_PARENT:
            return parent(origin, msg, data);
        case DAT_IDENTITY:
            return identity(origin, msg, static_cast<TW_IDENTITY*>(data));
        case DAT_STATUS:
            return status(msg, static_cast<TW_STATUS*>(data));
        default:
            return fail(TWCC_BADPROTOCOL);
    }
}

void ManagerCore::forgetApplication() {
    open_ = false;
    appId_ = 0;
    appWindow_ = {};
    conditionCode_ = TWCC_BUMMER;
}

TW_UINT16 ManagerCore::parent(pTW_IDENTITY origin, TW_UINT16 msg, TW_MEMREF data) {
    switch (msg) {
        case MSG_OPENDSM:
            if (open_) {
                return fail(TWCC_SEQERROR);
            }
            if (data == nullptr || origin->ProductName[0] == '\0') {
                return fail(TWCC_BADVALUE);
            }
            appId_ = nextId_++;
            origin->Id = appId_;
            opened();
            appWindow_ = *static_cast<HWND*>(data);
            openingThread_ = GetCurrentThreadId();
            open_ = true;
            conditionCode_ = TWCC_SUCCESS;
            return TWRC_SUCCESS;
        case MSG_CLOSEDSM:
            if (!isApplication(origin)) {
                return fail(TWCC_SEQERROR);
            }
            closing();
            open_ = false;
            conditionCode_ = TWCC_SUCCESS;
            return TWRC_SUCCESS;
        default:
            return fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 ManagerCore::askUser() {
    if (script_.knob("manager.dialog").value_or(0) == 0) {
        return TWRC_SUCCESS;
    }
    const HWND owner = appWindow_;
    const bool userPressesOk = script_.knob("ui.manual").value_or(0) == 0;
    HWND dialog = {};
    {
        Unlocked unlocked;
        if (owner) {
            EnableWindow(owner, FALSE);
        }
        dialog = createDeviceWindow("Select Source");
    }
    selectDialog_ = dialog;
    int button = 0;
    {
        Unlocked unlocked;
        if (dialog && userPressesOk) {
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }
        button = dialog ? runModal(dialog) : IDCANCEL;
        if (owner) {
            EnableWindow(owner, TRUE);
        }
        if (dialog) {
            DestroyWindow(dialog);
        }
    }
    selectDialog_ = {};
    if (!open_) {
        return fail(TWCC_SEQERROR);  // closed meanwhile, from another thread
    }
    return button == IDOK ? TWRC_SUCCESS : TWRC_CANCEL;
}

// The manager reports its last condition code once, then forgets it; before MSG_OPENDSM it
// always reports TWCC_BUMMER.
TW_UINT16 ManagerCore::status(TW_UINT16 msg, TW_STATUS* status) {
    if (msg != MSG_GET || status == nullptr) {
        return fail(TWCC_BADPROTOCOL);
    }
    status->ConditionCode = conditionCode_;
    status->Reserved = 0;
    if (open_) {
        conditionCode_ = TWCC_SUCCESS;
    }
    return TWRC_SUCCESS;
}

}  // namespace vscan
