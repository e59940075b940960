// Native method of QZ.korvel.twain.DeviceEx for the scan frame to the fraction of a unit.
#ifndef SCANLINK_JNI_FRAME_NATIVES_H
#define SCANLINK_JNI_FRAME_NATIVES_H

#include <jni.h>

// Sends the frame with each edge the nearest 1/65536 of a unit (sendFrame), then reads back what
// the source took (readFrame): 0 and the four edges, each as a signed count of 1/65536, when both
// requests succeeded; 1 alone when the source took the frame but did not tell it back; null when
// the source refused it. The codes tell the request that failed. An edge that no TW_FIX32 holds
// is refused with an IllegalArgumentException before anything is sent.
jbyteArray JNICALL setFractionalFrameNative(JNIEnv* env, jclass, jdouble left, jdouble top,
                                            jdouble right, jdouble bottom);

#endif
