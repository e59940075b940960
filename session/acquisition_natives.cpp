// Native methods of TwainEx for enabling the source and taking its images.
#include <jni.h>

#include "image/consume.h"
#include "session/acquisition.h"
#include "session/native_calls.h"

extern "C" {

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_prepareTransfer(JNIEnv*, jclass) {
    return stepCall("prepareTransfer", CallKind::Step, {kStateSourceOpen, kStateSourceOpen},
                    prepareTransfer);
}

// The image belongs to this call from the transfer on, and is unlocked and freed here whatever the
// delivery did; a failed delivery leaves its Java exception pending for the caller. The consumer
// runs after the session's call has ended, so it may call back into the session.
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_acquireImage(JNIEnv* env, jclass,
                                                                     jobject consumer) {
    const TW_HANDLE image = acquireNextImage();
    if (!image) {
        return JNI_FALSE;
    }
    const void* dib = GlobalLock(image);
    const std::size_t size = dib ? GlobalSize(image) : 0;
    const jboolean delivered = deliverImage(env, consumer, dib, size);
    GlobalUnlock(image);
    GlobalFree(image);
    return delivered;
}

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_getVisible(JNIEnv*, jclass) {
    return stepCall("getVisible", CallKind::Step, kSendsNothing,
                    [] { return twainSession.showUserInterface.load(); });
}

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setVisible(JNIEnv*, jclass,
                                                                   jboolean visible) {
    runSessionCall("setVisible", CallKind::Step, kSendsNothing,
                   [visible] { twainSession.showUserInterface = visible != JNI_FALSE; });
    return JNI_TRUE;
}

}  // extern "C"
