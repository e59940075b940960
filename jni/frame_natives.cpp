#include "jni/frame_natives.h"

#include "jni/device_records.h"
#include "jni/java_record.h"
#include "session/native_guard.h"

jbyteArray JNICALL setFractionalFrameNative(JNIEnv* env, jclass, jdouble left, jdouble top,
                                            jdouble right, jdouble bottom) {
    return guardedNative(env, "setFractionalFrame", jbyteArray{}, [&]() -> jbyteArray {
        const auto answer = frameRecord(left, top, right, bottom);
        if (!answer.refusal.empty()) {
            throwIllegalArgument(env, answer.refusal.c_str());
            return nullptr;
        }
        return answer.value ? toJavaBytes(env, *answer.value) : nullptr;
    });
}
