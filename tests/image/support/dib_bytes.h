// Packed DIBs assembled byte by byte for tests: a BITMAPINFOHEADER with the fields that the decoder
// reads, then whatever masks, color entries and row bytes a test appends.
#ifndef SCANLINK_TESTS_IMAGE_DIB_BYTES_H
#define SCANLINK_TESTS_IMAGE_DIB_BYTES_H

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;

inline void appendU16(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void appendU32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

inline void appendBytes(std::vector<std::uint8_t>& bytes,
                        std::initializer_list<std::uint8_t> more) {
    bytes.insert(bytes.end(), more);
}

inline void appendZeros(std::vector<std::uint8_t>& bytes, std::size_t count) {
    bytes.insert(bytes.end(), count, 0);
}

inline std::vector<std::uint8_t> infoHeader(std::int32_t width, std::int32_t height,
                                            std::uint16_t bitCount, std::uint32_t compression,
                                            std::uint32_t clrUsed, std::uint32_t biSize = 40) {
    std::vector<std::uint8_t> bytes;
    appendU32(bytes, biSize);
    appendU32(bytes, static_cast<std::uint32_t>(width));
    appendU32(bytes, static_cast<std::uint32_t>(height));
    appendU16(bytes, 1);  // biPlanes
    appendU16(bytes, bitCount);
    appendU32(bytes, compression);
    appendZeros(bytes, 12);  // biSizeImage, biXPelsPerMeter, biYPelsPerMeter
    appendU32(bytes, clrUsed);
    appendU32(bytes, 0);  // biClrImportant
    return bytes;
}

#endif
