// The shipped library as a Java VM uses it: loaded by LoadLibrary from its full path, started by
// JNI_OnLoad with the host's JavaVM, and its natives called __stdcall (JNICALL) by the names a VM
// of this width looks up, each in a native frame of the calling thread (vm.h), with the class
// TwainEx as their jclass.
#ifndef SCANLINK_TESTS_JNI_HOST_SHIPPED_LIBRARY_H
#define SCANLINK_TESTS_JNI_HOST_SHIPPED_LIBRARY_H

#include <jni.h>
#include <windows.h>

#include <optional>
#include <string>

#include "java_objects.h"
#include "vm.h"

namespace host {

// What a native method gave back to Java: its value, or the exception it threw.
template <typename Result>
struct Outcome {
    Result value;
    Object* thrown;
};

class ShippedLibrary {
  public:
    // Loads the library that the environment variable SCANLINK_LIBRARY names (a host path), as the
    // VM loads it once per process, and runs its JNI_OnLoad.
    static ShippedLibrary& instance();

    HMODULE module() const { return module_; }
    const std::string& path() const { return path_; }
    jint onLoadVersion() const { return onLoadVersion_; }

    jint getState();
    jshort getResultCode();
    jshort getConditionCode();
    // Strings are Java strings; a null one stands for a null argument.
    jboolean registerApplication(jint major, jint minor, Object* manufacturer,
                                 Object* productFamily, Object* productName);
    // A native of the class that takes nothing and answers true or false: openSource,
    // closeSource, stopTransfer, unregister, prepareTransfer, ...
    jboolean step(const char* name);
    jboolean setVisible(jboolean visible);
    jboolean setPixelType(jshort type);
    jboolean setResolution(jdouble dotsPerInch);
    Outcome<jboolean> acquireImage(Object* consumer);
    // What the VM calls when it unloads the library.
    void onUnload();

  private:
    ShippedLibrary();
    // The entry point of that name and type, found as the VM finds it; aborts when there is none.
    template <typename Function>
    Function exported(const std::string& name) const;
    template <typename Result, typename... Arguments>
    Result call(const char* method, Arguments... arguments);

    std::string path_;
    HMODULE module_ = nullptr;
    jint onLoadVersion_ = 0;
};

}  // namespace host

#endif
