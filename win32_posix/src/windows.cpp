#include <strings.h>
#include <unistd.h>

#include <win32_posix_test_hooks.h>

#include <atomic>
#include <map>
#include <string>

#include "handle_table.h"
#include "message_queue.h"
#include "thread_end.h"

using namespace win32posix;

namespace {

struct CaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    }
};

std::mutex classesMutex;
// The system's "STATIC" class is always there; it only does the default processing.
std::map<std::string, WNDPROC, CaseInsensitiveLess> classes = {{"STATIC", DefWindowProcA}};
ATOM nextAtom = 0xC000;
std::atomic<int> failingCreations = 0;

}  // namespace

extern "C" LRESULT DefWindowProcA(HWND, UINT, WPARAM, LPARAM) { return 0; }

extern "C" void win32posix_failWindowCreations(int count) { failingCreations = count; }

extern "C" ATOM RegisterClassA(const WNDCLASSA* wndClass) {
    if (wndClass == nullptr || wndClass->lpszClassName == nullptr ||
        wndClass->lpfnWndProc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::lock_guard lock(classesMutex);
    if (!classes.emplace(wndClass->lpszClassName, wndClass->lpfnWndProc).second) {
        SetLastError(1410);  // ERROR_CLASS_ALREADY_EXISTS
        return 0;
    }
    return nextAtom++;
}

// A window belongs to the thread that creates it.
extern "C" HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR, DWORD, int, int, int, int, HWND,
                                HMENU, HINSTANCE, LPVOID) {
    for (int failing = failingCreations; failing > 0;) {
        if (failingCreations.compare_exchange_weak(failing, failing - 1)) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
    }
    WNDPROC procedure = nullptr;
    {
        std::lock_guard lock(classesMutex);
        auto it = className ? classes.find(className) : classes.end();
        if (it == classes.end()) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return 0;
        }
        procedure = it->second;
    }
    watchThreadEnd();
    createThreadQueue();
    auto lock = lockHandles();
    return addHandle(Window{GetCurrentThreadId(), procedure, true});
}

// Only the owning thread may destroy a window, as on Windows.
extern "C" BOOL DestroyWindow(HWND window) {
    WNDPROC procedure = nullptr;
    DWORD owner = 0;
    {
        auto lock = lockHandles();
        const Window* target = findHandle<Window>(window);
        if (target == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        if (target->ownerThread != GetCurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        procedure = target->procedure;
        owner = target->ownerThread;
    }
    procedure(window, WM_DESTROY, 0, 0);
    {
        auto lock = lockHandles();
        removeHandle(window);
    }
    discardWindowMessages(owner, window);
    return TRUE;
}

extern "C" BOOL IsWindow(HWND window) {
    auto lock = lockHandles();
    return findHandle<Window>(window) != nullptr;
}

// Nonzero when the window was disabled before the call. A change is announced with WM_ENABLE,
// which runs on the window's own thread.
extern "C" BOOL EnableWindow(HWND window, BOOL enable) {
    bool wasDisabled = false;
    bool changed = false;
    DWORD owner = 0;
    {
        auto lock = lockHandles();
        Window* target = findHandle<Window>(window);
        if (target == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        wasDisabled = !target->enabled;
        changed = target->enabled != (enable != FALSE);
        target->enabled = enable != FALSE;
        owner = target->ownerThread;
    }
    if (changed) {
        sendToWindow(owner, window, WM_ENABLE, enable != FALSE, 0);
    }
    return wasDisabled;
}

extern "C" DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) {
    auto lock = lockHandles();
    const Window* target = findHandle<Window>(window);
    if (target == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (processId != nullptr) {
        *processId = static_cast<DWORD>(getpid());
    }
    return target->ownerThread;
}

extern "C" BOOL IsWindowEnabled(HWND window) {
    auto lock = lockHandles();
    const Window* target = findHandle<Window>(window);
    return target != nullptr && target->enabled;
}

extern "C" LRESULT DispatchMessageA(const MSG* msg) {
    if (msg == nullptr || msg->hwnd == 0) {
        return 0;
    }
    WNDPROC procedure = nullptr;
    {
        auto lock = lockHandles();
        const Window* target = findHandle<Window>(msg->hwnd);
        if (target == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        procedure = target->procedure;
    }
    return procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}
