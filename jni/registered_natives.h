// Native methods of the binding's classes other than TwainEx. They are registered when the VM loads
// the library, so that the library exports nothing but TwainEx's methods and the two hooks.
//
// Each class they are registered with has no static initialiser. Finding a class makes the VM
// initialise it, and the load hook runs while the thread that loads the library holds TwainEx's
// initialisation: a class whose initialiser waited for TwainEx, itself being initialised by
// another thread, would wait for this thread while this thread waits for it.
#ifndef SCANLINK_JNI_REGISTERED_NATIVES_H
#define SCANLINK_JNI_REGISTERED_NATIVES_H

#include <jni.h>

// Registers them with each class that the VM finds; a binding without such a class loses only
// those methods.
void registerNatives(JNIEnv* env);

#endif
