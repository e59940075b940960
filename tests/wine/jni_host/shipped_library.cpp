#include "shipped_library.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "host_environment.h"

namespace host {
namespace {

constexpr char kNativePrefix[] = "Java_QZ_korvel_twain_TwainEx_";

[[noreturn]] void cannot(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
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
    using OnLoad = jint(JNICALL*)(JavaVM*, void*);
    const auto onLoad =
        reinterpret_cast<OnLoad>(reinterpret_cast<void (*)()>(exported("JNI_OnLoad")));
    // The hook runs as the native of System.load that calls it: its local references end with it.
    NativeFrame frame;
    onLoadVersion_ = onLoad(javaVm(), nullptr);
    if (Object* thrown = frame.thrown()) {
        ADD_FAILURE() << "JNI_OnLoad threw " << thrown->className << ": " << thrown->message;
    }
}

FARPROC ShippedLibrary::exported(const char* name) const {
    const FARPROC function = GetProcAddress(module_, name);
    if (function == nullptr) {
        cannot(path_ + " exports no " + name);
    }
    return function;
}

template <typename Result, typename... Arguments>
Result ShippedLibrary::call(const char* method, Arguments... arguments) {
    using Native = Result(JNICALL*)(JNIEnv*, jclass, Arguments...);
    const auto native = reinterpret_cast<Native>(
        reinterpret_cast<void (*)()>(exported((kNativePrefix + std::string(method)).c_str())));
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
    using Native = jboolean(JNICALL*)(JNIEnv*, jclass, jint, jint, jstring, jstring, jstring);
    const auto native = reinterpret_cast<Native>(
        reinterpret_cast<void (*)()>(exported("Java_QZ_korvel_twain_TwainEx_register")));
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
    using Native = jboolean(JNICALL*)(JNIEnv*, jclass, jobject);
    const auto native = reinterpret_cast<Native>(
        reinterpret_cast<void (*)()>(exported("Java_QZ_korvel_twain_TwainEx_acquireImage")));
    NativeFrame frame;
    const auto twainEx =
        static_cast<jclass>(frame.argument(classObject("QZ/korvel/twain/TwainEx")));
    const jboolean result = native(frame.env(), twainEx, frame.argument(consumer));
    return {result, frame.thrown()};
}

void ShippedLibrary::onUnload() {
    using OnUnload = void(JNICALL*)(JavaVM*, void*);
    const auto hook =
        reinterpret_cast<OnUnload>(reinterpret_cast<void (*)()>(exported("JNI_OnUnload")));
    NativeFrame frame;
    hook(javaVm(), nullptr);
}

}  // namespace host
