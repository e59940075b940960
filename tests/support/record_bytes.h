// Fields read back from the bytes of a logged record or a rendered page, which are little-endian
// whatever the host.
#ifndef SCANLINK_TESTS_RECORD_BYTES_H
#define SCANLINK_TESTS_RECORD_BYTES_H

#include <cstddef>
#include <cstdint>
#include <vector>

inline uint32_t readUint32(const std::vector<uint8_t>& bytes, size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

#endif
