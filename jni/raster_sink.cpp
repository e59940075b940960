#include "jni/raster_sink.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "trace/trace.h"

namespace {

// Rows written under one hold of the raster's array; the builder hears of them after each batch.
constexpr std::uint32_t kBatchRows = 256;

void traceDelivered(const char* text, std::chrono::steady_clock::time_point started) {
    const double millis =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    char line[200];
    std::snprintf(line, sizeof(line), "page delivered: %s, in %.1f ms", text, millis);
    traceEvent(line);
}

}  // namespace

RasterSink::~RasterSink() {
    for (jobject ref : {static_cast<jobject>(pixels_), static_cast<jobject>(builderClass_),
                        static_cast<jobject>(thrown_)}) {
        if (ref != nullptr) {
            env_->DeleteLocalRef(ref);
        }
    }
}

bool RasterSink::failed() {
    if (!env_->ExceptionCheck()) {
        return false;
    }
    if (thrown_ == nullptr) {
        thrown_ = env_->ExceptionOccurred();
    }
    env_->ExceptionClear();
    return true;
}

bool RasterSink::rethrow() {
    if (thrown_ == nullptr) {
        return false;
    }
    env_->Throw(thrown_);
    env_->DeleteLocalRef(thrown_);
    thrown_ = nullptr;
    return true;
}

jmethodID RasterSink::method(const char* name, const char* signature) {
    if (builderClass_ == nullptr) {
        builderClass_ = env_->GetObjectClass(builder_);
    }
    const jmethodID id = env_->GetMethodID(builderClass_, name, signature);
    return failed() ? nullptr : id;
}

bool RasterSink::readRaster() {
    const jmethodID pixels = method("pixels", "()Ljava/lang/Object;");
    const jmethodID stride = method("stride", "()I");
    const jmethodID rows = method("rows", "()I");
    if (pixels == nullptr || stride == nullptr || rows == nullptr) {
        return false;
    }
    if (pixels_ != nullptr) {
        env_->DeleteLocalRef(pixels_);
    }
    pixels_ = static_cast<jarray>(env_->CallObjectMethod(builder_, pixels));
    if (failed() || pixels_ == nullptr) {
        return false;
    }
    const jint elements = env_->CallIntMethod(builder_, stride);
    if (failed()) {
        return false;
    }
    const jint held = env_->CallIntMethod(builder_, rows);
    if (failed() || elements < 0 || held < 0) {
        return false;
    }
    rasterStride_ = static_cast<std::size_t>(elements);
    capacity_ = static_cast<std::uint32_t>(held);
    return true;
}

bool RasterSink::begin(const DibLayout& layout, std::uint32_t heightHint) {
    started_ = std::chrono::steady_clock::now();
    layout_ = layout;
    const jmethodID begin = method("begin", "(IIII[B[B[B)I");
    if (begin == nullptr) {
        return false;
    }
    jbyteArray channels[3] = {};
    if (layout.indexed) {
        const auto count = static_cast<jsize>(layout.colorCount);
        for (int c = 0; c < 3; ++c) {
            channels[c] = env_->NewByteArray(count);
            if (failed()) {
                return false;
            }
            // RGBQUAD: blue, green, red.
            std::vector<jbyte> values(static_cast<std::size_t>(count));
            for (jsize i = 0; i < count; ++i) {
                values[static_cast<std::size_t>(i)] =
                    static_cast<jbyte>(layout.colorTable[4 * i + 2 - c]);
            }
            env_->SetByteArrayRegion(channels[c], 0, count, values.data());
        }
    }
    const jint kind = env_->CallIntMethod(
        builder_, begin, jint{layout.width},
        static_cast<jint>(std::min<std::uint32_t>(heightHint, 0x7FFFFFFF)), jint{layout.bitCount},
        static_cast<jint>(layout.indexed ? layout.colorCount : 0), channels[0], channels[1],
        channels[2]);
    for (jbyteArray channel : channels) {
        if (channel != nullptr) {
            env_->DeleteLocalRef(channel);
        }
    }
    if (failed() || !readRaster()) {
        return false;
    }
    kind_ = static_cast<RasterKind>(kind);
    if (kind_ == RasterKind::Gray) {
        const jmethodID levels = method("levels", "()[B");
        const auto array =
            levels ? static_cast<jbyteArray>(env_->CallObjectMethod(builder_, levels)) : nullptr;
        if (failed()) {
            return false;
        }
        levelsDiffer_ = array != nullptr;
        if (array != nullptr) {
            env_->GetByteArrayRegion(array, 0, 256, reinterpret_cast<jbyte*>(levels_));
            env_->DeleteLocalRef(array);
            if (failed()) {
                return false;
            }
        }
    }
    return true;
}

bool RasterSink::rows(std::uint32_t y, std::uint32_t count, const std::uint8_t* first,
                      std::ptrdiff_t stride) {
    if (count > capacity_ || y > capacity_ - count) {
        const jmethodID grow = method("grow", "(I)V");
        if (grow == nullptr) {
            return false;
        }
        env_->CallVoidMethod(builder_, grow, static_cast<jint>(y + count));
        if (failed() || !readRaster() || count > capacity_ || y > capacity_ - count) {
            return false;
        }
    }
    const jmethodID written = method("rowsWritten", "(I)V");
    if (written == nullptr) {
        return false;
    }
    // Each batch is made here and copied into the raster's rows in one call: holding the whole
    // array instead would have a checking VM copy all of it for every batch.
    const bool ints = kind_ == RasterKind::Rgb;
    for (std::uint32_t done = 0; done < count;) {
        const std::uint32_t batch = std::min(kBatchRows, count - done);
        const std::size_t elements = static_cast<std::size_t>(batch) * rasterStride_;
        batch_.resize(elements * (ints ? sizeof(jint) : 1));
        writeRasterRows(layout_, kind_, first + static_cast<std::ptrdiff_t>(done) * stride, stride,
                        batch, batch_.data(), rasterStride_, levelsDiffer_ ? levels_ : nullptr);
        const auto start = static_cast<jsize>((y + done) * rasterStride_);
        if (ints) {
            env_->SetIntArrayRegion(static_cast<jintArray>(pixels_), start,
                                    static_cast<jsize>(elements),
                                    reinterpret_cast<const jint*>(batch_.data()));
        } else {
            env_->SetByteArrayRegion(static_cast<jbyteArray>(pixels_), start,
                                     static_cast<jsize>(elements),
                                     reinterpret_cast<const jbyte*>(batch_.data()));
        }
        if (failed()) {
            return false;
        }
        done += batch;
        env_->CallVoidMethod(builder_, written, static_cast<jint>(y + done));
        if (failed()) {
            return false;
        }
    }
    return true;
}

bool RasterSink::end(std::uint32_t height) {
    const jmethodID end = method("end", "(I)V");
    if (end == nullptr) {
        return false;
    }
    env_->CallVoidMethod(builder_, end, static_cast<jint>(height));
    if (failed()) {
        return false;
    }
    if (traceOn()) {
        char text[120];
        std::snprintf(text, sizeof(text), "%ld x %lu pixels, %u bits, %llu bytes",
                      static_cast<long>(layout_.width), static_cast<unsigned long>(height),
                      static_cast<unsigned>(layout_.bitCount),
                      static_cast<unsigned long long>(layout_.stride * height));
        traceDelivered(text, started_);
    }
    return true;
}

bool RasterSink::encoded(EncodedPage page) {
    const auto started = std::chrono::steady_clock::now();
    const jmethodID encoded = method("encoded", "(I[BIII)V");
    if (encoded == nullptr) {
        return false;
    }
    const auto size = static_cast<jsize>(page.bytes.size());
    const jbyteArray bytes = env_->NewByteArray(size);
    if (failed()) {
        return false;
    }
    env_->SetByteArrayRegion(bytes, 0, size, reinterpret_cast<const jbyte*>(page.bytes.data()));
    env_->CallVoidMethod(builder_, encoded, static_cast<jint>(page.format), bytes, jint{page.width},
                         jint{page.height}, jint{page.bitsPerPixel});
    env_->DeleteLocalRef(bytes);
    if (failed()) {
        return false;
    }
    if (traceOn()) {
        char text[120];
        std::snprintf(text, sizeof(text), "%ld x %ld pixels, encoded, %llu bytes",
                      static_cast<long>(page.width), static_cast<long>(page.height),
                      static_cast<unsigned long long>(page.bytes.size()));
        traceDelivered(text, started);
    }
    return true;
}

void RasterSink::refused(const char* text) {
    const jmethodID refused = method("refused", "(Ljava/lang/String;)V");
    if (refused == nullptr) {
        return;
    }
    const jstring why = env_->NewStringUTF(text);
    if (!failed()) {
        env_->CallVoidMethod(builder_, refused, why);
        env_->DeleteLocalRef(why);
        failed();
    }
}
