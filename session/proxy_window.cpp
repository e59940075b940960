#include "session/proxy_window.h"

#include "session/twain_session.h"

HWND createProxyWindow() {
    return CreateWindowExA(0, "STATIC", "Acquire Proxy", WS_POPUPWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, {}, {},
                           static_cast<HINSTANCE>(twainSession.dsmModule), nullptr);
}

HWND proxyWindow() { return static_cast<HWND>(twainSession.userInterface.hParent); }

void enableProxyWindow(bool enable) { EnableWindow(proxyWindow(), enable ? TRUE : FALSE); }

void destroyProxyWindow() {
    const HWND window = proxyWindow();
    if (!window) {
        return;
    }
    twainSession.userInterface.hParent = {};
    if (IsWindow(window)) {
        DestroyWindow(window);
    }
}
