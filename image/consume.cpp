#include "image/consume.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "image/dib_layout.h"
#include "image/dib_rows.h"
#include "image/java_arrays.h"
#include "image/java_calls.h"
#include "image/local_ref.h"
#include "image/messages.h"
#include "trace/trace.h"

namespace {

// The consumer's methods, each looked up once per delivery at its first call: a consumer that
// lacks one still receives every call before it.
struct ConsumerMethods {
    JavaMethod setDimensions{"setDimensions", "(II)V"};
    JavaMethod setHints{"setHints", "(I)V"};
    JavaMethod setColorModel{"setColorModel", "(Ljava/awt/image/ColorModel;)V"};
    JavaMethod setByteRow{"setPixels", "(IIIILjava/awt/image/ColorModel;[BII)V"};
    JavaMethod setIntRow{"setPixels", "(IIIILjava/awt/image/ColorModel;[III)V"};
    JavaMethod imageComplete{"imageComplete", "(I)V"};
};

struct ConsumerConstants {
    jint hints;
    jint staticImageDone;
};

ConsumerConstants readConsumerConstants(JNIEnv* env) {
    const jint singleFrame = readConsumerConstant(env, "SINGLEFRAME");
    const jint completeScanLines = readConsumerConstant(env, "COMPLETESCANLINES");
    const jint singlePass = readConsumerConstant(env, "SINGLEPASS");
    const jint topDownLeftRight = readConsumerConstant(env, "TOPDOWNLEFTRIGHT");
    const jint staticImageDone = readConsumerConstant(env, "STATICIMAGEDONE");
    return {singleFrame | completeScanLines | singlePass | topDownLeftRight, staticImageDone};
}

LocalRef<jobject> newIndexColorModel(JNIEnv* env, const DibLayout& layout) {
    // A count beyond jsize becomes negative, and the VM refuses the array with its own exception.
    const auto count = static_cast<jsize>(layout.colorCount);
    const auto red = newJavaArray<jbyteArray>(env, count);
    ArrayElements<jbyteArray> redElements(env, red.get());
    const auto green = newJavaArray<jbyteArray>(env, count);
    ArrayElements<jbyteArray> greenElements(env, green.get());
    const auto blue = newJavaArray<jbyteArray>(env, count);
    ArrayElements<jbyteArray> blueElements(env, blue.get());
    splitColorTable(layout, redElements.get(), greenElements.get(), blueElements.get());
    redElements.release();
    greenElements.release();
    blueElements.release();
    return newJavaObject(env, "java/awt/image/IndexColorModel", "(II[B[B[B)V",
                         jint{layout.bitCount}, static_cast<jint>(layout.colorCount), red.get(),
                         green.get(), blue.get());
}

LocalRef<jobject> newDirectColorModel(JNIEnv* env, const DibLayout& layout) {
    return newJavaObject(env, "java/awt/image/DirectColorModel", "(IIII)V", jint{layout.bitCount},
                         static_cast<jint>(layout.redMask), static_cast<jint>(layout.greenMask),
                         static_cast<jint>(layout.blueMask));
}

// Decodes consumer row y into a new Java array of width elements and hands it to setPixels. The
// array's reference goes as soon as the call returns, so a tall page needs no more of them.
template <typename Array, typename Unpack>
void sendRow(JNIEnv* env, jobject consumer, JavaMethod& setPixels, jobject model,
             const DibLayout& layout, jint y, Unpack unpack) {
    const jint width = layout.width;
    const auto row = newJavaArray<Array>(env, width);
    {
        ArrayElements<Array> elements(env, row.get());
        unpack(layout, dibRowStart(layout, static_cast<std::uint32_t>(y)), elements.get());
    }
    callVoid(env, setPixels, consumer, jint{0}, y, width, jint{1}, model, row.get(), jint{0},
             width);
}

void deliver(JNIEnv* env, jobject consumer, const DibLayout& layout) {
    const LocalRef<jobject> model =
        layout.indexed ? newIndexColorModel(env, layout) : newDirectColorModel(env, layout);
    const ConsumerConstants constants = readConsumerConstants(env);
    ConsumerMethods methods;
    const jint width = layout.width;
    const auto height = static_cast<jint>(layout.rowCount);
    callVoid(env, methods.setDimensions, consumer, width, height);
    callVoid(env, methods.setHints, consumer, constants.hints);
    callVoid(env, methods.setColorModel, consumer, model.get());
    for (jint y = 0; y < height; ++y) {
        if (layout.bitCount > 8) {
            sendRow<jintArray>(env, consumer, methods.setIntRow, model.get(), layout, y,
                               unpackDirectRow);
        } else {
            sendRow<jbyteArray>(env, consumer, methods.setByteRow, model.get(), layout, y,
                                unpackIndexRow);
        }
    }
    callVoid(env, methods.imageComplete, consumer, constants.staticImageDone);
}

void throwMessage(JNIEnv* env, const char* text) {
    const LocalRef<jclass> exceptionClass(env, env->FindClass("java/lang/Exception"));
    if (exceptionClass.get() == nullptr) {
        env->FatalError(kCannotThrow);
        return;
    }
    env->ThrowNew(exceptionClass.get(), text);
}

// The VM's own exception, pending again exactly as it was reported.
void rethrow(JNIEnv* env, jthrowable throwable) {
    env->ExceptionClear();
    env->Throw(throwable);
    env->DeleteLocalRef(throwable);
}

void traceDelivered(const DibLayout& layout, std::size_t blockSize,
                    std::chrono::steady_clock::time_point started) {
    if (!traceOn()) {
        return;
    }
    const double millis =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    char text[160];
    std::snprintf(
        text, sizeof(text), "page delivered: %ld x %lu pixels, %u bits, %llu bytes, in %.1f ms",
        static_cast<long>(layout.width), static_cast<unsigned long>(layout.rowCount),
        static_cast<unsigned>(layout.bitCount), static_cast<unsigned long long>(blockSize), millis);
    traceEvent(text);
}

void traceNotDelivered(const std::string& why) {
    if (traceOn()) {
        traceEvent("page not delivered: " + why);
    }
}

}  // namespace

jboolean deliverImage(JNIEnv* env, jobject consumer, const void* dib, std::size_t blockSize) {
    const auto started = std::chrono::steady_clock::now();
    try {
        if (consumer == nullptr) {
            throw MessageFailure{kInvalidConsumer, "the consumer is null"};
        }
        const DibLayout layout = decodeDibLayout(dib, blockSize);
        deliver(env, consumer, layout);
        traceDelivered(layout, blockSize, started);
        return JNI_TRUE;
    } catch (const MessageFailure& failure) {
        traceNotDelivered(std::string(failure.text) + " (" + failure.reason + ")");
        throwMessage(env, failure.text);
    } catch (const JavaFailure& failure) {
        traceNotDelivered("the consumer or the VM threw an exception, which is passed on");
        rethrow(env, failure.throwable);
    }
    return JNI_FALSE;
}
