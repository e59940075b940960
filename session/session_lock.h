// The one lock of the session. Every native method holds it while it reads or changes the session,
// so no call sees another one half done, whichever threads they come from. It is never held while
// a thread waits for messages, dispatches them or runs Java code: a consumer may call back into the
// session, or wait for a thread that does, without a deadlock.
#ifndef SCANLINK_SESSION_SESSION_LOCK_H
#define SCANLINK_SESSION_SESSION_LOCK_H

#include <windows.h>

class SessionLock {
  public:
    SessionLock();
    ~SessionLock();
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;

    // Waits for the calling thread's next message with the lock released. False for WM_QUIT. A
    // thread that takes the session below the enabled state meanwhile wakes the waiter, which then
    // finds the state changed.
    bool waitForMessage(MSG& msg);
    // Runs `work` with the lock released, as for window procedures that may call back in.
    template <class Work>
    void whileReleased(Work&& work) {
        release();
        work();
        acquire();
    }
    // Lets go for the rest of the call, before Java code runs.
    void release();

  private:
    void acquire();
    bool held_ = false;
};

#endif
