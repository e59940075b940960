// What the VM calls when it loads and unloads the library.
#include <jni.h>

#include "jni/registered_natives.h"
#include "session/lifecycle.h"
#include "session/native_calls.h"
#include "trace/trace.h"

extern "C" {

JNIEXPORT jint JNICALL JNI_OnLoad(JavaVM* vm, void*) {
    startTraceFromEnvironment();
    registerNatives(vm);
    return JNI_VERSION_1_2;
}

// The session must not outlive the library: the cascade takes it down from wherever it is. It
// follows the thread rules of every call: an owner that is still there and not waiting keeps its
// session, since a source torn down from another thread could leave its windows running code
// that is about to go.
JNIEXPORT void JNICALL JNI_OnUnload(JavaVM*, void*) {
    stepCall("JNI_OnUnload", CallKind::Teardown, kUnregisterStates, unregister);
}

}  // extern "C"
