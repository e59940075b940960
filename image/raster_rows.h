// Rows laid out as a DIB stores them, written into the pixels of a page's Java image as its raster
// holds them, with the colors the ImageConsumer protocol gives them: what BufferedImageConsumer
// would make of the same rows, without a Java array per row.
#ifndef SCANLINK_IMAGE_RASTER_ROWS_H
#define SCANLINK_IMAGE_RASTER_ROWS_H

#include <cstddef>
#include <cstdint>

#include "image/dib_layout.h"

// The kinds of raster a page's image has (PageRaster's), as the binding numbers them.
enum class RasterKind : std::int32_t {
    Rgb = 0,      // an int per pixel, 0xRRGGBB
    Gray = 1,     // a byte per pixel, the gray level of the pixel value
    Indexed = 2,  // a byte per pixel, the pixel value
    Binary = 3,   // a bit per pixel, eight to the byte, the leftmost in the highest bit
};

// Whether the rows of `layout` can be written straight into a raster: indexes into a color table
// at 1, 4 or 8 bits, or 24- and 32-bit pixels without masks of their own, each with a width.
bool writesStraight(const DibLayout& layout);

// Writes `count` rows, each `stride` bytes after the one before, to the raster's rows from the
// one at `target` on, `targetStride` elements apart. `levels` maps a pixel value to its gray
// level for a Gray raster (null when they are the same).
void writeRasterRows(const DibLayout& layout, RasterKind kind, const std::uint8_t* first,
                     std::ptrdiff_t stride, std::uint32_t count, void* target,
                     std::size_t targetStride, const std::uint8_t* levels);

#endif
