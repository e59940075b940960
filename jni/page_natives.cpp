#include "jni/page_natives.h"

#include <string>

#include "image/consume.h"
#include "image/dib_feed.h"
#include "image/dib_layout.h"
#include "image/local_ref.h"
#include "image/messages.h"
#include "image/raster_rows.h"
#include "jni/raster_sink.h"
#include "session/acquisition.h"
#include "session/file_transfer.h"
#include "session/jstring.h"
#include "session/memory_transfer.h"
#include "session/native_calls.h"
#include "session/native_guard.h"
#include "session/native_transfer.h"
#include "trace/trace.h"

namespace {

constexpr TripletStates kWaitStates = {kStateSourceEnabled, kStateTransferring};

bool waitUnderTheRules(PageTransfer& transfer) {
    bool taken = false;
    runNativeCall("acquirePage", CallKind::Wait, kWaitStates,
                  [&taken, &transfer] { taken = waitForPage(transfer); });
    return taken;
}

void throwRefusal(JNIEnv* env, const char* text) {
    const LocalRef<jclass> exception(env, env->FindClass("java/lang/Exception"));
    if (exception.get() != nullptr) {
        env->ThrowNew(exception.get(), text);
    }
}

// The handle belongs to this call from the transfer on, and is unlocked and freed on every path.
class LockedImage {
  public:
    explicit LockedImage(TW_HANDLE image) : image_(image), dib_(GlobalLock(image)) {}
    ~LockedImage() {
        if (dib_ != nullptr) {
            GlobalUnlock(image_);
        }
        GlobalFree(image_);
    }
    LockedImage(const LockedImage&) = delete;
    LockedImage& operator=(const LockedImage&) = delete;
    const void* dib() const { return dib_; }
    std::size_t size() const { return dib_ != nullptr ? GlobalSize(image_) : 0; }

  private:
    TW_HANDLE image_;
    const void* dib_;
};

// A DIB whose pixels the raster takes as they are goes straight in; any other is delivered
// through the builder's ImageConsumer, as the raw natives deliver it.
jint deliverDib(JNIEnv* env, jobject builder, const void* dib, std::size_t size) {
    DibLayout layout;
    try {
        layout = decodeDibLayout(dib, size);
    } catch (const MessageFailure&) {
        layout = {};
    }
    if (!writesStraight(layout)) {
        const LocalRef<jclass> builderClass(env, env->GetObjectClass(builder));
        const jmethodID consumerOf =
            env->GetMethodID(builderClass.get(), "consumer", "()Ljava/awt/image/ImageConsumer;");
        if (env->ExceptionCheck()) {
            return kNoPage;
        }
        const LocalRef<jobject> consumer(env, env->CallObjectMethod(builder, consumerOf));
        if (env->ExceptionCheck()) {
            return kNoPage;
        }
        return deliverImage(env, consumer.get(), dib, size) ? kPage : kNoPage;
    }
    RasterSink sink(env, builder);
    const bool fed = feedDib(layout, sink);
    sink.rethrow();
    return fed ? kPage : kNoPage;
}

jint nativePage(JNIEnv* env, jobject builder) {
    NativeTransfer transfer;
    if (!waitUnderTheRules(transfer)) {
        return kNoPage;
    }
    const LockedImage image(transfer.image());
    return deliverDib(env, builder, image.dib(), image.size());
}

jint memoryPage(JNIEnv* env, jobject builder) {
    RasterSink sink(env, builder);
    MemoryTransfer transfer(sink, MemoryBuffer::Kind::Pointer);
    const bool taken = waitUnderTheRules(transfer);
    if (sink.rethrow()) {
        return kNoPage;
    }
    switch (transfer.outcome()) {
        case MemoryTransfer::Outcome::Page:
            return taken ? kPage : kNoPage;
        case MemoryTransfer::Outcome::NoFirstStrip:
            if (transfer.refusal() != nullptr) {
                sink.refused(transfer.refusal());
            }
            return sink.rethrow() ? kNoPage : kNoFirstStrip;
        case MemoryTransfer::Outcome::Refused:
            throwRefusal(env, transfer.refusal());
            return kNoPage;
        case MemoryTransfer::Outcome::NoPage:
            break;
    }
    return kNoPage;
}

jint filePage(JNIEnv* env, jobject builder, jstring file, jint format) {
    const JString path(env, file);
    if (path.get() == nullptr) {
        if (!env->ExceptionCheck()) {
            throwRefusal(env, "the transfer file has no name");
        }
        return kNoPage;
    }
    RasterSink sink(env, builder);
    FileTransfer transfer(sink, path.get(), static_cast<TW_UINT16>(format));
    const bool taken = waitUnderTheRules(transfer);
    if (sink.rethrow()) {
        return kNoPage;
    }
    if (transfer.refusal() != nullptr) {
        throwRefusal(env, transfer.refusal());
        return kNoPage;
    }
    return taken ? kPage : kNoPage;
}

}  // namespace

jint JNICALL acquirePageNative(JNIEnv* env, jclass, jobject builder, jint mechanism, jstring file,
                               jint format) {
    return guardedNative(env, "acquirePage", kNoPage, [&]() -> jint {
        if (builder == nullptr) {
            throwRefusal(env, kInvalidConsumer);
            return kNoPage;
        }
        switch (mechanism) {
            case kMechanismMemory:
                return memoryPage(env, builder);
            case kMechanismFile:
                return filePage(env, builder, file, format);
            default:
                return nativePage(env, builder);
        }
    });
}
