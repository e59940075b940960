#include "recording_consumer.h"

#include "vm.h"

namespace host {

RecordingConsumer::RecordingConsumer()
    : object_(newObject(Kind::Consumer, "scanlink/jnihost/RecordingConsumer")) {
    object_->consumer = this;
}

void RecordingConsumer::throwAt(std::size_t call, Object* throwable) {
    throwAt_ = call;
    throwable_ = throwable;
}

Object* RecordingConsumer::receive(ConsumerCall call) {
    if (calls_.size() == throwAt_) {
        calls_.push_back(std::move(call));
        return throwable_;
    }
    if (call.method == "setDimensions") {
        width_ = call.ints[0];
        height_ = call.ints[1];
        // A negative size is the library's to refuse; the image then stays empty.
        const bool valid = width_ >= 0 && height_ >= 0;
        rgb_.assign(
            valid ? static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) : 0, 0);
    } else if (call.method == "setPixels") {
        paint(call);
    }
    calls_.push_back(std::move(call));
    return nullptr;
}

// setPixels(x, y, w, h, model, pixels, off, scansize): what a Java consumer would read, where a
// Java consumer would throw is a fault of the library.
void RecordingConsumer::paint(const ConsumerCall& call) {
    const jint x = call.ints[0], y = call.ints[1], w = call.ints[2], h = call.ints[3];
    const jint offset = call.ints[4], scansize = call.ints[5];
    if (call.model == nullptr || call.model->kind != Kind::ColorModel || call.pixels == nullptr) {
        fault("setPixels without a ColorModel or pixels");
        return;
    }
    const std::size_t length =
        call.pixels->kind == Kind::ByteArray ? call.pixels->bytes.size() : call.pixels->ints.size();
    const long long last =
        static_cast<long long>(offset) + static_cast<long long>(h - 1) * scansize + w - 1;
    if (x < 0 || y < 0 || w < 0 || h < 0 || x + w > width_ || y + h > height_ || offset < 0 ||
        (w > 0 && h > 0 && last >= static_cast<long long>(length))) {
        fault("setPixels(" + std::to_string(x) + ", " + std::to_string(y) + ", " +
              std::to_string(w) + ", " + std::to_string(h) + ", off " + std::to_string(offset) +
              ", scansize " + std::to_string(scansize) + ") outside the image or its array");
        return;
    }
    for (jint row = 0; row < h; ++row) {
        for (jint column = 0; column < w; ++column) {
            const std::size_t index = static_cast<std::size_t>(offset + row * scansize + column);
            const std::uint32_t pixel = call.pixels->kind == Kind::ByteArray
                                            ? static_cast<std::uint8_t>(call.pixels->bytes[index])
                                            : static_cast<std::uint32_t>(call.pixels->ints[index]);
            rgb_[static_cast<std::size_t>(y + row) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x + column)] = call.model->model.rgb(pixel);
        }
    }
}

}  // namespace host
