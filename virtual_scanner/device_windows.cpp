#include "device_windows.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

namespace vscan {
namespace {

constexpr UINT kGlobalClass = 0x4000;  // CS_GLOBALCLASS

// The buttons pressed in dialogs that a modal loop runs, by dialog; a dialog is entered when it is
// made and leaves when it is destroyed.
std::mutex& pressesMutex() {
    static auto* const mutex = new std::mutex;
    return *mutex;
}

std::map<HWND, int>& presses() {
    static auto* const all = new std::map<HWND, int>;
    return *all;
}

std::atomic<long> ownMessages = 0;

int buttonOf(WPARAM wParam) { return static_cast<int>(wParam & 0xFFFF); }

LRESULT CALLBACK deviceWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            std::lock_guard lock(pressesMutex());
            if (const auto it = presses().find(window); it != presses().end()) {
                it->second = buttonOf(wParam);
            }
            return 0;
        }
        case kStatusMessage:
        case kProgressMessage:
            ++ownMessages;
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY: {
            std::lock_guard lock(pressesMutex());
            presses().erase(window);
            return 0;
        }
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

// The class's name once it is registered, else empty.
char className[64] = {};

// One class for every window of the device. Its name holds the procedure's address, so that two
// copies of the device in one process (a manager and a data source loaded apart) keep their own.
const char* deviceClass() {
    static const bool registered = [] {
        char name[sizeof(className)] = {};
        std::snprintf(name, sizeof(name), "VirtualScannerWindow-%p",
                      reinterpret_cast<void*>(&deviceWindowProcedure));
        WNDCLASSA windowClass = {};
        windowClass.style = kGlobalClass;
        windowClass.lpfnWndProc = deviceWindowProcedure;
        windowClass.lpszClassName = name;
        if (RegisterClassA(&windowClass) == 0) {
            return false;
        }
        std::memcpy(className, name, sizeof(name));
        return true;
    }();
    return registered ? className : nullptr;
}

int pressed(HWND dialog) {
    std::lock_guard lock(pressesMutex());
    const auto it = presses().find(dialog);
    return it != presses().end() ? it->second : 0;
}

}  // namespace

HWND createDeviceWindow(const char* title) {
    const char* windowClass = deviceClass();
    if (windowClass == nullptr) {
        return {};
    }
    const HWND window =
        CreateWindowExA(0, windowClass, title, WS_POPUPWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, {}, {}, {}, nullptr);
    if (window) {
        std::lock_guard lock(pressesMutex());
        presses()[window] = 0;
    }
    return window;
}

void closeDeviceWindow(HWND window) {
    if (!window) {
        return;
    }
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        DestroyWindow(window);
    } else {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
}

int pressIn(HWND dialog, const MSG& msg) {
    if (!dialog || msg.hwnd != dialog || msg.message != WM_COMMAND) {
        return 0;
    }
    return buttonOf(msg.wParam);
}

int runModal(HWND dialog) {
    MSG msg = {};
    while (IsWindow(dialog)) {
        if (const int button = pressed(dialog)) {
            return button;
        }
        if (!GetMessageA(&msg, {}, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return 0;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

const char* registeredDeviceClass() { return className[0] != '\0' ? className : nullptr; }

long deviceMessagesReceived() { return ownMessages; }

}  // namespace vscan
