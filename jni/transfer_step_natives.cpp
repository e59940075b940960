#include "jni/transfer_step_natives.h"

#include <optional>

#include "jni/java_record.h"
#include "session/acquisition.h"
#include "session/native_calls.h"
#include "session/native_guard.h"
#include "session/transfer_steps.h"
#include "settings/capability_access.h"

namespace {

std::uint32_t bits16(TW_INT16 value) { return static_cast<std::uint16_t>(value); }

}  // namespace

jboolean JNICALL awaitTransferReadyNative(JNIEnv* env, jclass) {
    return guardedNative(env, "awaitTransferReady", jboolean{JNI_FALSE}, [] {
        return stepCall("awaitTransferReady", CallKind::Wait,
                        {kStateSourceEnabled, kStateTransferring}, waitForTransferReady);
    });
}

jbyteArray JNICALL imageInfoNative(JNIEnv* env, jclass) {
    return guardedNative(env, "imageInfo", jbyteArray{}, [env] {
        TW_IMAGEINFO info = {};
        bool described = false;
        runNativeCall("imageInfo", CallKind::Step, {kStateTransferReady, kStateTransferring},
                      [&info, &described] { described = readImageInfo(info); });
        if (!described) {
            return jbyteArray{};
        }
        RecordWriter record;
        record.u32(fix32Bits(info.XResolution));
        record.u32(fix32Bits(info.YResolution));
        record.u32(static_cast<std::uint32_t>(info.ImageWidth));
        record.u32(static_cast<std::uint32_t>(info.ImageLength));
        record.u16(bits16(info.SamplesPerPixel));
        for (const TW_INT16 bits : info.BitsPerSample) {
            record.u16(bits16(bits));
        }
        record.u16(bits16(info.BitsPerPixel));
        record.u16(info.Planar);
        record.u16(bits16(info.PixelType));
        record.u16(info.Compression);
        return toJavaBytes(env, record.bytes());
    });
}

jboolean JNICALL transferWithoutEndingNative(JNIEnv* env, jclass) {
    return guardedNative(env, "transferWithoutEnding", jboolean{JNI_FALSE}, [] {
        return stepCall("transferWithoutEnding", CallKind::Step,
                        {kStateTransferReady, kStateTransferReady}, transferWithoutEnding);
    });
}

jint JNICALL endTransferNative(JNIEnv* env, jclass) {
    return guardedNative(env, "endTransfer", jint{-1}, [] {
        std::optional<TW_UINT16> pending;
        runNativeCall("endTransfer", CallKind::Step, {kStateTransferring, kStateTransferring},
                      [&pending] { pending = endTransfer(); });
        return pending ? jint{*pending} : jint{-1};
    });
}
