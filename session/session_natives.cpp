// Native methods of TwainEx for the session's state, codes and lifecycle.
#include <jni.h>

#include "session/jstring.h"
#include "session/lifecycle.h"
#include "session/native_calls.h"

extern "C" {

JNIEXPORT jint JNICALL Java_QZ_korvel_twain_TwainEx_getState(JNIEnv*, jclass) {
    return twainSession.state;
}

JNIEXPORT jshort JNICALL Java_QZ_korvel_twain_TwainEx_getResultCode(JNIEnv*, jclass) {
    return static_cast<jshort>(twainSession.resultCode);
}

JNIEXPORT jshort JNICALL Java_QZ_korvel_twain_TwainEx_getConditionCode(JNIEnv*, jclass) {
    return static_cast<jshort>(twainSession.conditionCode);
}

// A null string gives an empty field. A string that cannot be converted (the VM could not give its
// characters, or memory ran out) refuses the call before anything is sent: the VM may then have an
// exception pending, and no further JNI call may be made. The strings are converted on the calling
// thread, which owns the JNI environment; the owner may be the one that opens the manager.
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_register(
    JNIEnv* env, jclass, jint versionMajor, jint versionMinor, jstring manufacturer,
    jstring productFamily, jstring productName) {
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
    return stepCall("register", CallKind::Step, {kStateManagerNotLoaded, kStateManagerLoaded}, [&] {
        return openSourceManager(versionMajor, versionMinor, text(manufacturerText),
                                 text(familyText), text(productText));
    });
}

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_selectSource(JNIEnv*, jclass) {
    return stepCall("selectSource", CallKind::Step, {kStateManagerOpen, kStateManagerOpen},
                    selectSource);
}

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_openSource(JNIEnv*, jclass) {
    return stepCall("openSource", CallKind::Step, {kStateManagerOpen, kStateManagerOpen},
                    openSource);
}

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_stopTransfer(JNIEnv*, jclass) {
    return stepCall("stopTransfer", CallKind::Teardown, {kStateSourceEnabled, kStateTransferring},
                    disableSource);
}

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_closeSource(JNIEnv*, jclass) {
    return stepCall("closeSource", CallKind::Teardown, kSourceOpenStates, closeSource);
}

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_unregister(JNIEnv*, jclass) {
    return stepCall("unregister", CallKind::Teardown, kUnregisterStates, unregister);
}

}  // extern "C"
