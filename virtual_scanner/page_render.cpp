#include "page_render.h"

#include <algorithm>
#include <cmath>

#include "little_endian.h"

namespace vscan {
namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr double kInchesPerMeter = 39.3700787;

uint8_t luma(Rgb c) {
    return static_cast<uint8_t>((299 * c.red + 587 * c.green + 114 * c.blue + 500) / 1000);
}

uint16_t bitCountOf(TW_UINT16 pixelType) {
    switch (pixelType) {
        case TWPT_BW:
            return 1;
        case TWPT_GRAY:
            return 8;
        default:
            return 24;
    }
}

}  // namespace

uint16_t pixelBits(const ScanSettings& settings) { return bitCountOf(settings.pixelType); }

size_t packedRowBytes(const ScanSettings& settings, int32_t columns) {
    return (static_cast<size_t>(pixelBits(settings)) * static_cast<size_t>(columns) + 7) / 8;
}

void renderMemoryRow(const ScanSettings& s, int32_t row, uint8_t* out) {
    const int32_t width = pageSize(s).width;
    const uint16_t bits = pixelBits(s);
    std::fill(out, out + packedRowBytes(s, width), uint8_t{0});
    for (int32_t column = 0; column < width; ++column) {
        const Rgb c = pagePixel(s, column, row);
        switch (bits) {
            case 1:
                if (c.red != 0) {
                    out[column / 8] |= static_cast<uint8_t>(0x80 >> (column % 8));
                }
                break;
            case 8:
                out[column] = c.red;
                break;
            default:
                out[3 * column] = c.red;
                out[3 * column + 1] = c.green;
                out[3 * column + 2] = c.blue;
                break;
        }
    }
}

PageSize pageSize(const ScanSettings& s) {
    const auto pixels = [](double inches, double resolution) {
        return std::max<int32_t>(1, static_cast<int32_t>(std::lround(inches * resolution)));
    };
    return {pixels(s.frameRight - s.frameLeft, s.xResolution),
            pixels(s.frameBottom - s.frameTop, s.yResolution)};
}

Rgb pagePixel(const ScanSettings& s, int32_t column, int32_t row) {
    Rgb color = chartColor(s.frameLeft + (column + 0.5) / s.xResolution,
                           s.frameTop + (row + 0.5) / s.yResolution, s.xResolution, s.yResolution);
    if (s.backSide) {
        // The back of a sheet shows the chart in negative, so that a test tells the sides apart.
        color = {static_cast<uint8_t>(255 - color.red), static_cast<uint8_t>(255 - color.green),
                 static_cast<uint8_t>(255 - color.blue)};
    }
    switch (s.pixelType) {
        case TWPT_BW: {
            const uint8_t level = luma(color) >= s.threshold ? 255 : 0;
            return {level, level, level};
        }
        case TWPT_GRAY: {
            const uint8_t level = luma(color);
            return {level, level, level};
        }
        default:
            return color;
    }
}

std::vector<uint8_t> renderPage(const ScanSettings& s) {
    const PageSize size = pageSize(s);
    const uint16_t bitCount = bitCountOf(s.pixelType);
    const uint32_t colors = bitCount == 24 ? 0 : (1u << bitCount);
    const size_t stride = ((static_cast<size_t>(bitCount) * size.width + 31) / 32) * 4;
    const size_t pixelsAt = kInfoHeaderSize + 4 * colors;
    std::vector<uint8_t> dib(pixelsAt + stride * size.height, 0);

    put32(dib, 0, kInfoHeaderSize);
    put32(dib, 4, static_cast<uint32_t>(size.width));
    put32(dib, 8, static_cast<uint32_t>(size.height));  // positive: stored bottom-up
    put16(dib, 12, 1);
    put16(dib, 14, bitCount);
    put32(dib, 16, 0);  // BI_RGB
    put32(dib, 20, static_cast<uint32_t>(stride * size.height));
    put32(dib, 24, static_cast<uint32_t>(std::lround(s.xResolution * kInchesPerMeter)));
    put32(dib, 28, static_cast<uint32_t>(std::lround(s.yResolution * kInchesPerMeter)));
    put32(dib, 32, colors);
    for (uint32_t i = 0; i < colors; ++i) {
        const uint8_t level = static_cast<uint8_t>(colors == 2 ? i * 255 : i);
        dib[kInfoHeaderSize + 4 * i] = level;
        dib[kInfoHeaderSize + 4 * i + 1] = level;
        dib[kInfoHeaderSize + 4 * i + 2] = level;
    }

    for (int32_t row = 0; row < size.height; ++row) {
        uint8_t* stored = dib.data() + pixelsAt + stride * (size.height - 1 - row);
        for (int32_t column = 0; column < size.width; ++column) {
            const Rgb c = pagePixel(s, column, row);
            switch (bitCount) {
                case 1:
                    if (c.red != 0) {
                        stored[column / 8] |= static_cast<uint8_t>(0x80 >> (column % 8));
                    }
                    break;
                case 8:
                    stored[column] = c.red;
                    break;
                default:
                    stored[3 * column] = c.blue;
                    stored[3 * column + 1] = c.green;
                    stored[3 * column + 2] = c.red;
                    break;
            }
        }
    }
    return dib;
}

}  // namespace vscan
