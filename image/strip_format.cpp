#include "image/strip_format.h"

#include <cstring>

#include "image/messages.h"

namespace {

// One row per layout the library reads: the pixel type, the samples per pixel and the bits of
// each, and what the pixels become.
struct AcceptedLayout {
    TW_INT16 pixelType;
    TW_INT16 samplesPerPixel;
    TW_INT16 bitsPerSample;
    StripSamples samples;
    std::uint16_t rowBits;
};
constexpr AcceptedLayout kAccepted[] = {
    {TWPT_BW, 1, 1, StripSamples::AsStored, 1},
    {TWPT_GRAY, 1, 4, StripSamples::AsStored, 4},
    {TWPT_GRAY, 1, 8, StripSamples::AsStored, 8},
    {TWPT_GRAY, 1, 16, StripSamples::Gray16, 8},
    {TWPT_PALETTE, 1, 1, StripSamples::AsStored, 1},
    {TWPT_PALETTE, 1, 4, StripSamples::AsStored, 4},
    {TWPT_PALETTE, 1, 8, StripSamples::AsStored, 8},
    {TWPT_RGB, 3, 8, StripSamples::Rgb24, 24},
    {TWPT_RGB, 3, 16, StripSamples::Rgb48, 24},
};
constexpr std::size_t kMaxSamples = 8;  // the entries of BitsPerSample

[[noreturn]] void refuse(const char* text, const char* reason) {
    throw MessageFailure{text, reason};
}

const AcceptedLayout& acceptedLayout(const TW_IMAGEINFO& info) {
    if (info.Planar != 0 && info.SamplesPerPixel > 1) {
        refuse(kPlanarRefused, "the image info says Planar");
    }
    if (info.SamplesPerPixel < 1 || static_cast<std::size_t>(info.SamplesPerPixel) > kMaxSamples) {
        refuse(kUnsupportedStripLayout, "no samples per pixel, or more than eight");
    }
    for (TW_INT16 i = 1; i < info.SamplesPerPixel; ++i) {
        if (info.BitsPerSample[i] != info.BitsPerSample[0]) {
            refuse(kUnsupportedStripLayout, "samples of different sizes");
        }
    }
    for (const AcceptedLayout& layout : kAccepted) {
        if (layout.pixelType == info.PixelType && layout.samplesPerPixel == info.SamplesPerPixel &&
            layout.bitsPerSample == info.BitsPerSample[0] &&
            info.BitsPerPixel == layout.samplesPerPixel * layout.bitsPerSample) {
            return layout;
        }
    }
    refuse(kUnsupportedStripLayout, "a pixel type, samples and bits that no row of the table has");
}

void putEntry(StripFormat& format, std::uint32_t index, std::uint8_t red, std::uint8_t green,
              std::uint8_t blue) {
    format.colorTable[4 * index] = blue;
    format.colorTable[4 * index + 1] = green;
    format.colorTable[4 * index + 2] = red;
}

// Black and white and gray rows index an even ramp of grays; vanilla pixels count from white.
void fillGrayRamp(StripFormat& format, bool vanilla) {
    const std::uint32_t steps = format.colorCount - 1;
    for (std::uint32_t i = 0; i < format.colorCount; ++i) {
        const auto level = static_cast<std::uint8_t>((vanilla ? steps - i : i) * 255 / steps);
        putEntry(format, i, level, level, level);
    }
}

void fillPalette(StripFormat& format, const TW_PALETTE8* palette) {
    if (palette == nullptr || palette->NumColors == 0 || palette->NumColors > 256) {
        refuse(kUnsupportedStripLayout, "a palette image without a palette of 1 to 256 colors");
    }
    format.colorCount = palette->NumColors;
    const bool gray = palette->PaletteType == TWPA_GRAY;
    for (std::uint32_t i = 0; i < format.colorCount; ++i) {
        const TW_ELEMENT8& color = palette->Colors[i];
        putEntry(format, i, color.Channel1, gray ? color.Channel1 : color.Channel2,
                 gray ? color.Channel1 : color.Channel3);
    }
}

}  // namespace

std::uint64_t packedBytes(std::uint64_t columns, std::uint16_t bits) {
    return (columns * bits + 7) / 8;
}

StripFormat decideStripFormat(const TW_IMAGEINFO& info, const TW_PALETTE8* palette,
                              TW_UINT16 pixelFlavor) {
    if (info.ImageWidth <= 0) {
        refuse(kUnsupportedStripLayout, "an image width of 0 or less");
    }
    const AcceptedLayout& accepted = acceptedLayout(info);
    StripFormat format{};
    format.width = info.ImageWidth;
    format.heightHint = info.ImageLength > 0 ? static_cast<std::uint32_t>(info.ImageLength) : 0;
    format.sourceBits = static_cast<std::uint16_t>(info.BitsPerPixel);
    format.rowBits = accepted.rowBits;
    format.samples = accepted.samples;
    if (accepted.pixelType == TWPT_PALETTE) {
        fillPalette(format, palette);
    } else if (accepted.rowBits <= 8) {
        format.colorCount = 1u << accepted.rowBits;
        fillGrayRamp(format, pixelFlavor == TWPF_VANILLA);
    }
    return format;
}

DibLayout rowLayoutOf(const StripFormat& format) {
    DibLayout layout{};
    layout.width = format.width;
    layout.bitCount = format.rowBits;
    layout.indexed = format.colorCount != 0;
    layout.colorCount = format.colorCount;
    layout.colorTable = layout.indexed ? format.colorTable.data() : nullptr;
    if (!layout.indexed) {
        layout.redMask = 0xFF0000;
        layout.greenMask = 0x00FF00;
        layout.blueMask = 0x0000FF;
    }
    layout.stride = packedBytes(static_cast<std::uint64_t>(format.width), format.rowBits);
    return layout;
}

void convertStripRow(const StripFormat& format, const std::uint8_t* stored, std::uint8_t* row) {
    const auto width = static_cast<std::size_t>(format.width);
    switch (format.samples) {
        case StripSamples::AsStored:
            std::memcpy(row, stored, packedBytes(width, format.sourceBits));
            break;
        case StripSamples::Gray16:
            for (std::size_t x = 0; x < width; ++x) {
                row[x] = stored[2 * x + 1];
            }
            break;
        case StripSamples::Rgb24:
            for (std::size_t x = 0; x < width; ++x, stored += 3, row += 3) {
                row[0] = stored[2];
                row[1] = stored[1];
                row[2] = stored[0];
            }
            break;
        case StripSamples::Rgb48:
            for (std::size_t x = 0; x < width; ++x, stored += 6, row += 3) {
                row[0] = stored[5];
                row[1] = stored[3];
                row[2] = stored[1];
            }
            break;
    }
}
