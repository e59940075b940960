#include "vm.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <unordered_set>
#include <utility>

#include "vm_state.h"

namespace host {
namespace {

struct Vm {
    std::deque<Ref> refs;
    std::unordered_set<const Ref*> known;
    std::deque<Env> envs;
    std::map<const JNIEnv*, Env*> byJni;
    std::map<std::thread::id, Env*> byThread;
    std::vector<RegisteredNative> registered;
    int recorders = 0;
    std::vector<std::string> recorded;
};

Vm& vm() {
    static Vm state;
    return state;
}

jint JNICALL getEnv(JavaVM*, void** penv, jint version) {
    if (version < JNI_VERSION_1_1 || version > JNI_VERSION_10) {
        *penv = nullptr;
        return JNI_EVERSION;
    }
    std::lock_guard lock(vmMutex());
    const auto found = vm().byThread.find(std::this_thread::get_id());
    *penv = found == vm().byThread.end() ? nullptr : &found->second->jni;
    return *penv != nullptr ? JNI_OK : JNI_EDETACHED;
}

[[noreturn]] void unsupportedInvocation(std::size_t slot) {
    std::fprintf(stderr, "the library called JavaVM function %zu, which the host has not\n", slot);
    std::fflush(stderr);
    std::abort();
}

template <std::size_t Slot>
void JNICALL invocationTrap() {
    unsupportedInvocation(Slot);
}

template <std::size_t... Slots>
JNIInvokeInterface_ invocationTable(std::index_sequence<Slots...>) {
    JNIInvokeInterface_ table;
    void (*traps[])() = {reinterpret_cast<void (*)()>(&invocationTrap<Slots>)...};
    static_assert(sizeof(traps) == sizeof(table));
    std::memcpy(&table, traps, sizeof(table));
    table.GetEnv = getEnv;
    return table;
}

}  // namespace

std::recursive_mutex& vmMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

JavaVM* javaVm() {
    static const JNIInvokeInterface_ functions =
        invocationTable(std::make_index_sequence<sizeof(JNIInvokeInterface_) / sizeof(void*)>());
    static JavaVM_ javaVm{&functions};
    return &javaVm;
}

JNIEnv* currentEnv() {
    std::lock_guard lock(vmMutex());
    Env*& env = vm().byThread[std::this_thread::get_id()];
    if (env == nullptr) {
        env = &vm().envs.emplace_back();
        env->jni.functions = jniFunctions();
        env->thread = std::this_thread::get_id();
        vm().byJni[&env->jni] = env;
    }
    return &env->jni;
}

void fault(const std::string& what) {
    std::lock_guard lock(vmMutex());
    if (vm().recorders > 0) {
        vm().recorded.push_back(what);
        return;
    }
    ADD_FAILURE() << "JNI fault: " << what;
}

FaultRecorder::FaultRecorder() {
    std::lock_guard lock(vmMutex());
    ++vm().recorders;
}

FaultRecorder::~FaultRecorder() {
    std::lock_guard lock(vmMutex());
    --vm().recorders;
}

std::vector<std::string> FaultRecorder::take() {
    std::lock_guard lock(vmMutex());
    return std::exchange(vm().recorded, {});
}

Env& enter(JNIEnv* jni, const char* function, bool allowedWhilePending) {
    std::lock_guard lock(vmMutex());
    const auto found = vm().byJni.find(jni);
    if (found == vm().byJni.end()) {
        std::fprintf(stderr, "%s called with a JNIEnv the host never gave\n", function);
        std::fflush(stderr);
        std::abort();
    }
    Env& env = *found->second;
    if (env.thread != std::this_thread::get_id()) {
        fault(std::string(function) + " called with the JNIEnv of another thread");
    }
    if (env.pending != nullptr && !allowedWhilePending) {
        fault(std::string(function) + " called with an exception pending (" +
              env.pending->className + ": " + env.pending->message + ")");
    }
    return env;
}

jobject newLocal(Env& env, Object* object, bool counted) {
    if (object == nullptr) {
        return nullptr;
    }
    std::lock_guard lock(vmMutex());
    const std::size_t frame = env.liveLocals.size() - 1;
    Ref& ref = vm().refs.emplace_back(Ref{object, &env, frame, true, counted});
    vm().known.insert(&ref);
    if (counted && ++env.liveLocals.back() > kLocalCapacity && frame > 0) {
        fault("a native call holds " + std::to_string(env.liveLocals.back()) +
              " local references at once; a VM guarantees " + std::to_string(kLocalCapacity));
    }
    return reinterpret_cast<jobject>(&ref);
}

Object* target(Env& env, jobject handle, const char* function) {
    std::lock_guard lock(vmMutex());
    const auto* ref = reinterpret_cast<const Ref*>(handle);
    if (!vm().known.contains(ref)) {
        fault(std::string(function) + " given a reference the VM never made");
        return nullptr;
    }
    if (!ref->live) {
        fault(std::string(function) + " given a reference that was deleted or whose call ended");
        return nullptr;
    }
    if (ref->owner != &env) {
        fault(std::string(function) + " given a local reference of another thread");
        return nullptr;
    }
    return ref->target;
}

void deleteLocal(Env& env, jobject handle) {
    std::lock_guard lock(vmMutex());
    if (target(env, handle, "DeleteLocalRef") == nullptr) {
        return;
    }
    Ref& ref = *reinterpret_cast<Ref*>(handle);
    ref.live = false;
    if (ref.counted) {
        --env.liveLocals[ref.frame];
    }
}

Object* resolve(JNIEnv* jni, jobject ref, const char* function) {
    return ref == nullptr ? nullptr : target(enter(jni, function, true), ref, function);
}

void recordRegisteredNative(const char* className, const JNINativeMethod& method) {
    std::lock_guard lock(vmMutex());
    vm().registered.push_back({className, method.name, method.signature, method.fnPtr});
}

std::vector<RegisteredNative> registeredNatives() {
    std::lock_guard lock(vmMutex());
    return vm().registered;
}

NativeFrame::NativeFrame() : env_(currentEnv()) {
    std::lock_guard lock(vmMutex());
    Env& env = enter(env_, "a native method");
    env.liveLocals.push_back(0);
}

jobject NativeFrame::argument(Object* object) {
    std::lock_guard lock(vmMutex());
    return newLocal(enter(env_, "a native method", true), object, false);
}

Object* NativeFrame::thrown() {
    std::lock_guard lock(vmMutex());
    Env& env = enter(env_, "a native method", true);
    return std::exchange(env.pending, nullptr);
}

NativeFrame::~NativeFrame() {
    std::lock_guard lock(vmMutex());
    Env& env = enter(env_, "the end of a native method", true);
    const std::size_t frame = env.liveLocals.size() - 1;
    for (const Pin& pin : env.pins) {
        if (pin.frame == frame) {
            fault("the elements of a " + pin.object->className +
                  " were never released by the native call that took them");
        }
    }
    std::erase_if(env.pins, [frame](const Pin& pin) { return pin.frame == frame; });
    for (Ref& ref : vm().refs) {
        if (ref.owner == &env && ref.frame == frame) {
            ref.live = false;
        }
    }
    env.liveLocals.pop_back();
}

}  // namespace host
