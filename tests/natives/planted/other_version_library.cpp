// A library that answers the binding's version question with another version, as a library of
// another build would: its load hook registers only that native.
#include <jni.h>

namespace {

jstring JNICALL otherVersion(JNIEnv* env, jclass) { return env->NewStringUTF("0.0.1"); }

}  // namespace

extern "C" JNIEXPORT jint JNICALL JNI_OnLoad(JavaVM* vm, void*) {
    JNIEnv* env = nullptr;
    if (vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_2) != JNI_OK) {
        return JNI_ERR;
    }
    JNINativeMethod library = {const_cast<char*>("library"),
                               const_cast<char*>("()Ljava/lang/String;"),
                               reinterpret_cast<void*>(otherVersion)};
    const jclass version = env->FindClass("QZ/korvel/twain/NativeVersion");
    if (version == nullptr) {
        return JNI_ERR;
    }
    env->RegisterNatives(version, &library, 1);
    env->DeleteLocalRef(version);
    return JNI_VERSION_1_2;
}
