// Capability triplets at the byte level: the containers an application builds for MSG_SET and the
// bytes of the ones the source answers with.
#ifndef SCANLINK_TESTS_VIRTUAL_SCANNER_CAPABILITY_REQUEST_H
#define SCANLINK_TESTS_VIRTUAL_SCANNER_CAPABILITY_REQUEST_H

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app.h"

using Bytes = std::vector<uint8_t>;

struct Answer {
    TW_UINT16 result = 0;
    TW_UINT16 conType = 0;
    Bytes bytes;

    uint16_t u16(size_t at) const {
        return static_cast<uint16_t>(bytes.at(at) | bytes.at(at + 1) << 8);
    }
    uint32_t u32(size_t at) const { return u16(at) | static_cast<uint32_t>(u16(at + 2)) << 16; }
    std::string text(size_t at, size_t field) const {
        return std::string(reinterpret_cast<const char*>(bytes.data() + at),
                           strnlen(reinterpret_cast<const char*>(bytes.data() + at), field));
    }
};

// Sends a capability triplet and takes the container the source answers with, freeing its block.
inline Answer ask(App& app, TW_UINT16 msg, TW_UINT16 cap) {
    TW_CAPABILITY request = {cap, 0, {}};
    Answer answer;
    answer.result = app.toSource(DG_CONTROL, DAT_CAPABILITY, msg, &request);
    answer.conType = request.ConType;
    if (answer.result != TWRC_FAILURE && request.hContainer) {
        const auto* block = static_cast<const uint8_t*>(GlobalLock(request.hContainer));
        if (block != nullptr) {
            answer.bytes.assign(block, block + GlobalSize(request.hContainer));
            GlobalUnlock(request.hContainer);
        }
        GlobalFree(request.hContainer);
    }
    return answer;
}

// Little-endian fields written at their offsets (GCC 12 misjudges appending to a vector).
inline void write16(Bytes& bytes, size_t at, uint16_t value) {
    bytes.at(at) = static_cast<uint8_t>(value);
    bytes.at(at + 1) = static_cast<uint8_t>(value >> 8);
}

inline void write32(Bytes& bytes, size_t at, uint32_t value) {
    write16(bytes, at, static_cast<uint16_t>(value));
    write16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

// A header of `header` bytes starting with the item type, then the items one after another.
inline Bytes container(TW_UINT16 type, size_t header, const std::vector<Bytes>& items) {
    size_t size = header;
    for (const Bytes& value : items) {
        size += value.size();
    }
    Bytes bytes(size, 0);
    write16(bytes, 0, type);
    size_t at = header;
    for (const Bytes& value : items) {
        for (uint8_t byte : value) {
            bytes[at++] = byte;
        }
    }
    return bytes;
}

// An item of `size` bytes: the low bytes of `bits`.
inline Bytes item(uint32_t bits, size_t size) {
    Bytes bytes(size, 0);
    for (size_t i = 0; i < size && i < 4; ++i) {
        bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
    }
    return bytes;
}

// A string zero-terminated inside a field of `size` bytes.
inline Bytes textItem(const std::string& text, size_t size) {
    Bytes bytes(size, 0);
    std::memcpy(bytes.data(), text.data(), std::min(text.size(), size));
    return bytes;
}

inline Bytes oneValue(TW_UINT16 type, const Bytes& value) { return container(type, 2, {value}); }

inline Bytes enumeration(TW_UINT16 type, const std::vector<Bytes>& items, uint32_t current) {
    Bytes bytes = container(type, 14, items);
    write32(bytes, 2, static_cast<uint32_t>(items.size()));
    write32(bytes, 6, current);
    return bytes;
}

inline Bytes array(TW_UINT16 type, const std::vector<Bytes>& items) {
    Bytes bytes = container(type, 6, items);
    write32(bytes, 2, static_cast<uint32_t>(items.size()));
    return bytes;
}

// MSG_SET with the container in a block of exactly its bytes.
inline TW_UINT16 setCapability(App& app, TW_UINT16 cap, TW_UINT16 conType, const Bytes& bytes) {
    const HGLOBAL block = GlobalAlloc(GHND, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    TW_CAPABILITY request = {cap, conType, block};
    const TW_UINT16 result = app.toSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &request);
    GlobalFree(block);
    return result;
}

// A TW_FIX32 as the four bytes of an item: Whole, then Frac.
inline uint32_t fix32Bits(double value) {
    const auto scaled = static_cast<int32_t>(value * 65536.0);
    return static_cast<uint32_t>(scaled) >> 16 | (static_cast<uint32_t>(scaled) & 0xFFFF) << 16;
}

// Opens the manager and the source with this ProductName.
inline TW_UINT16 openByName(App& app, const char* name) {
    std::memset(&app.source, 0, sizeof(app.source));
    std::strcpy(app.source.ProductName, name);
    return app.toManager(DAT_IDENTITY, MSG_OPENDS, &app.source);
}

#endif
