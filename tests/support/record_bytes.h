// Fields read back from the bytes of a logged record or a rendered page, which are little-endian
// whatever the host.
#ifndef SCANLINK_TESTS_RECORD_BYTES_H
#define SCANLINK_TESTS_RECORD_BYTES_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

inline uint32_t readUint32(const std::vector<uint8_t>& bytes, size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

// The bytes of a handle as a record carries it: 4 on the POSIX host and on 32-bit Windows, 8 on
// 64-bit Windows.
template <class Handle>
std::vector<uint8_t> handleBytes(Handle handle) {
    std::vector<uint8_t> bytes(sizeof(handle));
    std::memcpy(bytes.data(), &handle, sizeof(handle));
    return bytes;
}

#endif
