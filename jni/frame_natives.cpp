#include "jni/frame_natives.h"

#include <optional>

#include "jni/java_record.h"
#include "session/native_calls.h"
#include "settings/capability_access.h"
#include "settings/image_layout.h"

namespace {

constexpr std::uint8_t kFrameFollows = 0;
constexpr std::uint8_t kFrameUntold = 1;

std::int64_t inFix32Steps(TW_FIX32 edge) {
    return static_cast<std::int64_t>(edge.Whole) * 65536 + edge.Frac;
}

}  // namespace

jbyteArray JNICALL setFractionalFrameNative(JNIEnv* env, jclass, jdouble left, jdouble top,
                                            jdouble right, jdouble bottom) {
    if (!fitsFix32(left) || !fitsFix32(top) || !fitsFix32(right) || !fitsFix32(bottom)) {
        throwIllegalArgument(env, "a frame's edges are numbers from -32768 to below 32768");
        return nullptr;
    }
    const TW_FRAME frame = fix32Frame(left, top, right, bottom);
    bool taken = false;
    std::optional<TW_FRAME> told;
    runSessionCall("setFractionalFrame", CallKind::Step, kSourceOpenStates, [&] {
        taken = sendFrame(frame);
        if (taken) {
            told = readFrame();
        }
    });
    if (!taken) {
        return nullptr;
    }
    RecordWriter record;
    if (!told) {
        record.u8(kFrameUntold);
        return toJavaBytes(env, record.bytes());
    }
    record.u8(kFrameFollows);
    for (const TW_FIX32& edge : {told->Left, told->Top, told->Right, told->Bottom}) {
        record.i64(inFix32Steps(edge));
    }
    return toJavaBytes(env, record.bytes());
}
