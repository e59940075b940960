// Native methods of QZ.korvel.twain.DeviceEx for the sources the manager knows. Each identity
// travels as a record (java_record.h): Id, version major, minor, language and country, version
// info, protocol major and minor, supported groups, manufacturer, product family, product name.
#ifndef SCANLINK_JNI_SOURCE_NATIVES_H
#define SCANLINK_JNI_SOURCE_NATIVES_H

#include <jni.h>

// The count of sources, then each identity; null when the list could not be had.
jbyteArray JNICALL listSourcesNative(JNIEnv* env, jclass);
// The default source's identity, or null.
jbyteArray JNICALL defaultSourceNative(JNIEnv* env, jclass);
// Opens the source named by a record of its Id, manufacturer, product family and product name, as
// openSource opens the default one. An unreadable record is refused with an
// IllegalArgumentException before anything is sent.
jboolean JNICALL openSourceNative(JNIEnv* env, jclass, jbyteArray identity);

#endif
