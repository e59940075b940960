#include "image/java_calls.h"

#include <cstdarg>

namespace {

constexpr char kImageConsumerClass[] = "java/awt/image/ImageConsumer";

}  // namespace

void checkJavaException(JNIEnv* env) {
    const jthrowable pending = env->ExceptionOccurred();
    if (pending != nullptr) {
        throw JavaFailure{pending};
    }
}

LocalRef<jobject> newJavaObject(JNIEnv* env, const char* className, const char* signature, ...) {
    const LocalRef<jclass> javaClass(env, env->FindClass(className));
    checkJavaException(env);
    if (javaClass.get() == nullptr) {
        return LocalRef<jobject>(env, nullptr);
    }
    const jmethodID constructor = env->GetMethodID(javaClass.get(), "<init>", signature);
    checkJavaException(env);
    va_list args;
    va_start(args, signature);
    LocalRef<jobject> object(env, env->NewObjectV(javaClass.get(), constructor, args));
    va_end(args);
    checkJavaException(env);
    return object;
}

void callVoid(JNIEnv* env, JavaMethod& method, jobject object, ...) {
    if (method.id == nullptr) {
        const LocalRef<jclass> objectClass(env, env->GetObjectClass(object));
        checkJavaException(env);
        if (objectClass.get() == nullptr) {
            return;
        }
        method.id = env->GetMethodID(objectClass.get(), method.name, method.signature);
        checkJavaException(env);
    }
    va_list args;
    va_start(args, object);
    env->CallVoidMethodV(object, method.id, args);
    va_end(args);
    checkJavaException(env);
}

jint readConsumerConstant(JNIEnv* env, const char* fieldName) {
    const LocalRef<jclass> consumerClass(env, env->FindClass(kImageConsumerClass));
    checkJavaException(env);
    // FindClass gives null only with an exception pending; should it not, the constant adds
    // nothing to the hints rather than crashing the VM.
    if (consumerClass.get() == nullptr) {
        return 0;
    }
    const jfieldID field = env->GetStaticFieldID(consumerClass.get(), fieldName, "I");
    checkJavaException(env);
    const jint value = env->GetStaticIntField(consumerClass.get(), field);
    checkJavaException(env);
    return value;
}
