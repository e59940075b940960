// The scan frame: the rectangle of the page the source scans, in its current units, sent afresh
// as a TWAIN image layout on each call.
#include <jni.h>

#include <cmath>
#include <cstdint>

#include "session/dsm_binding.h"
#include "session/native_calls.h"
#include "session/native_guard.h"

namespace {

constexpr double kInt64Limit = 0x1p63;

// The frame carries whole units only: the edge truncated toward zero as a signed 64-bit integer,
// of which the low 16 bits are kept. Where there is no such integer (NaN, the infinities,
// magnitudes of 2^63 or more) the edge is 0, as the x86 conversion leaves in its low bits.
TW_FIX32 wholeUnits(double edge) {
    const std::int64_t whole = std::fabs(edge) < kInt64Limit ? static_cast<std::int64_t>(edge) : 0;
    return TW_FIX32{static_cast<TW_INT16>(static_cast<std::uint16_t>(whole)), 0};
}

bool setFrame(double left, double top, double right, double bottom) {
    TW_IMAGELAYOUT layout = {};
    layout.Frame.Left = wholeUnits(left);
    layout.Frame.Top = wholeUnits(top);
    layout.Frame.Right = wholeUnits(right);
    layout.Frame.Bottom = wholeUnits(bottom);
    layout.DocumentNumber = 1;
    layout.PageNumber = 1;
    layout.FrameNumber = 1;
    // No state test of its own: dsmCall sends nothing before the manager is bound, and the
    // source judges the rest.
    return dsmCall(&twainSession.sourceIdentity, DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout);
}

}  // namespace

extern "C" {

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setFrame(JNIEnv* env, jclass, jdouble left,
                                                                 jdouble top, jdouble right,
                                                                 jdouble bottom) {
    return guardedNative(env, "setFrame", jboolean{JNI_FALSE}, [=] {
        return stepCall("setFrame", CallKind::Step, kManagerBoundStates,
                        [=] { return setFrame(left, top, right, bottom); });
    });
}

}  // extern "C"
