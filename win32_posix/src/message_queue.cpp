#include "message_queue.h"

#include <sys/syscall.h>
#include <unistd.h>
#include <win32_posix_test_hooks.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "handle_table.h"
#include "thread_end.h"

using namespace win32posix;

namespace {

struct SentMessage {
    MSG msg;
    bool done = false;
    LRESULT result = 0;
};

struct Queue {
    std::deque<MSG> messages;
    std::deque<std::shared_ptr<SentMessage>> sent;
    bool quitPosted = false;
    int quitCode = 0;
    bool ended = false;
    bool waiting = false;
    std::condition_variable posted;
    std::condition_variable replied;
};

// Never destroyed, like the handle table: threads may post while the process exits.
std::mutex& queuesMutex() {
    static std::mutex* const mutex = new std::mutex;
    return *mutex;
}

// Shared, so that a sender still holds the queue it waits on after the owner has ended.
std::unordered_map<DWORD, std::shared_ptr<Queue>>& queues() {
    static auto* const all = new std::unordered_map<DWORD, std::shared_ptr<Queue>>;
    return *all;
}

std::shared_ptr<Queue> queueOf(DWORD thread) {
    auto& queue = queues()[thread];
    if (!queue) {
        queue = std::make_shared<Queue>();
    }
    return queue;
}

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

WNDPROC procedureOf(HWND window) {
    auto lock = lockHandles();
    const Window* target = findHandle<Window>(window);
    return target ? target->procedure : nullptr;
}

LRESULT callProcedure(const MSG& msg) {
    const WNDPROC procedure = procedureOf(msg.hwnd);
    return procedure ? procedure(msg.hwnd, msg.message, msg.wParam, msg.lParam) : 0;
}

}  // namespace

namespace win32posix {

void postToThread(DWORD thread, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard lock(queuesMutex());
    const auto queue = queueOf(thread);
    queue->messages.push_back(MSG{window, message, wParam, lParam, tickCount(), POINT{0, 0}});
    queue->posted.notify_all();
}

void createThreadQueue() {
    std::lock_guard lock(queuesMutex());
    queueOf(GetCurrentThreadId());
}

void discardWindowMessages(DWORD thread, HWND window) {
    std::lock_guard lock(queuesMutex());
    std::erase_if(queueOf(thread)->messages,
                  [window](const MSG& msg) { return msg.hwnd == window; });
}

LRESULT sendToWindow(DWORD owner, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const MSG msg{window, message, wParam, lParam, tickCount(), POINT{0, 0}};
    if (owner == GetCurrentThreadId()) {
        return callProcedure(msg);
    }
    std::unique_lock lock(queuesMutex());
    // Every window's thread has a queue from the window's creation on; none means it has ended.
    const auto it = queues().find(owner);
    if (it == queues().end()) {
        return 0;
    }
    const auto queue = it->second;
    const auto sent = std::make_shared<SentMessage>(SentMessage{msg});
    queue->sent.push_back(sent);
    queue->posted.notify_all();
    queue->replied.wait(lock, [&] { return sent->done || queue->ended; });
    return sent->result;
}

void endThreadQueue(DWORD thread) {
    std::lock_guard lock(queuesMutex());
    auto it = queues().find(thread);
    if (it == queues().end()) {
        return;
    }
    it->second->ended = true;
    it->second->replied.notify_all();
    queues().erase(it);
}

}  // namespace win32posix

extern "C" DWORD GetCurrentThreadId(void) { return static_cast<DWORD>(syscall(SYS_gettid)); }

extern "C" size_t win32posix_queuedMessages(void) {
    std::lock_guard lock(queuesMutex());
    return queueOf(GetCurrentThreadId())->messages.size();
}

extern "C" size_t win32posix_sentMessagesWaiting(DWORD thread) {
    std::lock_guard lock(queuesMutex());
    const auto it = queues().find(thread);
    return it != queues().end() ? it->second->sent.size() : 0;
}

extern "C" BOOL win32posix_isWaitingForMessages(DWORD thread) {
    std::lock_guard lock(queuesMutex());
    const auto it = queues().find(thread);
    return it != queues().end() && it->second->waiting ? TRUE : FALSE;
}

namespace {

// Runs the messages other threads sent to the calling thread's windows, then takes (or looks at)
// the first posted message that matches, or the quit request once nothing else is queued. The
// caller holds `lock` on the queues, which is let go while a window procedure runs.
bool takeMessage(std::unique_lock<std::mutex>& lock, Queue& queue, LPMSG msg, HWND window,
                 UINT filterMin, UINT filterMax, bool remove) {
    while (!queue.sent.empty()) {
        const auto sent = queue.sent.front();
        queue.sent.pop_front();
        lock.unlock();
        const LRESULT result = callProcedure(sent->msg);
        lock.lock();
        sent->result = result;
        sent->done = true;
        queue.replied.notify_all();
    }
    for (auto it = queue.messages.begin(); it != queue.messages.end(); ++it) {
        if (matches(*it, window, filterMin, filterMax)) {
            *msg = *it;
            if (remove) {
                queue.messages.erase(it);
            }
            return true;
        }
    }
    if (queue.quitPosted) {
        *msg = MSG{0, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, tickCount(), {0, 0}};
        queue.quitPosted = !remove;
        return true;
    }
    return false;
}

void waitForInput(std::unique_lock<std::mutex>& lock, Queue& queue) {
    queue.waiting = true;
    queue.posted.wait(lock);
    queue.waiting = false;
}

// Never destroyed, like the queues.
std::condition_variable& eventSet() {
    static auto* const condition = new std::condition_variable;
    return *condition;
}

// Takes the event's signal when it is set: an auto-reset event signals one wait only.
bool takeSignal(EventState& event) {
    if (!event.signalled) {
        return false;
    }
    event.signalled = event.manualReset;
    return true;
}

}  // namespace

namespace win32posix {

void setEvent(const std::shared_ptr<EventState>& event) {
    std::lock_guard lock(queuesMutex());
    event->signalled = true;
    for (const auto& [thread, queue] : queues()) {
        queue->posted.notify_all();
    }
    eventSet().notify_all();
}

bool awaitEvent(const std::shared_ptr<EventState>& event, std::chrono::milliseconds timeout) {
    std::unique_lock lock(queuesMutex());
    const auto signalled = [&event] { return takeSignal(*event); };
    if (timeout.count() < 0) {
        eventSet().wait(lock, signalled);
        return true;
    }
    return eventSet().wait_for(lock, timeout, signalled);
}

}  // namespace win32posix

// Blocks until a message for the calling thread arrives: no polling, no time-out. Messages sent
// from other threads are handled first, inside the call, as on Windows. A quit request is answered
// once the queue holds nothing else.
extern "C" BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    watchThreadEnd();
    std::unique_lock lock(queuesMutex());
    const auto queue = queueOf(GetCurrentThreadId());
    while (!takeMessage(lock, *queue, msg, window, filterMin, filterMax, true)) {
        waitForInput(lock, *queue);
    }
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

extern "C" BOOL PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax,
                             UINT removeFlags) {
    watchThreadEnd();
    std::unique_lock lock(queuesMutex());
    const auto queue = queueOf(GetCurrentThreadId());
    return takeMessage(lock, *queue, msg, window, filterMin, filterMax,
                       (removeFlags & PM_REMOVE) != 0)
               ? TRUE
               : FALSE;
}

extern "C" DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds,
                                             DWORD wakeMask, DWORD flags) {
    if (milliseconds != INFINITE || wakeMask != QS_ALLINPUT || flags != MWMO_INPUTAVAILABLE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<EventState>> events;
    {
        auto lock = lockHandles();
        for (DWORD i = 0; i < count; ++i) {
            const Event* event = findHandle<Event>(handles[i]);
            if (event == nullptr) {
                SetLastError(ERROR_INVALID_HANDLE);
                return WAIT_FAILED;
            }
            events.push_back(event->state);
        }
    }
    watchThreadEnd();
    std::unique_lock lock(queuesMutex());
    const auto queue = queueOf(GetCurrentThreadId());
    for (;;) {
        for (DWORD i = 0; i < count; ++i) {
            if (takeSignal(*events[i])) {
                return WAIT_OBJECT_0 + i;
            }
        }
        if (!queue->sent.empty() || !queue->messages.empty() || queue->quitPosted) {
            return WAIT_OBJECT_0 + count;
        }
        waitForInput(lock, *queue);
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

extern "C" LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD owner = 0;
    {
        auto lock = lockHandles();
        const Window* target = findHandle<Window>(window);
        if (target == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        owner = target->ownerThread;
    }
    return sendToWindow(owner, window, message, wParam, lParam);
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
    std::lock_guard lock(queuesMutex());
    const auto queue = queueOf(GetCurrentThreadId());
    queue->quitPosted = true;
    queue->quitCode = exitCode;
    queue->posted.notify_all();
}
