// Native methods of QZ.korvel.twain.DeviceEx for capabilities by their number, with containers
// as records (container_record.h).
#ifndef SCANLINK_JNI_CAPABILITY_NATIVES_H
#define SCANLINK_JNI_CAPABILITY_NATIVES_H

#include <jni.h>

// A read (MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_RESET or MSG_QUERYSUPPORT) of a
// capability: 0 and the container, or 1 and why the source's container was refused; null when
// the request failed, which the codes tell. Another message is refused with an
// IllegalArgumentException before anything is sent.
jbyteArray JNICALL readCapabilityNative(JNIEnv* env, jclass, jint capability, jint msg);

// MSG_SET with the container the record describes. A container that cannot be sent (see
// layContainer) is refused with an IllegalArgumentException that says why, before anything is
// sent.
jboolean JNICALL setCapabilityNative(JNIEnv* env, jclass, jint capability, jbyteArray container);

#endif
