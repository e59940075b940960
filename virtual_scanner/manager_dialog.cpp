#include "manager_dialog.h"

#include "device_windows.h"
#include "scanner.h"

namespace vscan {

int selectSourceDialog(const Script& script, HWND owner, HWND& shown) {
    if (script.knob("manager.dialog").value_or(0) == 0) {
        return IDOK;
    }
    const bool userPressesOk = script.knob("ui.manual").value_or(0) == 0;
    HWND dialog = {};
    {
        Unlocked unlocked;
        if (owner) {
            EnableWindow(owner, FALSE);
        }
        dialog = createDeviceWindow("Select Source");
    }
    shown = dialog;
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
    shown = {};
    return button;
}

bool reportStatus(TW_UINT16 msg, TW_STATUS* status, TW_UINT16& conditionCode, bool open) {
    if (msg != MSG_GET || status == nullptr) {
        return false;
    }
    status->ConditionCode = conditionCode;
    status->Reserved = 0;
    if (open) {
        conditionCode = TWCC_SUCCESS;
    }
    return true;
}

}  // namespace vscan
