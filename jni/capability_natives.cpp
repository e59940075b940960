#include "jni/capability_natives.h"

#include "jni/device_records.h"
#include "jni/java_record.h"
#include "session/native_guard.h"

jbyteArray JNICALL readCapabilityNative(JNIEnv* env, jclass, jint capability, jint msg) {
    return guardedNative(env, "readCapability", jbyteArray{}, [&]() -> jbyteArray {
        const auto answer = capabilityRecord(capability, msg);
        if (!answer.refusal.empty()) {
            throwIllegalArgument(env, answer.refusal.c_str());
            return nullptr;
        }
        return answer.value ? toJavaBytes(env, *answer.value) : nullptr;
    });
}

jboolean JNICALL setCapabilityNative(JNIEnv* env, jclass, jint capability, jbyteArray container) {
    return guardedNative(env, "setCapability", jboolean{JNI_FALSE}, [&]() -> jboolean {
        auto bytes = fromJavaBytes(env, container);
        if (!bytes) {
            throwIllegalArgument(env, "no container");
            return JNI_FALSE;
        }
        const auto taken = setCapabilityByRecord(capability, std::move(*bytes));
        if (!taken.refusal.empty()) {
            throwIllegalArgument(env, taken.refusal.c_str());
        }
        return taken.value ? JNI_TRUE : JNI_FALSE;
    });
}
