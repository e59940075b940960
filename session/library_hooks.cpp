// What the VM calls when it loads and unloads the library.
#include <jni.h>

#include "session/lifecycle.h"
#include "session/session_lock.h"

extern "C" {

JNIEXPORT jint JNICALL JNI_OnLoad(JavaVM*, void*) { return JNI_VERSION_1_2; }

// The session must not outlive the library: the cascade takes it down from wherever it is.
JNIEXPORT void JNICALL JNI_OnUnload(JavaVM*, void*) {
    SessionLock lock;
    unregister();
}

}  // extern "C"
