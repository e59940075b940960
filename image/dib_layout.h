// Where the parts of a packed DIB lie, worked out from its BITMAPINFOHEADER and checked against the
// size of the block that holds it.
#ifndef SCANLINK_IMAGE_DIB_LAYOUT_H
#define SCANLINK_IMAGE_DIB_LAYOUT_H

#include <cstddef>
#include <cstdint>

// Points into the caller's block; valid only while the block stays locked.
struct DibLayout {
    std::int32_t width;
    std::int32_t height;     // positive: rows stored bottom-up; zero or negative: top-down
    std::uint32_t rowCount;  // the absolute value of height
    std::uint16_t bitCount;
    bool indexed;              // BI_RGB at 1, 4 or 8 bits: a color table and an indexed color model
    bool bitFields;            // BI_BITFIELDS: the masks were stored in the block
    std::uint32_t colorCount;  // indexed only
    const std::uint8_t* colorTable;  // indexed only: colorCount RGBQUADs
    std::uint32_t redMask;           // direct only, as are the other two masks
    std::uint32_t greenMask;
    std::uint32_t blueMask;
    const std::uint8_t* pixels;  // the first stored row
    std::uint64_t stride;        // bytes from one stored row to the next
};

// Reads the header at `dib`, a block of `blockSize` bytes (null when the lock gave nothing). Throws
// MessageFailure for a DIB that is refused, including one whose header claims more bytes than the
// block holds; every byte that the row decoders read of an accepted layout lies inside the block.
DibLayout decodeDibLayout(const void* dib, std::size_t blockSize);

// The stored row that becomes consumer row y (0 is the top of the picture), y < rowCount.
const std::uint8_t* dibRowStart(const DibLayout& layout, std::uint32_t y);

#endif
