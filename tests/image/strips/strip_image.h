// A page of random pixels as a memory transfer carries them, cut into strips or tiles the way a
// source fills its buffers, and the rows the assembler must make of it, worked out pixel by pixel
// on their own.
#ifndef SCANLINK_TESTS_STRIP_IMAGE_H
#define SCANLINK_TESTS_STRIP_IMAGE_H

#include <cstdint>
#include <vector>

#include "twain/twain.h"

struct StripImage {
    std::int32_t width;
    std::int32_t height;
    TW_INT16 pixelType;
    TW_INT16 samples;
    TW_INT16 bitsPerSample;
    std::vector<std::uint16_t> values;  // samples per pixel, row by row from the top

    static StripImage random(std::int32_t width, std::int32_t height, TW_INT16 pixelType,
                             TW_INT16 samples, TW_INT16 bitsPerSample, unsigned seed);
    TW_IMAGEINFO info(TW_INT32 statedLength) const;
    // `columns` pixels from (x, y) as the buffers store them, the leftmost in the highest bits.
    std::vector<std::uint8_t> packed(std::int32_t x, std::int32_t y, std::int32_t columns) const;
    // Row y as a DIB stores it: indexes as they are, 16-bit levels to their high byte, RGB as
    // blue, green, red.
    std::vector<std::uint8_t> dibRow(std::int32_t y) const;
};

// A buffer as the source filled it: the record and its bytes.
struct FilledBuffer {
    TW_IMAGEMEMXFER record;
    std::vector<std::uint8_t> bytes;
};

// Strips of `rows` rows (the last one shorter), each row padded to `padding` bytes.
std::vector<FilledBuffer> cutStrips(const StripImage& image, std::int32_t rows,
                                    std::uint32_t padding);
// Tiles of side `side`, band by band from the top, left to right, partial at the edges.
std::vector<FilledBuffer> cutTiles(const StripImage& image, std::int32_t side);

#endif
