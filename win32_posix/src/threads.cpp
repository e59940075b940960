#include <chrono>

#include "handle_table.h"
#include "thread_end.h"

using namespace win32posix;

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

extern "C" DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    std::shared_ptr<ThreadLife> life;
    {
        auto lock = lockHandles();
        const Thread* thread = findHandle<Thread>(handle);
        if (thread == nullptr) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        life = thread->life;
    }
    const auto timeout = milliseconds == INFINITE ? std::chrono::milliseconds(-1)
                                                  : std::chrono::milliseconds(milliseconds);
    return awaitThreadEnd(life, timeout) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

extern "C" BOOL CloseHandle(HANDLE handle) {
    auto lock = lockHandles();
    if (findHandle<Thread>(handle) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    removeHandle(handle);
    return TRUE;
}
