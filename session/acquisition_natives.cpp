// Native methods of TwainEx for enabling the source and taking its images.
#include <jni.h>

#include "image/consume.h"
#include "session/acquisition.h"
#include "session/native_calls.h"
#include "session/native_guard.h"
#include "session/twain_steps.h"

namespace {

// Frees the image on every way out of the call, an exception's included.
class OwnedImage {
  public:
    explicit OwnedImage(TW_HANDLE image) : image_(image) {}
    ~OwnedImage() { GlobalFree(image_); }
    OwnedImage(const OwnedImage&) = delete;
    OwnedImage& operator=(const OwnedImage&) = delete;

  private:
    TW_HANDLE image_;
};

}  // namespace

extern "C" {

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_prepareTransfer(JNIEnv* env, jclass) {
    return guardedNative(env, "prepareTransfer", jboolean{JNI_FALSE}, prepareTransferStep);
}

// The image belongs to this call from the transfer on, and is unlocked and freed here whatever the
// delivery did; a failed delivery leaves its Java exception pending for the caller. The consumer
// runs after the session's call has ended, so it may call back into the session.
JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_acquireImage(JNIEnv* env, jclass,
                                                                     jobject consumer) {
    return guardedNative(env, "acquireImage", jboolean{JNI_FALSE}, [env, consumer] {
        const TW_HANDLE image = acquireNextImage();
        if (!image) {
            return jboolean{JNI_FALSE};
        }
        const OwnedImage owned(image);
        const void* dib = GlobalLock(image);
        const std::size_t size = dib ? GlobalSize(image) : 0;
        const jboolean delivered = deliverImage(env, consumer, dib, size);
        if (dib != nullptr) {
            GlobalUnlock(image);
        }
        return delivered;
    });
}

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_getVisible(JNIEnv* env, jclass) {
    return guardedNative(env, "getVisible", jboolean{JNI_FALSE}, [] {
        return stepCall("getVisible", CallKind::Step, kSendsNothing,
                        [] { return twainSession.showUserInterface.load(); });
    });
}

JNIEXPORT jboolean JNICALL Java_QZ_korvel_twain_TwainEx_setVisible(JNIEnv* env, jclass,
                                                                   jboolean visible) {
    return guardedNative(env, "setVisible", jboolean{JNI_FALSE}, [visible] {
        setVisibleStep(visible != JNI_FALSE);
        return jboolean{JNI_TRUE};
    });
}

}  // extern "C"
