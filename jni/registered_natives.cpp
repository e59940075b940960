#include "jni/registered_natives.h"

#include <iterator>
#include <string>

#include "jni/capability_natives.h"
#include "jni/frame_natives.h"
#include "jni/source_natives.h"
#include "jni/transfer_natives.h"
#include "session/jstring.h"
#include "session/refusal.h"
#include "session/session_thread.h"
#include "trace/trace.h"

namespace {

// QZ.korvel.twain.PageWait.cancel(): ends the session thread's wait for a page from any thread,
// sending nothing from the caller's.
void JNICALL cancelWait(JNIEnv*, jclass) { cancelPageWait(); }

// QZ.korvel.twain.Trace.startTrace(String) and stopTrace(): the trace is the library's, not the
// session's, so any thread starts and stops it at once. The file's name is in the system's code
// page, as the C library opens it.
jboolean JNICALL startTraceTo(JNIEnv* env, jclass, jstring path) {
    const JString file(env, path);
    return file.get() != nullptr && startTrace(file.get()) ? JNI_TRUE : JNI_FALSE;
}

void JNICALL stopTracing(JNIEnv*, jclass) { stopTrace(); }

// QZ.korvel.twain.SessionStates.lastRefusal(): why the session last refused a call, or null.
jstring JNICALL lastRefusalText(JNIEnv* env, jclass) {
    const std::string text = lastRefusal();
    return text.empty() ? nullptr : env->NewStringUTF(text.c_str());
}

struct NativeClass {
    const char* name;
    JNINativeMethod* methods;
    jint count;
};

JNINativeMethod pageWaitMethods[] = {
    {const_cast<char*>("cancel"), const_cast<char*>("()V"), reinterpret_cast<void*>(cancelWait)},
};

JNINativeMethod traceMethods[] = {
    {const_cast<char*>("startTrace"), const_cast<char*>("(Ljava/lang/String;)Z"),
     reinterpret_cast<void*>(startTraceTo)},
    {const_cast<char*>("stopTrace"), const_cast<char*>("()V"),
     reinterpret_cast<void*>(stopTracing)},
};

JNINativeMethod deviceMethods[] = {
    {const_cast<char*>("listSources"), const_cast<char*>("()[B"),
     reinterpret_cast<void*>(listSourcesNative)},
    {const_cast<char*>("defaultSource"), const_cast<char*>("()[B"),
     reinterpret_cast<void*>(defaultSourceNative)},
    {const_cast<char*>("openSource"), const_cast<char*>("([B)Z"),
     reinterpret_cast<void*>(openSourceNative)},
    {const_cast<char*>("readCapability"), const_cast<char*>("(II)[B"),
     reinterpret_cast<void*>(readCapabilityNative)},
    {const_cast<char*>("setCapability"), const_cast<char*>("(I[B)Z"),
     reinterpret_cast<void*>(setCapabilityNative)},
    {const_cast<char*>("setFractionalFrame"), const_cast<char*>("(DDDD)[B"),
     reinterpret_cast<void*>(setFractionalFrameNative)},
    {const_cast<char*>("transferFailure"), const_cast<char*>("()J"),
     reinterpret_cast<void*>(transferFailureNative)},
};

JNINativeMethod sessionStatesMethods[] = {
    {const_cast<char*>("lastRefusal"), const_cast<char*>("()Ljava/lang/String;"),
     reinterpret_cast<void*>(lastRefusalText)},
};

const NativeClass nativeClasses[] = {
    {"QZ/korvel/twain/PageWait", pageWaitMethods, static_cast<jint>(std::size(pageWaitMethods))},
    {"QZ/korvel/twain/Trace", traceMethods, static_cast<jint>(std::size(traceMethods))},
    {"QZ/korvel/twain/DeviceEx", deviceMethods, static_cast<jint>(std::size(deviceMethods))},
    {"QZ/korvel/twain/SessionStates", sessionStatesMethods,
     static_cast<jint>(std::size(sessionStatesMethods))},
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
