// The names of Java threads, for the trace: the VM that loaded the library is asked, once per
// thread, what the calling thread is called.
#ifndef SCANLINK_JNI_JAVA_THREAD_NAMES_H
#define SCANLINK_JNI_JAVA_THREAD_NAMES_H

#include <jni.h>

// From now on the trace names the threads of this VM.
void nameTraceThreadsFrom(JavaVM* vm);

#endif
