// Handles of threads and events, and waiting for them.
#include <chrono>

#include "handle_table.h"
#include "message_queue.h"
#include "thread_end.h"

using namespace win32posix;

namespace {

std::chrono::milliseconds timeoutOf(DWORD milliseconds) {
    return milliseconds == INFINITE ? std::chrono::milliseconds(-1)
                                    : std::chrono::milliseconds(milliseconds);
}

}  // namespace

// A thread other than the caller can be opened only while it is watched: the stand-in learns of a
// thread's end only from the thread itself.
extern "C" HANDLE OpenThread(DWORD, BOOL, DWORD threadId) {
    if (threadId == GetCurrentThreadId()) {
        watchThreadEnd();
    }
    std::shared_ptr<ThreadLife> life = lifeOf(threadId);
    if (!life) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto lock = lockHandles();
    return addHandle(Thread{std::move(life)});
}

extern "C" HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR) {
    auto state =
        std::make_shared<EventState>(EventState{manualReset != FALSE, initialState != FALSE});
    auto lock = lockHandles();
    return addHandle(Event{std::move(state)});
}

extern "C" BOOL SetEvent(HANDLE event) {
    std::shared_ptr<EventState> state;
    {
        auto lock = lockHandles();
        const Event* found = findHandle<Event>(event);
        if (found == nullptr) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        state = found->state;
    }
    setEvent(state);
    return TRUE;
}

extern "C" DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    std::shared_ptr<ThreadLife> life;
    std::shared_ptr<EventState> event;
    {
        auto lock = lockHandles();
        if (const Thread* thread = findHandle<Thread>(handle)) {
            life = thread->life;
        } else if (const Event* found = findHandle<Event>(handle)) {
            event = found->state;
        } else {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
    }
    const bool signalled = life ? awaitThreadEnd(life, timeoutOf(milliseconds))
                                : awaitEvent(event, timeoutOf(milliseconds));
    return signalled ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

extern "C" BOOL CloseHandle(HANDLE handle) {
    auto lock = lockHandles();
    if (findHandle<Thread>(handle) == nullptr && findHandle<Event>(handle) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    removeHandle(handle);
    return TRUE;
}
