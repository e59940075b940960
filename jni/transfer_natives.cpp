#include "jni/transfer_natives.h"

#include "session/transfer_failure.h"

jlong JNICALL transferFailureNative(JNIEnv*, jclass) { return transferFailure(); }
