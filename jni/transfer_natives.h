// Native method of QZ.korvel.twain.DeviceEx for why the last transfer gave no page.
#ifndef SCANLINK_JNI_TRANSFER_NATIVES_H
#define SCANLINK_JNI_TRANSFER_NATIVES_H

#include <jni.h>

// The codes of the last transfer that failed since the source was enabled (transferFailure):
// the result code in bits 16 to 31, the condition code in bits 0 to 15; -1 when none did. It
// sends nothing and answers at once, on any thread.
jlong JNICALL transferFailureNative(JNIEnv*, jclass);

#endif
