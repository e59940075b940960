// How the native methods run their work under the session's thread rules (session_thread.h).
#ifndef SCANLINK_SESSION_NATIVE_CALLS_H
#define SCANLINK_SESSION_NATIVE_CALLS_H

#include <jni.h>

#include "session/session_thread.h"
#include "session/twain_session.h"

// The states from which dsmCall sends, and those in which the source is open and takes requests.
inline constexpr TripletStates kManagerBoundStates = {kStateManagerLoaded, kStateTransferring};
inline constexpr TripletStates kSourceOpenStates = {kStateSourceOpen, kStateTransferring};

// A step that answers whether it succeeded; a refused call answers false.
template <class Step>
jboolean stepCall(const char* name, CallKind kind, TripletStates sends, Step step) {
    bool succeeded = false;
    runSessionCall(name, kind, sends, [&succeeded, &step] { succeeded = step(); });
    return succeeded ? JNI_TRUE : JNI_FALSE;
}

#endif
