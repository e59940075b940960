#include "jni/source_natives.h"

#include "jni/device_records.h"
#include "jni/java_record.h"
#include "session/native_guard.h"

jbyteArray JNICALL listSourcesNative(JNIEnv* env, jclass) {
    return guardedNative(env, "listSources", jbyteArray{}, [env]() -> jbyteArray {
        const auto record = sourcesRecord();
        return record ? toJavaBytes(env, *record) : nullptr;
    });
}

jbyteArray JNICALL defaultSourceNative(JNIEnv* env, jclass) {
    return guardedNative(env, "defaultSource", jbyteArray{}, [env]() -> jbyteArray {
        const auto record = defaultSourceRecord();
        return record ? toJavaBytes(env, *record) : nullptr;
    });
}

jboolean JNICALL openSourceNative(JNIEnv* env, jclass, jbyteArray identity) {
    return guardedNative(env, "openSource", jboolean{JNI_FALSE}, [env, identity] {
        auto bytes = fromJavaBytes(env, identity);
        const auto opened = openSourceByRecord(bytes ? std::move(*bytes) : RecordBytes{});
        if (!opened.refusal.empty()) {
            throwIllegalArgument(env, opened.refusal.c_str());
        }
        return opened.value ? JNI_TRUE : JNI_FALSE;
    });
}
