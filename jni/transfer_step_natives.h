// Native methods of QZ.korvel.twain.TransferNatives: a transfer one step at a time, so that a
// program can check what a source does at each state and cancel there.
#ifndef SCANLINK_JNI_TRANSFER_STEP_NATIVES_H
#define SCANLINK_JNI_TRANSFER_STEP_NATIVES_H

#include <jni.h>

// Waits as acquireImage does, on the thread that enabled the source, until the source announces a
// transfer, and leaves it announced: true in state 6.
jboolean JNICALL awaitTransferReadyNative(JNIEnv*, jclass);
// DAT_IMAGEINFO in state 6 or 7: XResolution and YResolution as Whole << 16 | Frac,
// ImageWidth and ImageLength (32 bits each), then SamplesPerPixel, the eight BitsPerSample,
// BitsPerPixel, Planar, PixelType and Compression (16 bits each); null when the source refused.
jbyteArray JNICALL imageInfoNative(JNIEnv*, jclass);
// Takes the announced page by native transfer and drops it, leaving state 7: true there.
jboolean JNICALL transferWithoutEndingNative(JNIEnv*, jclass);
// DAT_PENDINGXFERS / MSG_ENDXFER alone in state 7, leaving any transfers still pending announced:
// the Count the source reports, or -1 when it refused.
jint JNICALL endTransferNative(JNIEnv*, jclass);

#endif
