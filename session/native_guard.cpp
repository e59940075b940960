#include "session/native_guard.h"

#include <cstdio>

void throwForNative(JNIEnv* env, const char* name, bool outOfMemory, const char* what) noexcept {
    // Without a VM (the library's own tests call the natives directly) there is no one to tell.
    if (env == nullptr || env->ExceptionCheck()) {
        return;
    }
    char message[512];
    std::snprintf(message, sizeof(message), "scanlink32: %s failed: %s", name,
                  outOfMemory ? "the library ran out of memory"
                  : what      ? what
                              : "an unknown exception");
    const jclass type =
        env->FindClass(outOfMemory ? "java/lang/OutOfMemoryError" : "java/lang/RuntimeException");
    if (type != nullptr) {
        env->ThrowNew(type, message);
        env->DeleteLocalRef(type);
    }
}
