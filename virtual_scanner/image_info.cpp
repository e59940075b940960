#include "image_info.h"

#include <cmath>
#include <cstdlib>

#include "page_render.h"

namespace vscan {
namespace {

constexpr double kInchesPerMeter = 0.0254;

TW_FIX32 fix32(double value) {
    const auto bits = static_cast<int32_t>(std::lround(value * 65536.0));
    return {static_cast<TW_INT16>(bits >> 16), static_cast<TW_UINT16>(bits & 0xFFFF)};
}

int32_t read32(const std::vector<uint8_t>& bytes, std::size_t at) {
    return static_cast<int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                static_cast<uint32_t>(bytes[at + 3]) << 24);
}

// Samples of 8 bits for colour, one sample for the rest; the pixel type as its bits give it.
TW_IMAGEINFO described(double xResolution, double yResolution, int32_t width, int32_t length,
                       TW_INT16 bitsPerPixel) {
    TW_IMAGEINFO info = {};
    info.XResolution = fix32(xResolution);
    info.YResolution = fix32(yResolution);
    info.ImageWidth = width;
    info.ImageLength = length;
    const bool colour = bitsPerPixel > 8;
    info.SamplesPerPixel = colour ? 3 : 1;
    for (int i = 0; i < info.SamplesPerPixel; ++i) {
        info.BitsPerSample[i] = colour ? 8 : bitsPerPixel;
    }
    info.BitsPerPixel = bitsPerPixel;
    info.PixelType =
        static_cast<TW_INT16>(colour ? TWPT_RGB : (bitsPerPixel == 1 ? TWPT_BW : TWPT_GRAY));
    info.Compression = TWCP_NONE;
    return info;
}

}  // namespace

TW_IMAGEINFO chartImageInfo(const ScanSettings& settings) {
    const PageSize size = pageSize(settings);
    const TW_INT16 bits =
        settings.pixelType == TWPT_BW ? 1 : (settings.pixelType == TWPT_GRAY ? 8 : 24);
    return described(settings.xResolution, settings.yResolution, size.width, size.height, bits);
}

std::optional<TW_IMAGEINFO> dibImageInfo(const std::vector<uint8_t>& dib) {
    constexpr std::size_t kInfoHeaderSize = 40;
    if (dib.size() < kInfoHeaderSize) {
        return std::nullopt;
    }
    const auto bits = static_cast<TW_INT16>(dib[14] | dib[15] << 8);
    return described(read32(dib, 24) * kInchesPerMeter, read32(dib, 28) * kInchesPerMeter,
                     read32(dib, 4), std::abs(read32(dib, 8)), bits);
}

}  // namespace vscan
