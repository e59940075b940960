// Little-endian fields written into the byte images of the records the source hands over.
#ifndef VIRTUAL_SCANNER_LITTLE_ENDIAN_H
#define VIRTUAL_SCANNER_LITTLE_ENDIAN_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vscan {

inline void put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace vscan

#endif
