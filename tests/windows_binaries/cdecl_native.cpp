// A native method exported without JNICALL: __cdecl, so a Windows VM, which calls natives as
// __stdcall, would find its arguments still on the stack afterwards. The check must refuse it.
#include <jni.h>

extern "C" JNIEXPORT jint Java_QZ_korvel_twain_TwainEx_getState(JNIEnv*, jclass) { return 0; }
