// The capability getters and setters of TwainEx. Each is a fixed binding of one Java method to one
// capability: the table below holds every binding, the kinds after it say how a Java value and a
// TWAIN item turn into each other.
#include <jni.h>

#include "session/native_calls.h"
#include "session/native_guard.h"
#include "settings/capability_access.h"

namespace {

// Each kind reads into an Item that starts as the getter's fallback, so that a value the source
// does not give, and a refused call, both leave the fallback.

// Flags travel as TWTY_UINT16; reading also takes the TWTY_BOOL that standard sources report. The
// getter's flag is the low 8 bits of the 16-bit value.
struct Flag {
    using Java = jboolean;
    using Item = TW_UINT16;
    static Item item(TW_UINT16 fallback) { return fallback; }
    static void read(TW_UINT16 capability, Item& item) { getFlagValue(capability, &item); }
    static jboolean java(Item item) { return (item & 0xFF) != 0 ? JNI_TRUE : JNI_FALSE; }
    static bool set(TW_UINT16 capability, jboolean value) {
        return setCapabilityValue(capability, TWTY_UINT16, value != JNI_FALSE ? 1 : 0);
    }
};

// 16-bit values widened without sign to a Java int; a setter sends the low 16 bits of its int.
struct Int {
    using Java = jint;
    using Item = TW_UINT16;
    static Item item(TW_UINT16 fallback) { return fallback; }
    static void read(TW_UINT16 capability, Item& item) {
        getCapabilityValue(capability, TWTY_UINT16, &item);
    }
    static jint java(Item item) { return item; }
    static bool set(TW_UINT16 capability, jint value) {
        return setCapabilityValue(capability, TWTY_UINT16, static_cast<TW_UINT16>(value));
    }
};

// 16-bit values as a Java short, bits unchanged.
struct Short {
    using Java = jshort;
    using Item = TW_UINT16;
    static Item item(TW_UINT16 fallback) { return fallback; }
    static void read(TW_UINT16 capability, Item& item) {
        getCapabilityValue(capability, TWTY_UINT16, &item);
    }
    static jshort java(Item item) { return static_cast<jshort>(item); }
    static bool set(TW_UINT16 capability, jshort value) {
        return setCapabilityValue(capability, TWTY_UINT16, static_cast<TW_UINT16>(value));
    }
};

// TW_FIX32 values as a Java double.
struct Fixed {
    using Java = jdouble;
    using Item = TW_FIX32;
    static Item item(double fallback) { return toFix32(fallback); }
    static void read(TW_UINT16 capability, Item& item) {
        getCapabilityValue(capability, TWTY_FIX32, &item);
    }
    static jdouble java(Item item) { return fromFix32(item); }
    static bool set(TW_UINT16 capability, jdouble value) {
        return setCapabilityValue(capability, TWTY_FIX32, packFix32(toFix32(value)));
    }
};

}  // namespace

// GET(method, capability, kind, what the getter returns when the source gives no value)
// SET(method, capability, kind)
// clang-format off
#define SCANLINK_CAPABILITY_METHODS(GET, SET)                                   \
    GET(getAutoBrightness,    ICAP_AUTOBRIGHT,         Flag,  false)            \
    SET(setAutoBrightness,    ICAP_AUTOBRIGHT,         Flag)                    \
    GET(getAutoFeed,          CAP_AUTOFEED,            Flag,  false)            \
    SET(setAutoFeed,          CAP_AUTOFEED,            Flag)                    \
    GET(getBitDepth,          ICAP_BITDEPTH,           Int,   1)                \
    SET(setBitDepth,          ICAP_BITDEPTH,           Int)                     \
    GET(getBitDepthReduction, ICAP_BITDEPTHREDUCTION,  Short, 0)                \
    SET(setBitDepthReduction, ICAP_BITDEPTHREDUCTION,  Short)                   \
    GET(getBrightness,        ICAP_BRIGHTNESS,         Fixed, 0.0)              \
    SET(setBrightness,        ICAP_BRIGHTNESS,         Fixed)                   \
    GET(getCanHideUI,         CAP_UICONTROLLABLE,      Flag,  false)            \
    GET(getContrast,          ICAP_CONTRAST,           Fixed, 0.0)              \
    SET(setContrast,          ICAP_CONTRAST,           Fixed)                   \
    GET(getCurrentUnits,      ICAP_UNITS,              Short, 0)                \
    SET(setCurrentUnits,      ICAP_UNITS,              Short)                   \
    GET(isDeviceOnLine,       CAP_DEVICEONLINE,        Flag,  false)            \
    GET(getFeederEnabled,     CAP_FEEDERENABLED,       Flag,  false)            \
    SET(setFeederEnabled,     CAP_FEEDERENABLED,       Flag)                    \
    GET(isFeederLoaded,       CAP_FEEDERLOADED,        Flag,  false)            \
    GET(getHighLight,         ICAP_HIGHLIGHT,          Fixed, 255.0)            \
    SET(setHighLight,         ICAP_HIGHLIGHT,          Fixed)                   \
    GET(getOrientation,       ICAP_ORIENTATION,        Short, 0)                \
    SET(setOrientation,       ICAP_ORIENTATION,        Short)                   \
    GET(getPhysicalHeight,    ICAP_PHYSICALHEIGHT,     Fixed, 0.0)              \
    GET(getPhysicalWidth,     ICAP_PHYSICALWIDTH,      Fixed, 0.0)              \
    GET(getPixelType,         ICAP_PIXELTYPE,          Short, 0)                \
    SET(setPixelType,         ICAP_PIXELTYPE,          Short)                   \
    GET(getRotation,          ICAP_ROTATION,           Fixed, 0.0)              \
    SET(setRotation,          ICAP_ROTATION,           Fixed)                   \
    GET(getShadow,            ICAP_SHADOW,             Fixed, 0.0)              \
    SET(setShadow,            ICAP_SHADOW,             Fixed)                   \
    GET(getShowIndicators,    CAP_INDICATORS,          Flag,  false)            \
    SET(setShowIndicators,    CAP_INDICATORS,          Flag)                    \
    GET(getTransferCount,     CAP_XFERCOUNT,           Int,   65535)            \
    SET(setTransferCount,     CAP_XFERCOUNT,           Int)                     \
    GET(getThreshold,         ICAP_THRESHOLD,          Fixed, 128.0)            \
    SET(setThreshold,         ICAP_THRESHOLD,          Fixed)                   \
    GET(getXNativeResolution, ICAP_XNATIVERESOLUTION,  Fixed, 0.0)              \
    GET(getXResolution,       ICAP_XRESOLUTION,        Fixed, 0.0)              \
    SET(setXResolution,       ICAP_XRESOLUTION,        Fixed)                   \
    GET(getXScaling,          ICAP_XSCALING,           Fixed, 1.0)              \
    SET(setXScaling,          ICAP_XSCALING,           Fixed)                   \
    GET(getYNativeResolution, ICAP_YNATIVERESOLUTION,  Fixed, 0.0)              \
    GET(getYResolution,       ICAP_YRESOLUTION,        Fixed, 0.0)              \
    SET(setYResolution,       ICAP_YRESOLUTION,        Fixed)                   \
    GET(getYScaling,          ICAP_YSCALING,           Fixed, 1.0)              \
    SET(setYScaling,          ICAP_YSCALING,           Fixed)
// clang-format on

#define SCANLINK_DEFINE_GETTER(method, capability, kind, fallback)                            \
    JNIEXPORT kind::Java JNICALL Java_QZ_korvel_twain_TwainEx_##method(JNIEnv* env, jclass) { \
        return guardedNative(env, #method, kind::java(kind::item(fallback)), [] {             \
            kind::Item item = kind::item(fallback);                                           \
            runNativeCall(#method, CallKind::Step, kSourceOpenStates,                         \
                          [&item] { kind::read(capability, item); });                         \
            return kind::java(item);                                                          \
        });                                                                                   \
    }

#define SCANLINK_DEFINE_SETTER(method, capability, kind)                                  \
    JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_##method(JNIEnv* env, jclass, \
                                                                     kind::Java value) {  \
        return guardedNative(env, #method, jboolean{JNI_FALSE}, [value] {                 \
            return stepCall(#method, CallKind::Step, kSourceOpenStates,                   \
                            [value] { return kind::set(capability, value); });            \
        });                                                                               \
    }

extern "C" {
SCANLINK_CAPABILITY_METHODS(SCANLINK_DEFINE_GETTER, SCANLINK_DEFINE_SETTER)
}  // extern "C"
