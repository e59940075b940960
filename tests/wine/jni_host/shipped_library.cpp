#include "shipped_library.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "host_environment.h"

namespace host {
namespace {

constexpr char kNativePrefix[] = "Java_QZ_korvel_twain_TwainEx_";

[[noreturn]] void cannot(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

// The bytes a caller pushes for the arguments of a function of that type: each is widened to a
// whole number of 4-byte slots, as __stdcall passes it on 32-bit x86.
template <typename Result, typename... Arguments>
constexpr std::size_t argumentBytes(Result(JNICALL*)(Arguments...)) {
    return (((sizeof(Arguments) + 3) / 4 * 4) + ... + 0);
}

// The names under which the VM of this width looks an entry point up, in its order: a 32-bit VM
// first as __stdcall decorates it (_name@N), then by its plain name; a 64-bit VM by its plain name.
std::vector<std::string> lookupNames(const std::string& name, std::size_t bytes) {
    if (sizeof(void*) == 4) {
        return {"_" + name + "@" + std::to_string(bytes), name};
    }
    return {name};
}

}  // namespace

ShippedLibrary& ShippedLibrary::instance() {
    static ShippedLibrary library;
    return library;
}

ShippedLibrary::ShippedLibrary() {
    path_ = hostPathOnDrive("SCANLINK_LIBRARY");
    module_ = LoadLibraryA(path_.c_str());
    if (module_ == nullptr) {
        cannot(path_ + " cannot be loaded (error " + std::to_string(GetLastError()) + ")");
    }
    const auto onLoad = exported<jint(JNICALL*)(JavaVM*, void*)>("JNI_OnLoad");
    // The hook runs as the native of System.load that calls it: its local references end with it.
    NativeFrame frame;
    onLoadVersion_ = onLoad(javaVm(), nullptr);
    if (Object* thrown = frame.thrown()) {
        ADD_FAILURE() << "JNI_OnLoad threw " << thrown->className << ": " << thrown->message;
    }
}

template <typename Function>
Function ShippedLibrary::exported(const std::string& name) const {
    const std::vector<std::string> names = lookupNames(name, argumentBytes(Function{}));
    for (const std::string& candidate : names) {
        if (const FARPROC function = GetProcAddress(module_, candidate.c_str())) {
            return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(function));
        }
    }
    std::string tried;
    for (const std::string& candidate : names) {
        tried += (tried.empty() ? "" : " nor ") + candidate;
    }
    cannot(path_ + " exports neither " + tried);
}

template <typename Result, typename... Arguments>
Result ShippedLibrary::call(const char* method, Arguments... arguments) {
    const auto native = exported<Result(JNICALL*)(JNIEnv*, jclass, Arguments...)>(
        kNativePrefix + std::string(method));
    NativeFrame frame;
    const auto twainEx =
        static_cast<jclass>(frame.argument(classObject("QZ/korvel/twain/TwainEx")));
    const Result result = native(frame.env(), twainEx, arguments...);
    if (Object* thrown = frame.thrown()) {
        ADD_FAILURE() << method << " threw " << thrown->className << ": " << thrown->message;
    }
    return result;
}

jint ShippedLibrary::getState() { return call<jint>("getState"); }

jshort ShippedLibrary::getResultCode() { return call<jshort>("getResultCode"); }

jshort ShippedLibrary::getConditionCode() { return call<jshort>("getConditionCode"); }

jboolean ShippedLibrary::step(const char* name) { return call<jboolean>(name); }

jboolean ShippedLibrary::setVisible(jboolean visible) {
    return call<jboolean>("setVisible", visible);
}

jboolean ShippedLibrary::setPixelType(jshort type) { return call<jboolean>("setPixelType", type); }

jboolean ShippedLibrary::setResolution(jdouble dotsPerInch) {
    return call<jboolean>("setXResolution", dotsPerInch) &&
           call<jboolean>("setYResolution", dotsPerInch);
}

jboolean ShippedLibrary::registerApplication(jint major, jint minor, Object* manufacturer,
                                             Object* productFamily, Object* productName) {
    const auto native =
        exported<jboolean(JNICALL*)(JNIEnv*, jclass, jint, jint, jstring, jstring, jstring)>(
            std::string(kNativePrefix) + "register");
    NativeFrame frame;
    const auto twainEx =
        static_cast<jclass>(frame.argument(classObject("QZ/korvel/twain/TwainEx")));
    const jboolean result = native(frame.env(), twainEx, major, minor,
                                   static_cast<jstring>(frame.argument(manufacturer)),
                                   static_cast<jstring>(frame.argument(productFamily)),
                                   static_cast<jstring>(frame.argument(productName)));
    if (Object* thrown = frame.thrown()) {
        ADD_FAILURE() << "register threw " << thrown->className << ": " << thrown->message;
    }
    return result;
}

Outcome<jboolean> ShippedLibrary::acquireImage(Object* consumer) {
    const auto native = exported<jboolean(JNICALL*)(JNIEnv*, jclass, jobject)>(
        std::string(kNativePrefix) + "acquireImage");
    NativeFrame frame;
    const auto twainEx =
        static_cast<jclass>(frame.argument(classObject("QZ/korvel/twain/TwainEx")));
    const jboolean result = native(frame.env(), twainEx, frame.argument(consumer));
    return {result, frame.thrown()};
}

void ShippedLibrary::onUnload() {
    const auto hook = exported<void(JNICALL*)(JavaVM*, void*)>("JNI_OnUnload");
    NativeFrame frame;
    hook(javaVm(), nullptr);
}

}  // namespace host
