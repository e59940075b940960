// How the native methods run their work under the session's thread rules (session_thread.h).
#ifndef SCANLINK_SESSION_NATIVE_CALLS_H
#define SCANLINK_SESSION_NATIVE_CALLS_H

#include <jni.h>

#include <exception>

#include "session/session_thread.h"
#include "session/twain_session.h"

// The states from which dsmCall sends, and those in which the source is open and takes requests.
inline constexpr TripletStates kManagerBoundStates = {kStateManagerLoaded, kStateTransferring};
inline constexpr TripletStates kSourceOpenStates = {kStateSourceOpen, kStateTransferring};
// unregister's: in state 2 it sends nothing, but releases the manager, which is a step too.
inline constexpr TripletStates kUnregisterStates = {kStateManagerLoaded, kStateTransferring};

// Runs `work` as runSessionCall does. An exception that `work` throws (memory that ran out) does
// not leave the session's call: the call ends as any other, on whichever thread ran it, and the
// exception is thrown again here, on the caller's thread, for the native's guard to answer.
inline bool runNativeCall(const char* name, CallKind kind, TripletStates sends,
                          const std::function<void()>& work) {
    std::exception_ptr thrown;
    const bool ran = runSessionCall(name, kind, sends, [&work, &thrown] {
        try {
            work();
        } catch (...) {
            thrown = std::current_exception();
        }
    });
    if (thrown) {
        std::rethrow_exception(thrown);
    }
    return ran;
}

// A step that answers whether it succeeded; a refused call, or one that failed inside the library,
// answers false, and a teardown that had nothing left to take down true.
template <class Step>
jboolean stepCall(const char* name, CallKind kind, TripletStates sends, Step step) {
    bool succeeded = kind == CallKind::Teardown;
    const bool answered =
        runNativeCall(name, kind, sends, [&succeeded, &step] { succeeded = step(); });
    return answered && succeeded ? JNI_TRUE : JNI_FALSE;
}

#endif
