// The calls of the image delivery into Java. Each one checks for a pending Java exception after
// every JNI call and raises it as a JavaFailure, which only deliverImage catches.
#ifndef SCANLINK_IMAGE_JAVA_CALLS_H
#define SCANLINK_IMAGE_JAVA_CALLS_H

#include <jni.h>

#include "image/local_ref.h"

// A Java exception that the VM reported; it stays pending. The handler owns the reference.
struct JavaFailure {
    jthrowable throwable;
};

// Returns when no exception is pending; otherwise throws JavaFailure with it.
void checkJavaException(JNIEnv* env);

// A void method looked up on the object's run-time class at its first call, then reused for the
// rest of one delivery.
struct JavaMethod {
    const char* name;
    const char* signature;
    jmethodID id = nullptr;
};

// The variadic arguments must have exactly the JNI types of the signature (jint, jobject, ...).
// A class that cannot be found with nothing pending gives a null object.
LocalRef<jobject> newJavaObject(JNIEnv* env, const char* className, const char* signature, ...);
void callVoid(JNIEnv* env, JavaMethod& method, jobject object, ...);

// A static int field of java.awt.image.ImageConsumer, read afresh on every call.
jint readConsumerConstant(JNIEnv* env, const char* fieldName);

#endif
