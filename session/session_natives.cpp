// Native methods of TwainEx for the session's state, codes and lifecycle.
#include <jni.h>

#include "session/jstring.h"
#include "session/lifecycle.h"
#include "session/native_calls.h"
#include "session/native_guard.h"
#include "session/twain_steps.h"

extern "C" {

JNIEXPORT jint JNICALL Java_QZ_korvel_twain_TwainEx_getState(JNIEnv* env, jclass) {
    return guardedNative(env, "getState", jint{0}, [] { return jint{twainSession.state}; });
}

JNIEXPORT jshort JNICALL Java_QZ_korvel_twain_TwainEx_getResultCode(JNIEnv* env, jclass) {
    return guardedNative(env, "getResultCode", jshort{0},
                         [] { return static_cast<jshort>(twainSession.resultCode); });
}

JNIEXPORT jshort JNICALL Java_QZ_korvel_twain_TwainEx_getConditionCode(JNIEnv* env, jclass) {
    return guardedNative(env, "getConditionCode", jshort{0},
                         [] { return static_cast<jshort>(twainSession.conditionCode); });
}

// A null string gives an empty field. A string that cannot be converted (the VM could not give its
// characters, or memory ran out) refuses the call before anything is sent: the VM may then have an
// exception pending, and no further JNI call may be made. The strings are converted on the calling
// thread, which owns the JNI environment; the owner may be the one that opens the manager.
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_register(
    JNIEnv* env, jclass, jint versionMajor, jint versionMinor, jstring manufacturer,
    jstring productFamily, jstring productName) {
    return guardedNative(env, "register", jboolean{JNI_FALSE}, [&]() -> jboolean {
        JString manufacturerText(env, manufacturer);
        if (manufacturer != nullptr && manufacturerText.get() == nullptr) {
            return JNI_FALSE;
        }
        JString familyText(env, productFamily);
        if (productFamily != nullptr && familyText.get() == nullptr) {
            return JNI_FALSE;
        }
        JString productText(env, productName);
        if (productName != nullptr && productText.get() == nullptr) {
            return JNI_FALSE;
        }
        auto text = [](const JString& s) { return s.get() ? s.get() : ""; };
        return registerStep(versionMajor, versionMinor, text(manufacturerText), text(familyText),
                            text(productText));
    });
}

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_selectSource(JNIEnv* env, jclass) {
    return guardedNative(env, "selectSource", jboolean{JNI_FALSE}, selectSourceStep);
}

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_openSource(JNIEnv* env, jclass) {
    return guardedNative(env, "openSource", jboolean{JNI_FALSE}, openSourceStep);
}

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_stopTransfer(JNIEnv* env, jclass) {
    return guardedNative(env, "stopTransfer", jboolean{JNI_FALSE}, stopTransferStep);
}

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_closeSource(JNIEnv* env, jclass) {
    return guardedNative(env, "closeSource", jboolean{JNI_FALSE}, closeSourceStep);
}

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_unregister(JNIEnv* env, jclass) {
    return guardedNative(env, "unregister", jboolean{JNI_FALSE}, unregisterStep);
}

}  // extern "C"
