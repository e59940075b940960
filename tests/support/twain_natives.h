// The native methods of TwainEx that C++ tests call directly, as the VM would: each takes the
// session lock itself. None of these uses the JNI environment, so tests pass null for it. Declared
// as the library defines them, __stdcall on 32-bit Windows.
#ifndef SCANLINK_TESTS_TWAIN_NATIVES_H
#define SCANLINK_TESTS_TWAIN_NATIVES_H

#include <jni.h>

extern "C" {
JNIEXPORT jint JNICALL Java_QZ_korvel_twain_TwainEx_getState(JNIEnv*, jclass);
JNIEXPORT jshort JNICALL Java_QZ_korvel_twain_TwainEx_getResultCode(JNIEnv*, jclass);
JNIEXPORT jshort JNICALL Java_QZ_korvel_twain_TwainEx_getConditionCode(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_selectSource(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_openSource(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_prepareTransfer(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_stopTransfer(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_closeSource(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_unregister(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setVisible(JNIEnv*, jclass, jboolean);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_getVisible(JNIEnv*, jclass);
JNIEXPORT jdouble JNICALL Java_QZ_korvel_twain_TwainEx_getXResolution(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setXResolution(JNIEnv*, jclass, jdouble);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_isFeederLoaded(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setPixelType(JNIEnv*, jclass, jshort);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setFeederEnabled(JNIEnv*, jclass, jboolean);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setTransferCount(JNIEnv*, jclass, jint);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_feedPage(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setFrame(JNIEnv*, jclass, jdouble, jdouble,
                                                                 jdouble, jdouble);
}

#endif
