// The one way every native method answers: no C++ exception may reach the VM, which it would end.
// A failed allocation becomes an OutOfMemoryError, any other exception a RuntimeException, each
// naming the method; the method then answers its failure value. An exception that the VM already
// has pending stays the one the caller sees.
#ifndef SCANLINK_SESSION_NATIVE_GUARD_H
#define SCANLINK_SESSION_NATIVE_GUARD_H

#include <jni.h>

#include <exception>
#include <new>

// Throws the Java error for the C++ exception that ended the native method `name`; `what` is the
// exception's text, null for one that is no std::exception.
void throwForNative(JNIEnv* env, const char* name, bool outOfMemory, const char* what) noexcept;

template <class Result, class Body>
Result guardedNative(JNIEnv* env, const char* name, Result failed, Body body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc& e) {
        throwForNative(env, name, true, e.what());
    } catch (const std::exception& e) {
        throwForNative(env, name, false, e.what());
    } catch (...) {
        throwForNative(env, name, false, nullptr);
    }
    return failed;
}

// For a method that answers nothing.
template <class Body>
void guardedNative(JNIEnv* env, const char* name, Body body) noexcept {
    guardedNative(env, name, 0, [&body] {
        body();
        return 0;
    });
}

#endif
