#include "source_windows.h"

#include <utility>

#include "device_windows.h"
#include "scanner.h"

namespace vscan {

bool SourceWindows::knob(const char* name) const {
    return core_.script.knob(name).value_or(0) != 0;
}

HWND SourceWindows::parent() const {
    return core_.userInterface.hParent ? static_cast<HWND>(core_.userInterface.hParent)
                                       : core_.appWindow;
}

bool SourceWindows::dialogShown() const {
    return core_.userInterface.ShowUI != 0 && (knob("ui.dialog") || knob("ui.modal"));
}

bool SourceWindows::waitsForUser() const {
    return dialogShown() && (knob("ui.modal") || knob("ui.manual"));
}

bool SourceWindows::userIsManual() const { return dialogShown() && knob("ui.manual"); }

void SourceWindows::send(HWND window, UINT message, WPARAM wParam) {
    Unlocked unlocked;
    SendMessageA(window, message, wParam, 0);
}

int SourceWindows::enabled() {
    const HWND owner = parent();
    const bool modal = knob("ui.modal");
    if (knob("ui.disable_parent") && owner) {
        Unlocked unlocked;
        EnableWindow(owner, FALSE);
    }
    if (!dialogShown()) {
        return 0;
    }
    HWND dialog = {};
    {
        Unlocked unlocked;
        dialog = createDeviceWindow("Virtual Scanner");
    }
    dialog_ = dialog;
    if (!dialog) {
        return 0;
    }
    if (knob("ui.send_messages")) {
        send(dialog, kStatusMessage, 0);
    }
    if (!modal) {
        return 0;
    }
    const bool manual = userIsManual();
    Unlocked unlocked;
    if (!manual) {
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
    return runModal(dialog);
}

// A dialog destroyed from a thread that did not make it stays, as a real driver's would.
void SourceWindows::disabled() {
    const HWND owner = parent();
    const bool enableParent = knob("ui.disable_parent");
    const bool sendMessages = knob("ui.send_messages");
    const HWND dialog = std::exchange(dialog_, {});
    const HWND progress = std::exchange(progress_, {});
    Unlocked unlocked;
    if (enableParent && owner) {
        EnableWindow(owner, TRUE);
    }
    if (dialog && sendMessages) {
        SendMessageA(dialog, kStatusMessage, 0, 0);
    }
    if (dialog) {
        DestroyWindow(dialog);
    }
    if (progress) {
        DestroyWindow(progress);
    }
}

void SourceWindows::abandon() {
    const HWND dialog = std::exchange(dialog_, {});
    const HWND progress = std::exchange(progress_, {});
    Unlocked unlocked;
    closeDeviceWindow(dialog);
    closeDeviceWindow(progress);
}

int SourceWindows::pressIn(const MSG& msg) const { return vscan::pressIn(dialog_, msg); }

void SourceWindows::notifyDialog() {
    if (dialog_ && knob("ui.send_messages")) {
        send(dialog_, kStatusMessage, 1);
    }
}

void SourceWindows::transferStarting(bool indicators) {
    if (!indicators || !knob("ui.progress")) {
        return;
    }
    if (!progress_) {
        HWND progress = {};
        {
            Unlocked unlocked;
            progress = createDeviceWindow("Scanning");
        }
        progress_ = progress;
    }
    if (progress_) {
        send(progress_, kProgressMessage, 0);
    }
}

void SourceWindows::transferEnded() {
    const HWND progress = std::exchange(progress_, {});
    if (!progress) {
        return;
    }
    Unlocked unlocked;
    SendMessageA(progress, kProgressMessage, 100, 0);
    DestroyWindow(progress);
}

}  // namespace vscan
