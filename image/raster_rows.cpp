#include "image/raster_rows.h"

#include <cstring>

namespace {

std::size_t widthOf(const DibLayout& layout) { return static_cast<std::size_t>(layout.width); }

// The value of pixel x of a row of 1, 4 or 8-bit pixels.
unsigned indexAt(const std::uint8_t* row, std::size_t x, unsigned bits) {
    const std::size_t bit = x * bits;
    return row[bit / 8] >> (8 - bits - bit % 8) & ((1u << bits) - 1);
}

void rgbRow(const DibLayout& layout, const std::uint8_t* row, std::int32_t* out) {
    const std::size_t width = widthOf(layout);
    const std::size_t step = layout.bitCount / 8;
    for (std::size_t x = 0; x < width; ++x, row += step) {
        out[x] = static_cast<std::int32_t>(row[0] | row[1] << 8 | row[2] << 16);
    }
}

void binaryRow(const DibLayout& layout, const std::uint8_t* row, std::uint8_t* out) {
    const std::size_t width = widthOf(layout);
    const std::size_t bytes = (width + 7) / 8;
    std::memcpy(out, row, bytes);
    if (width % 8 != 0) {
        out[bytes - 1] &= static_cast<std::uint8_t>(0xFF00 >> (width % 8));
    }
}

void byteRow(const DibLayout& layout, const std::uint8_t* row, std::uint8_t* out,
             const std::uint8_t* levels) {
    const std::size_t width = widthOf(layout);
    const unsigned bits = layout.bitCount;
    if (bits == 8 && levels == nullptr) {
        std::memcpy(out, row, width);
        return;
    }
    for (std::size_t x = 0; x < width; ++x) {
        const unsigned value = bits == 8 ? row[x] : indexAt(row, x, bits);
        out[x] = levels != nullptr ? levels[value] : static_cast<std::uint8_t>(value);
    }
}

}  // namespace

bool writesStraight(const DibLayout& layout) {
    if (layout.width <= 0 || layout.rowCount == 0) {
        return false;
    }
    if (layout.indexed) {
        return layout.bitCount == 1 || layout.bitCount == 4 || layout.bitCount == 8;
    }
    return !layout.bitFields && (layout.bitCount == 24 || layout.bitCount == 32);
}

void writeRasterRows(const DibLayout& layout, RasterKind kind, const std::uint8_t* first,
                     std::ptrdiff_t stride, std::uint32_t count, void* target,
                     std::size_t targetStride, const std::uint8_t* levels) {
    for (std::uint32_t r = 0; r < count; ++r) {
        const std::uint8_t* row = first + static_cast<std::ptrdiff_t>(r) * stride;
        switch (kind) {
            case RasterKind::Rgb:
                rgbRow(layout, row, static_cast<std::int32_t*>(target) + r * targetStride);
                break;
            case RasterKind::Binary:
                binaryRow(layout, row, static_cast<std::uint8_t*>(target) + r * targetStride);
                break;
            case RasterKind::Gray:
            case RasterKind::Indexed:
                byteRow(layout, row, static_cast<std::uint8_t*>(target) + r * targetStride,
                        kind == RasterKind::Gray ? levels : nullptr);
                break;
        }
    }
}
