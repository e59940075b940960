// Native methods of the binding's classes other than TwainEx. They are registered when the VM loads
// the library, so that the library exports nothing but TwainEx's methods and the two hooks.
#ifndef SCANLINK_JNI_REGISTERED_NATIVES_H
#define SCANLINK_JNI_REGISTERED_NATIVES_H

#include <jni.h>

// Registers them with each class that the VM finds; a binding without such a class loses only
// those methods.
void registerNatives(JavaVM* vm);

#endif
