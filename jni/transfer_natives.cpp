#include "jni/transfer_natives.h"

#include "session/native_guard.h"
#include "session/transfer_failure.h"

jlong JNICALL transferFailureNative(JNIEnv* env, jclass) {
    return guardedNative(env, "transferFailure", jlong{0}, [] { return transferFailure(); });
}
