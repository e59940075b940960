#include "jni/capability_natives.h"

#include "jni/container_record.h"
#include "jni/java_record.h"
#include "session/native_calls.h"
#include "session/native_guard.h"
#include "settings/capability_requests.h"

namespace {

constexpr std::uint8_t kContainerFollows = 0;
constexpr std::uint8_t kFaultFollows = 1;

jbyteArray readCapabilityRecord(JNIEnv* env, jint capability, jint msg) {
    const auto message = static_cast<TW_UINT16>(msg);
    if (msg != message || !isCapabilityRead(message)) {
        throwIllegalArgument(env, "not a capability read");
        return nullptr;
    }
    std::optional<ContainerResult> answer;
    runNativeCall("readCapability", CallKind::Step, kSourceOpenStates,
                  [&] { answer = readCapability(static_cast<TW_UINT16>(capability), message); });
    if (!answer) {
        return nullptr;
    }
    RecordWriter record;
    if (answer->ok()) {
        record.u8(kContainerFollows);
        writeContainer(record, answer->container);
    } else {
        record.u8(kFaultFollows);
        record.text(answer->fault);
    }
    return toJavaBytes(env, record.bytes());
}

jboolean setCapabilityRecord(JNIEnv* env, jint capability, jbyteArray container) {
    auto bytes = fromJavaBytes(env, container);
    if (!bytes) {
        throwIllegalArgument(env, "no container");
        return JNI_FALSE;
    }
    RecordReader record(std::move(*bytes));
    const auto described = readContainerRecord(record);
    if (!described) {
        throwIllegalArgument(env, "not a container");
        return JNI_FALSE;
    }
    const LaidContainer laid = layContainer(*described);
    if (!laid.fault.empty()) {
        throwIllegalArgument(env, laid.fault.c_str());
        return JNI_FALSE;
    }
    return stepCall("setCapability", CallKind::Step, kSourceOpenStates, [&] {
        return setCapability(static_cast<TW_UINT16>(capability), described->conType, laid.bytes);
    });
}

}  // namespace

jbyteArray JNICALL readCapabilityNative(JNIEnv* env, jclass, jint capability, jint msg) {
    return guardedNative(env, "readCapability", jbyteArray{}, [env, capability, msg] {
        return readCapabilityRecord(env, capability, msg);
    });
}

jboolean JNICALL setCapabilityNative(JNIEnv* env, jclass, jint capability, jbyteArray container) {
    return guardedNative(env, "setCapability", jboolean{JNI_FALSE}, [env, capability, container] {
        return setCapabilityRecord(env, capability, container);
    });
}
