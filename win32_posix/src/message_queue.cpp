#include "message_queue.h"

#include <sys/syscall.h>
#include <unistd.h>
#include <win32_posix_test_hooks.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <unordered_map>

#include "handle_table.h"

using namespace win32posix;

namespace {

struct Queue {
    std::deque<MSG> messages;
    bool quitPosted = false;
    int quitCode = 0;
    std::condition_variable posted;
};

std::mutex queuesMutex;
std::unordered_map<DWORD, Queue> queues;  // nodes are stable: references stay valid

DWORD tickCount() {
    using namespace std::chrono;
    return static_cast<DWORD>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool matches(const MSG& msg, HWND window, UINT filterMin, UINT filterMax) {
    const bool windowMatches = window == 0 || msg.hwnd == window;
    const bool rangeMatches = (filterMin == 0 && filterMax == 0) ||
                              (msg.message >= filterMin && msg.message <= filterMax);
    return windowMatches && rangeMatches;
}

}  // namespace

namespace win32posix {

void postToThread(DWORD thread, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard lock(queuesMutex);
    Queue& queue = queues[thread];
    queue.messages.push_back(MSG{window, message, wParam, lParam, tickCount(), POINT{0, 0}});
    queue.posted.notify_all();
}

void discardWindowMessages(DWORD thread, HWND window) {
    std::lock_guard lock(queuesMutex);
    std::erase_if(queues[thread].messages, [window](const MSG& msg) { return msg.hwnd == window; });
}

}  // namespace win32posix

extern "C" DWORD GetCurrentThreadId(void) { return static_cast<DWORD>(syscall(SYS_gettid)); }

extern "C" size_t win32posix_queuedMessages(void) {
    std::lock_guard lock(queuesMutex);
    return queues[GetCurrentThreadId()].messages.size();
}

// Blocks until a message for the calling thread arrives: no polling, no time-out. A quit request
// is answered once the queue holds nothing else, as on Windows.
extern "C" BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    std::unique_lock lock(queuesMutex);
    Queue& queue = queues[GetCurrentThreadId()];
    for (;;) {
        for (auto it = queue.messages.begin(); it != queue.messages.end(); ++it) {
            if (matches(*it, window, filterMin, filterMax)) {
                *msg = *it;
                queue.messages.erase(it);
                return msg->message == WM_QUIT ? FALSE : TRUE;
            }
        }
        if (queue.quitPosted) {
            queue.quitPosted = false;
            *msg = MSG{0, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, tickCount(), {0, 0}};
            return FALSE;
        }
        queue.posted.wait(lock);
    }
}

extern "C" BOOL TranslateMessage(const MSG*) { return FALSE; }  // no keyboard input here

extern "C" BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == 0) {
        postToThread(GetCurrentThreadId(), 0, message, wParam, lParam);
        return TRUE;
    }
    DWORD owner = 0;
    {
        auto lock = lockHandles();
        const Window* target = findHandle<Window>(window);
        if (target == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        owner = target->ownerThread;
    }
    postToThread(owner, window, message, wParam, lParam);
    return TRUE;
}

extern "C" BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    if (threadId == 0) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    postToThread(threadId, 0, message, wParam, lParam);
    return TRUE;
}

extern "C" void PostQuitMessage(int exitCode) {
    std::lock_guard lock(queuesMutex);
    Queue& queue = queues[GetCurrentThreadId()];
    queue.quitPosted = true;
    queue.quitCode = exitCode;
    queue.posted.notify_all();
}
