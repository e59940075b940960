// The page commands of TwainEx: each tells the source's document feeder to act by setting a
// command capability to 1, sent as TWTY_UINT16. skipImage has no capability of its own; it feeds
// the page like feedPage.
#include <jni.h>

#include "session/native_calls.h"
#include "session/native_guard.h"
#include "settings/capability_access.h"

// COMMAND(method, capability)
// clang-format off
#define SCANLINK_PAGE_COMMANDS(COMMAND)       \
    COMMAND(clearPage,  CAP_CLEARPAGE)        \
    COMMAND(feedPage,   CAP_FEEDPAGE)         \
    COMMAND(rewindPage, CAP_REWINDPAGE)       \
    COMMAND(skipImage,  CAP_FEEDPAGE)
// clang-format on

#define SCANLINK_DEFINE_COMMAND(method, capability)                                         \
    JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_##method(JNIEnv* env, jclass) { \
        return guardedNative(env, #method, jboolean{JNI_FALSE}, [] {                        \
            return stepCall(#method, CallKind::Step, kSourceOpenStates,                     \
                            [] { return setCapabilityValue(capability, TWTY_UINT16, 1); }); \
        });                                                                                 \
    }

extern "C" {
SCANLINK_PAGE_COMMANDS(SCANLINK_DEFINE_COMMAND)
}  // extern "C"
