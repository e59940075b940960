// Java byte and int arrays made for one delivery, and access to their elements that is released
// (mode 0: copied back and freed) by its owner.
#ifndef SCANLINK_IMAGE_JAVA_ARRAYS_H
#define SCANLINK_IMAGE_JAVA_ARRAYS_H

#include <jni.h>

#include "image/java_calls.h"
#include "image/local_ref.h"
#include "image/messages.h"

template <typename Array>
struct JavaArrayKind;

template <>
struct JavaArrayKind<jbyteArray> {
    using Element = jbyte;
    static jbyteArray make(JNIEnv* env, jsize length) { return env->NewByteArray(length); }
    static jbyte* elements(JNIEnv* env, jbyteArray array) {
        return env->GetByteArrayElements(array, nullptr);
    }
    static void release(JNIEnv* env, jbyteArray array, jbyte* elements) {
        env->ReleaseByteArrayElements(array, elements, 0);
    }
};

template <>
struct JavaArrayKind<jintArray> {
    using Element = jint;
    static jintArray make(JNIEnv* env, jsize length) { return env->NewIntArray(length); }
    static jint* elements(JNIEnv* env, jintArray array) {
        return env->GetIntArrayElements(array, nullptr);
    }
    static void release(JNIEnv* env, jintArray array, jint* elements) {
        env->ReleaseIntArrayElements(array, elements, 0);
    }
};

// The VM answers null only with its exception pending (a negative length, no memory), which
// then ends the delivery. Should it ever answer null with nothing pending, the image is refused
// rather than delivered as zeros.
template <typename T>
T requireFromJava(JNIEnv* env, T result) {
    checkJavaException(env);
    if (result == nullptr) {
        throw MessageFailure{kInvalidImage, "the VM gave no array and no exception"};
    }
    return result;
}

template <typename Array>
LocalRef<Array> newJavaArray(JNIEnv* env, jsize length) {
    return LocalRef<Array>(env, requireFromJava(env, JavaArrayKind<Array>::make(env, length)));
}

template <typename Array>
class ArrayElements {
  public:
    using Element = typename JavaArrayKind<Array>::Element;

    ArrayElements(JNIEnv* env, Array array)
        : env_(env),
          array_(array),
          elements_(requireFromJava(env, JavaArrayKind<Array>::elements(env, array))) {}
    ~ArrayElements() { release(); }
    ArrayElements(const ArrayElements&) = delete;
    ArrayElements& operator=(const ArrayElements&) = delete;

    Element* get() const { return elements_; }

    // Hands the elements back now, for callers that must release in a given order.
    void release() {
        if (elements_ != nullptr) {
            JavaArrayKind<Array>::release(env_, array_, elements_);
            elements_ = nullptr;
        }
    }

  private:
    JNIEnv* env_;
    Array array_;
    Element* elements_;
};

#endif
