// libFuzzer target: the first bytes choose an image layout, the rest are buffers as a source may
// fill them, each a record and the bytes it came with. The assembler must refuse them with a
// message, or hand over rows that all lie in the rows it announced; every buffer is an exact-size
// heap copy so that AddressSanitizer marks its end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "image/messages.h"
#include "image/strip_assembler.h"

namespace {

struct Layout {
    TW_INT16 pixelType;
    TW_INT16 samples;
    TW_INT16 bits;
};
constexpr Layout kLayouts[] = {
    {TWPT_BW, 1, 1},    {TWPT_GRAY, 1, 4}, {TWPT_GRAY, 1, 8},
    {TWPT_GRAY, 1, 16}, {TWPT_RGB, 3, 8},  {TWPT_RGB, 3, 16},
};
constexpr std::size_t kRecordBytes = 26;  // the record's numbers, without its memory

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool has(std::size_t bytes) const { return size_ - at_ >= bytes; }
    std::uint8_t u8() { return data_[at_++]; }
    std::uint16_t u16() { return static_cast<std::uint16_t>(u8() | u8() << 8); }
    std::uint32_t u32() { return u16() | static_cast<std::uint32_t>(u16()) << 16; }
    const std::uint8_t* take(std::size_t bytes) {
        const std::uint8_t* start = data_ + at_;
        at_ += bytes;
        return start;
    }
    std::size_t left() const { return size_ - at_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Reads every byte of every row it is given.
class TouchingSink : public PageSink {
  public:
    explicit TouchingSink(std::uint64_t rowBytes) : rowBytes_(rowBytes) {}
    bool begin(const DibLayout&, std::uint32_t) override { return true; }
    bool rows(std::uint32_t y, std::uint32_t count, const std::uint8_t* first,
              std::ptrdiff_t stride) override {
        if (y != next_) {
            std::abort();  // rows come once each, in order
        }
        next_ += count;
        for (std::uint32_t r = 0; r < count; ++r) {
            const std::uint8_t* row = first + static_cast<std::ptrdiff_t>(r) * stride;
            for (std::uint64_t i = 0; i < rowBytes_; ++i) {
                sum_ = sum_ + row[i];
            }
        }
        return true;
    }
    bool end(std::uint32_t) override { return true; }
    bool encoded(EncodedPage) override { return true; }
    unsigned sum() const { return sum_; }

  private:
    std::uint64_t rowBytes_;
    std::uint32_t next_ = 0;
    volatile unsigned sum_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input input(data, size);
    if (!input.has(3)) {
        return 0;
    }
    const Layout& layout = kLayouts[input.u8() % std::size(kLayouts)];
    TW_IMAGEINFO info = {};
    info.ImageWidth = input.u16() % 600;  // 0 too: refused
    info.ImageLength = -1;
    info.PixelType = layout.pixelType;
    info.SamplesPerPixel = layout.samples;
    for (TW_INT16 i = 0; i < layout.samples; ++i) {
        info.BitsPerSample[i] = layout.bits;
    }
    info.BitsPerPixel = static_cast<TW_INT16>(layout.samples * layout.bits);
    try {
        const StripFormat format = decideStripFormat(info, nullptr, TWPF_CHOCOLATE);
        TouchingSink sink(rowLayoutOf(format).stride);
        StripAssembler assembler(format, sink);
        while (input.has(kRecordBytes + 2)) {
            TW_IMAGEMEMXFER strip = {};
            strip.Compression = input.u16() % 2 == 0 ? TWCP_NONE : TWCP_JPEG;
            strip.BytesPerRow = input.u32();
            strip.Columns = input.u32();
            strip.Rows = input.u32();
            strip.XOffset = input.u32();
            strip.YOffset = input.u32();
            strip.BytesWritten = input.u32();
            const std::size_t length = std::min<std::size_t>(input.u16(), input.left());
            const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[length + 1]);
            std::memcpy(buffer.get(), input.take(length), length);
            assembler.add(strip, buffer.get(), length);
        }
        assembler.finish();
    } catch (const MessageFailure&) {
    }
    return 0;
}
