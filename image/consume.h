// Delivery of one transferred image to a Java ImageConsumer.
#ifndef SCANLINK_IMAGE_CONSUME_H
#define SCANLINK_IMAGE_CONSUME_H

#include <jni.h>

#include <cstddef>

// Decodes the packed DIB at `dib` (the locked block, `blockSize` bytes long; null when the lock
// failed) and drives `consumer` through the ImageConsumer protocol. JNI_TRUE once imageComplete
// has returned; JNI_FALSE with a Java exception pending after any failure.
jboolean deliverImage(JNIEnv* env, jobject consumer, const void* dib, std::size_t blockSize);

#endif
