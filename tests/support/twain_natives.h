// The native methods of TwainEx that C++ tests call directly, as the VM would: each takes the
// session lock itself. None of these uses the JNI environment, so tests pass null for it.
#ifndef SCANLINK_TESTS_TWAIN_NATIVES_H
#define SCANLINK_TESTS_TWAIN_NATIVES_H

#include <jni.h>

extern "C" {
jint Java_QZ_korvel_twain_TwainEx_getState(JNIEnv*, jclass);
jshort Java_QZ_korvel_twain_TwainEx_getResultCode(JNIEnv*, jclass);
jshort Java_QZ_korvel_twain_TwainEx_getConditionCode(JNIEnv*, jclass);
jboolean Java_QZ_korvel_twain_TwainEx_selectSource(JNIEnv*, jclass);
jboolean Java_QZ_korvel_twain_TwainEx_openSource(JNIEnv*, jclass);
jboolean Java_QZ_korvel_twain_TwainEx_prepareTransfer(JNIEnv*, jclass);
jboolean Java_QZ_korvel_twain_TwainEx_stopTransfer(JNIEnv*, jclass);
jboolean Java_QZ_korvel_twain_TwainEx_closeSource(JNIEnv*, jclass);
jboolean Java_QZ_korvel_twain_TwainEx_unregister(JNIEnv*, jclass);
jboolean Java_QZ_korvel_twain_TwainEx_setVisible(JNIEnv*, jclass, jboolean);
jboolean Java_QZ_korvel_twain_TwainEx_getVisible(JNIEnv*, jclass);
jdouble Java_QZ_korvel_twain_TwainEx_getXResolution(JNIEnv*, jclass);
jboolean Java_QZ_korvel_twain_TwainEx_setXResolution(JNIEnv*, jclass, jdouble);
jboolean Java_QZ_korvel_twain_TwainEx_isFeederLoaded(JNIEnv*, jclass);
jboolean Java_QZ_korvel_twain_TwainEx_setPixelType(JNIEnv*, jclass, jshort);
jboolean Java_QZ_korvel_twain_TwainEx_setFeederEnabled(JNIEnv*, jclass, jboolean);
jboolean Java_QZ_korvel_twain_TwainEx_setTransferCount(JNIEnv*, jclass, jint);
jboolean Java_QZ_korvel_twain_TwainEx_feedPage(JNIEnv*, jclass);
jboolean Java_QZ_korvel_twain_TwainEx_setFrame(JNIEnv*, jclass, jdouble, jdouble, jdouble, jdouble);
}

#endif
