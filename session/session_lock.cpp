#include "session/session_lock.h"

#include "session/proxy_window.h"
#include "session/twain_session.h"

namespace {

SRWLOCK sessionLock = SRWLOCK_INIT;
// The thread waiting for messages outside the lock, or 0. Only the proxy window's owner waits.
DWORD waitingThread = 0;

}  // namespace

SessionLock::SessionLock() { acquire(); }

SessionLock::~SessionLock() {
    if (held_) {
        release();
    }
}

void SessionLock::acquire() {
    AcquireSRWLockExclusive(&sessionLock);
    held_ = true;
    // Window work that another thread left for this one is done before anything else.
    tendProxyWindows();
}

void SessionLock::release() {
    // The waiter tests the state only after a message, so one that can no longer receive an
    // image is told by a message of no meaning.
    if (waitingThread != 0 && waitingThread != GetCurrentThreadId() &&
        twainSession.state < kStateSourceEnabled) {
        PostThreadMessageA(waitingThread, WM_NULL, 0, 0);
        waitingThread = 0;
    }
    held_ = false;
    ReleaseSRWLockExclusive(&sessionLock);
}

bool SessionLock::waitForMessage(MSG& msg) {
    waitingThread = GetCurrentThreadId();
    release();
    const BOOL received = GetMessageA(&msg, {}, 0, 0);
    acquire();
    waitingThread = 0;
    return received != 0;
}
