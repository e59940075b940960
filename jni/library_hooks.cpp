// What the VM calls when it loads and unloads the library.
#include <jni.h>

#include "jni/java_thread_names.h"
#include "jni/registered_natives.h"
#include "session/lifecycle.h"
#include "session/native_calls.h"
#include "session/native_guard.h"
#include "trace/trace.h"

extern "C" {

// An exception left pending here is what the VM's System.load throws.
JNIEXPORT jint JNICALL JNI_OnLoad(JavaVM* vm, void*) {
    JNIEnv* env = nullptr;
    if (vm == nullptr || vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_2) != JNI_OK) {
        return JNI_ERR;
    }
    return guardedNative(env, "JNI_OnLoad", jint{JNI_VERSION_1_2}, [vm, env] {
        nameTraceThreadsFrom(vm);
        startTraceFromEnvironment();
        registerNatives(env);
        return jint{JNI_VERSION_1_2};
    });
}

// The session must not outlive the library: the cascade takes it down from wherever it is. It
// follows the thread rules of every call: an owner that is still there and not waiting keeps its
// session, since a source torn down from another thread could leave its windows running code
// that is about to go. Nothing may be thrown from here, and no one is left to tell.
JNIEXPORT void JNICALL JNI_OnUnload(JavaVM*, void*) {
    guardedNative(nullptr, "JNI_OnUnload", [] {
        stepCall("JNI_OnUnload", CallKind::Teardown, kUnregisterStates, unregister);
    });
}

}  // extern "C"
