// What the settings tests share: the natives called as the VM calls them (they use neither the
// environment nor the class), a direct line to the source for requests the library never makes,
// and the virtual source's capability knobs.
#ifndef SCANLINK_TESTS_SETTINGS_SUPPORT_H
#define SCANLINK_TESTS_SETTINGS_SUPPORT_H

#include <jni.h>

#include <cstdint>
#include <string>
#include <vector>

#include "scenario.h"

extern "C" {
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setFrame(JNIEnv*, jclass, jdouble, jdouble,
                                                                 jdouble, jdouble);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_clearPage(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_feedPage(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_rewindPage(JNIEnv*, jclass);
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_skipImage(JNIEnv*, jclass);
}

// "ICAP_XRESOLUTION" and "container" set the knob "ICAP_XRESOLUTION.container".
void setCapabilityKnob(const std::string& capability, const std::string& field, int64_t value);

// Registers and opens the default source: state 4.
void openDemoSource();

// What the source answered a capability request with; its container copied, then freed.
struct SourceAnswer {
    TW_UINT16 resultCode = 0;
    TW_UINT16 conditionCode = 0;
    TW_UINT16 conType = 0;
    std::vector<uint8_t> container;

    TW_UINT16 u16(size_t offset) const;
    TW_UINT32 u32(size_t offset) const;
};
SourceAnswer askSource(TW_UINT16 msg, TW_UINT16 capability);

// The image layout the source reports (MSG_GETCURRENT), in its current units.
TW_IMAGELAYOUT currentLayout();

#endif
