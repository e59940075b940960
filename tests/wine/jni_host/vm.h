// The Java VM that the host plays for the library: a JavaVM, and a JNIEnv for each thread that
// uses it, whose function table holds only the functions the library may call. Every other slot
// aborts the process with the slot's number. What a VM would check is checked, and each breach
// is a fault, which fails the running test: a reference that is unknown, deleted, of another
// thread or of a native call that has ended; a call other than the few JNI allows while an
// exception is pending; elements of an array or a string never released by the end of the native
// call that took them; more local references at once than the 16 a VM guarantees a native call.
#ifndef SCANLINK_TESTS_JNI_HOST_VM_H
#define SCANLINK_TESTS_JNI_HOST_VM_H

#include <jni.h>

#include <string>
#include <vector>

#include "java_objects.h"

namespace host {

// The local references a native call may hold at once without asking for more.
inline constexpr std::size_t kLocalCapacity = 16;

JavaVM* javaVm();

// The thread's JNIEnv; a thread is attached at its first use, as a Java thread always is.
JNIEnv* currentEnv();

// A breach of what JNI allows: recorded, and a failure of the running test unless a
// FaultRecorder is collecting them.
void fault(const std::string& what);

// Collects the faults of its lifetime instead of failing the test, for tests of the checks.
class FaultRecorder {
  public:
    FaultRecorder();
    ~FaultRecorder();
    FaultRecorder(const FaultRecorder&) = delete;
    FaultRecorder& operator=(const FaultRecorder&) = delete;
    std::vector<std::string> take();
};

// The object a reference stands for; a fault and null when it stands for none.
Object* resolve(JNIEnv* env, jobject ref, const char* function);

// One native method call as the VM runs it on this thread: its local references (arguments and
// whatever the method makes) end with it, and it must have released every element it took.
class NativeFrame {
  public:
    NativeFrame();
    ~NativeFrame();
    NativeFrame(const NativeFrame&) = delete;
    NativeFrame& operator=(const NativeFrame&) = delete;

    JNIEnv* env() const { return env_; }
    // An argument: a local reference of this call, or null for a null object.
    jobject argument(Object* object);
    // The exception the native left pending, taken over as Java would throw it; null if none.
    Object* thrown();

  private:
    JNIEnv* env_;
};

// The natives that JNI_OnLoad registered, in order.
struct RegisteredNative {
    std::string className;
    std::string name;
    std::string signature;
    void* function;
};
std::vector<RegisteredNative> registeredNatives();

}  // namespace host

#endif
