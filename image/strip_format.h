// How the buffers of an uncompressed memory transfer hold their pixels, decided from the source's
// DAT_IMAGEINFO (and DAT_PALETTE8), and the rows the library makes of them: rows laid out as a DIB
// stores them (1, 4 or 8-bit indexes into a color table, or 24-bit blue, green, red), so that
// whatever takes a DIB's rows takes these.
#ifndef SCANLINK_IMAGE_STRIP_FORMAT_H
#define SCANLINK_IMAGE_STRIP_FORMAT_H

#include <array>
#include <cstdint>

#include "image/dib_layout.h"
#include "twain/twain.h"

// What one pixel of the buffers becomes.
enum class StripSamples {
    AsStored,  // 1, 4 or 8-bit indexes or levels, packed as a DIB packs them
    Gray16,    // a 16-bit level, little-endian, to its 8-bit level
    Rgb24,     // red, green, blue to blue, green, red
    Rgb48,     // 16 bits each, little-endian, to 8
};

struct StripFormat {
    std::int32_t width;
    std::uint32_t heightHint;  // what DAT_IMAGEINFO says; 0 when it says -1 or nothing usable
    std::uint16_t sourceBits;  // per pixel, in the buffers
    std::uint16_t rowBits;     // per pixel, in the rows made
    StripSamples samples;
    std::uint32_t colorCount;  // indexed rows: the entries of `colorTable`, else 0
    std::array<std::uint8_t, 4 * 256> colorTable;  // RGBQUADs
};

// Throws MessageFailure for a layout the library does not read: planar samples, a pixel type
// other than black and white, gray, palette and RGB, bits that do not add up, no width. A palette
// image needs `palette`; black and white and gray read `pixelFlavor` (TWPF_VANILLA: 0 is white).
StripFormat decideStripFormat(const TW_IMAGEINFO& info, const TW_PALETTE8* palette,
                              TW_UINT16 pixelFlavor);

// The rows' layout, pointing into `format`, which must outlive it.
DibLayout rowLayoutOf(const StripFormat& format);

// Bytes of `columns` pixels of `bits` each, as stored.
std::uint64_t packedBytes(std::uint64_t columns, std::uint16_t bits);

// Makes one row of the layout from one full row of the buffers' pixels.
void convertStripRow(const StripFormat& format, const std::uint8_t* stored, std::uint8_t* row);

#endif
