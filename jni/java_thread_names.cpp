#include "jni/java_thread_names.h"

#include <atomic>
#include <cstring>

#include "image/local_ref.h"
#include "trace/trace.h"

namespace {

std::atomic<JavaVM*> loadingVm = nullptr;

// Thread.currentThread().getName(), asked only of a thread that the VM knows and that has no
// exception pending, since a pending exception allows no call into Java.
ThreadName javaThreadName(char* name, std::size_t size) {
    JavaVM* vm = loadingVm.load();
    JNIEnv* env = nullptr;
    if (vm == nullptr || vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_2) != JNI_OK) {
        return ThreadName::NotJava;
    }
    if (env->ExceptionCheck()) {
        return ThreadName::NotNow;
    }
    const LocalRef<jclass> threadClass(env, env->FindClass("java/lang/Thread"));
    const jmethodID current =
        threadClass.get()
            ? env->GetStaticMethodID(threadClass.get(), "currentThread", "()Ljava/lang/Thread;")
            : nullptr;
    const jmethodID getName =
        current ? env->GetMethodID(threadClass.get(), "getName", "()Ljava/lang/String;") : nullptr;
    const LocalRef<jobject> thread(
        env, getName ? env->CallStaticObjectMethod(threadClass.get(), current) : nullptr);
    const LocalRef<jstring> text(
        env, !env->ExceptionCheck() && thread.get()
                 ? static_cast<jstring>(env->CallObjectMethod(thread.get(), getName))
                 : nullptr);
    const char* chars = !env->ExceptionCheck() && text.get()
                            ? env->GetStringUTFChars(text.get(), nullptr)
                            : nullptr;
    if (chars == nullptr) {
        // Whatever failed on the way threw into this thread alone, which had nothing pending.
        env->ExceptionClear();
        return ThreadName::NotNow;
    }
    std::strncpy(name, chars, size - 1);
    name[size - 1] = '\0';
    env->ReleaseStringUTFChars(text.get(), chars);
    return ThreadName::Named;
}

}  // namespace

void nameTraceThreadsFrom(JavaVM* vm) {
    loadingVm = vm;
    traceThreadNamesFrom(javaThreadName);
}
