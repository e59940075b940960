#include "session/registered_natives.h"

#include <iterator>

#include "session/session_thread.h"

namespace {

// QZ.korvel.twain.PageWait.cancel(): ends the session thread's wait for a page from any thread,
// sending nothing from the caller's.
void JNICALL cancelWait(JNIEnv*, jclass) { cancelPageWait(); }

struct NativeClass {
    const char* name;
    JNINativeMethod* methods;
    jint count;
};

JNINativeMethod pageWaitMethods[] = {
    {const_cast<char*>("cancel"), const_cast<char*>("()V"), reinterpret_cast<void*>(cancelWait)},
};

const NativeClass nativeClasses[] = {
    {"QZ/korvel/twain/PageWait", pageWaitMethods, static_cast<jint>(std::size(pageWaitMethods))},
};

}  // namespace

void registerNatives(JavaVM* vm) {
    JNIEnv* env = nullptr;
    if (vm == nullptr || vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_2) != JNI_OK) {
        return;
    }
    for (const NativeClass& nativeClass : nativeClasses) {
        const jclass found = env->FindClass(nativeClass.name);
        if (found == nullptr) {
            env->ExceptionClear();
            continue;
        }
        if (env->RegisterNatives(found, nativeClass.methods, nativeClass.count) != JNI_OK) {
            env->ExceptionClear();
        }
        env->DeleteLocalRef(found);
    }
}
