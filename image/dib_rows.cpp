#include "image/dib_rows.h"

#include <array>
#include <cstddef>
#include <cstring>

namespace {

// RGBQUAD byte order.
constexpr std::size_t kQuadBlue = 0;
constexpr std::size_t kQuadGreen = 1;
constexpr std::size_t kQuadRed = 2;
constexpr std::size_t kQuadSize = 4;

std::size_t pixelCount(const DibLayout& layout) {
    return layout.width > 0 ? static_cast<std::size_t>(layout.width) : 0;
}

// Each pixel is assembled from its own bytes only, so nothing after the row's last pixel is read.
// Written out per width, so that compilers can merge the byte reads into plain loads.
template <std::size_t kBytes>
std::uint32_t readPixel(const std::uint8_t* p);

template <>
std::uint32_t readPixel<2>(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

template <>
std::uint32_t readPixel<3>(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16;
}

template <>
std::uint32_t readPixel<4>(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

template <std::size_t kBytes>
void unpackWords(const std::uint8_t* row, std::size_t count, std::uint32_t keep, jint* out) {
    for (std::size_t x = 0; x < count; ++x, row += kBytes) {
        out[x] = static_cast<jint>(readPixel<kBytes>(row) & keep);
    }
}

// The pixel values of every byte of 1- or 4-bit pixels, leftmost pixel (most significant bits)
// first.
template <unsigned kBits>
constexpr auto makeExpansion() {
    constexpr unsigned kPerByte = 8 / kBits;
    std::array<std::array<jbyte, kPerByte>, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        for (unsigned k = 0; k < kPerByte; ++k) {
            table[byte][k] =
                static_cast<jbyte>(byte >> (8 - kBits * (k + 1)) & ((1u << kBits) - 1));
        }
    }
    return table;
}

template <unsigned kBits>
constexpr auto kExpansion = makeExpansion<kBits>();

template <unsigned kBits>
void unpackPacked(const std::uint8_t* row, std::size_t count, jbyte* out) {
    constexpr std::size_t kPerByte = 8 / kBits;
    const std::size_t wholeBytes = count / kPerByte;
    for (std::size_t i = 0; i < wholeBytes; ++i, out += kPerByte) {
        std::memcpy(out, kExpansion<kBits>[row[i]].data(), kPerByte);
    }
    const std::size_t rest = count % kPerByte;
    if (rest != 0) {
        std::memcpy(out, kExpansion<kBits>[row[wholeBytes]].data(), rest);
    }
}

}  // namespace

void splitColorTable(const DibLayout& layout, jbyte* red, jbyte* green, jbyte* blue) {
    const std::uint8_t* entry = layout.colorTable;
    for (std::uint32_t i = 0; i < layout.colorCount; ++i, entry += kQuadSize) {
        red[i] = static_cast<jbyte>(entry[kQuadRed]);
        green[i] = static_cast<jbyte>(entry[kQuadGreen]);
        blue[i] = static_cast<jbyte>(entry[kQuadBlue]);
    }
}

void unpackIndexRow(const DibLayout& layout, const std::uint8_t* row, jbyte* out) {
    const std::size_t count = pixelCount(layout);
    switch (layout.bitCount) {
        case 1:
            unpackPacked<1>(row, count, out);
            break;
        case 4:
            unpackPacked<4>(row, count, out);
            break;
        case 8:
            if (count != 0) {
                std::memcpy(out, row, count);
            }
            break;
        default:
            break;
    }
}

void unpackDirectRow(const DibLayout& layout, const std::uint8_t* row, jint* out) {
    const std::size_t count = pixelCount(layout);
    switch (layout.bitCount) {
        case 16:
            unpackWords<2>(row, count, 0xFFFF, out);
            break;
        case 24:
            unpackWords<3>(row, count, 0xFFFFFF, out);
            break;
        case 32:
            unpackWords<4>(row, count, layout.bitFields ? 0xFFFFFFFF : 0x00FFFFFF, out);
            break;
        default:
            break;
    }
}
