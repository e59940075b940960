// What the tests through Wine's own manager share. There the library binds Wine's twain_32.dll
// (the prefix's virtual manager is disabled for these programs), and the source is the virtual
// source that Wine's manager loads as sane.ds. The scanner's log holds what
// the source received from that manager.
#ifndef SCANLINK_TESTS_WINE_MANAGER_SUPPORT_H
#define SCANLINK_TESTS_WINE_MANAGER_SUPPORT_H

#include <jni.h>
#include <windows.h>

#include <string>

#include "scenario.h"
#include "twain/twain.h"

// The natives these tests call as the VM does; they use neither the environment nor the class.
extern "C" {
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_getAutoFeed(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setAutoFeed(JNIEnv*, jclass, jboolean);
JNIEXPORT jint JNICALL Java_QZ_korvel_twain_TwainEx_getBitDepth(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setBitDepth(JNIEnv*, jclass, jint);
JNIEXPORT jshort JNICALL Java_QZ_korvel_twain_TwainEx_getPixelType(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setPixelType(JNIEnv*, jclass, jshort);
JNIEXPORT jdouble JNICALL Java_QZ_korvel_twain_TwainEx_getXResolution(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setXResolution(JNIEnv*, jclass, jdouble);
JNIEXPORT jdouble JNICALL Java_QZ_korvel_twain_TwainEx_getYResolution(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setYResolution(JNIEnv*, jclass, jdouble);
JNIEXPORT jdouble JNICALL Java_QZ_korvel_twain_TwainEx_getPhysicalWidth(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_getFeederEnabled(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setFeederEnabled(JNIEnv*, jclass, jboolean);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_isFeederLoaded(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setFrame(JNIEnv*, jclass, jdouble, jdouble,
                                                                 jdouble, jdouble);
}

// The file a module was loaded from.
std::string moduleFile(HMODULE module);
// Whether two paths name the same file, compared as Windows compares file names.
bool sameFile(const std::string& a, const std::string& b);

// Registers and opens the default source through Wine's manager: state 4.
void openThroughWine();

// Waits for one page, which must come, and checks it pixel by pixel against the page the source
// says it scans, decoded by the library's own DIB decoder. The page is freed afterwards.
void expectNextPageMatchesTheChart();

// One wait for a page as the native method runs it.
TW_HANDLE waitForPage();

#endif
