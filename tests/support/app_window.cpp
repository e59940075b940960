#include "app_window.h"

#include <map>
#include <mutex>

namespace {

std::mutex windowsMutex;
std::map<HWND, AppWindow*> windows;

LRESULT CALLBACK appWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    AppWindow* target = nullptr;
    {
        std::lock_guard lock(windowsMutex);
        const auto it = windows.find(window);
        target = it != windows.end() ? it->second : nullptr;
    }
    return target ? AppWindow::dispatch(*target, message)
                  : DefWindowProcA(window, message, wParam, lParam);
}

const char* className() {
    static const char* const name = [] {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = appWindowProcedure;
        windowClass.lpszClassName = "ScanlinkTestAppWindow";
        RegisterClassA(&windowClass);
        return "ScanlinkTestAppWindow";
    }();
    return name;
}

}  // namespace

AppWindow::AppWindow() {
    window_ = CreateWindowExA(0, className(), "Application", WS_POPUPWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, {}, {}, {}, nullptr);
    std::lock_guard lock(windowsMutex);
    windows[window_] = this;
}

AppWindow::~AppWindow() {
    {
        std::lock_guard lock(windowsMutex);
        windows.erase(window_);
    }
    DestroyWindow(window_);
}

LRESULT AppWindow::dispatch(AppWindow& window, UINT message) {
    if (const auto it = window.handlers_.find(message); it != window.handlers_.end()) {
        it->second();
    }
    return 0;
}
