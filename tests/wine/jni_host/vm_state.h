// The VM's bookkeeping that vm.cpp and the JNI functions share: one Env per thread, with its
// frames of local references, its pending exception and the elements it handed out.
#ifndef SCANLINK_TESTS_JNI_HOST_VM_STATE_H
#define SCANLINK_TESTS_JNI_HOST_VM_STATE_H

#include <jni.h>

#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "java_objects.h"

namespace host {

struct Env;

// A reference handed to the library. Never freed, so a stale one is still recognised as such.
struct Ref {
    Object* target;
    Env* owner;
    std::size_t frame;
    bool live;
    bool counted;  // an argument of a native call does not count against its capacity
};

// Elements of an array or the characters of a string, handed out as a copy until released.
struct Pin {
    Object* object;
    void* elements;
    std::size_t frame;
};

struct Env {
    JNIEnv_ jni;
    std::thread::id thread;
    Object* pending = nullptr;
    // Frame 0 holds what the host itself keeps; each native call pushes one.
    std::vector<std::size_t> liveLocals{0};
    std::vector<Pin> pins;
};

// Everything above is guarded by this lock; no object's code runs while it is held.
std::recursive_mutex& vmMutex();

// The Env of a JNIEnv from the function table, checked against the calling thread and the
// pending exception (unless the function is one JNI allows then). Aborts on an unknown JNIEnv.
Env& enter(JNIEnv* env, const char* function, bool allowedWhilePending = false);

jobject newLocal(Env& env, Object* object, bool counted = true);
// The object behind a reference of this thread, or a fault and null.
Object* target(Env& env, jobject ref, const char* function);
void deleteLocal(Env& env, jobject ref);

const JNINativeInterface_* jniFunctions();
void recordRegisteredNative(const char* className, const JNINativeMethod& method);

}  // namespace host

#endif
