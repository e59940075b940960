#include "session/proxy_window.h"

#include <vector>

#include "session/twain_session.h"

namespace {

struct DeferredEnable {
    HWND window;
    BOOL enable;
    bool pending;
};

DeferredEnable deferredEnable = {};
// Windows taken out of the session by a thread that does not own them.
std::vector<HWND> retiredWindows;

bool ownedByCaller(HWND window) {
    return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

}  // namespace

HWND createProxyWindow() {
    return CreateWindowExA(0, "STATIC", "Acquire Proxy", WS_POPUPWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, {}, {},
                           static_cast<HINSTANCE>(twainSession.dsmModule), nullptr);
}

HWND proxyWindow() { return static_cast<HWND>(twainSession.userInterface.hParent); }

bool callerOwnsProxyWindow() { return proxyWindow() && ownedByCaller(proxyWindow()); }

// From another thread, EnableWindow would wait until the owner takes its WM_ENABLE, which an owner
// that is not pumping messages never does.
void enableProxyWindow(bool enable) {
    const HWND window = proxyWindow();
    if (!window || ownedByCaller(window)) {
        EnableWindow(window, enable ? TRUE : FALSE);
        deferredEnable.pending = false;
    } else {
        deferredEnable = {window, enable ? TRUE : FALSE, true};
    }
}

void destroyProxyWindow() {
    const HWND window = proxyWindow();
    if (!window) {
        return;
    }
    twainSession.userInterface.hParent = {};
    if (deferredEnable.window == window) {
        deferredEnable.pending = false;
    }
    if (ownedByCaller(window)) {
        DestroyWindow(window);
    } else if (IsWindow(window)) {
        retiredWindows.push_back(window);
    }
}

void tendProxyWindows() {
    if (deferredEnable.pending) {
        if (!IsWindow(deferredEnable.window)) {
            deferredEnable.pending = false;
        } else if (ownedByCaller(deferredEnable.window)) {
            EnableWindow(deferredEnable.window, deferredEnable.enable);
            deferredEnable.pending = false;
        }
    }
    // A window whose thread has ended was destroyed with it.
    std::erase_if(retiredWindows, [](HWND window) {
        if (!IsWindow(window)) {
            return true;
        }
        if (ownedByCaller(window)) {
            DestroyWindow(window);
            return true;
        }
        return false;
    });
}
