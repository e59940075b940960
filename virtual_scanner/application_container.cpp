#include "application_container.h"

#include <algorithm>

#include "capability_items.h"

namespace vscan {
namespace {

constexpr std::size_t kItemTypeSize = 2;
constexpr std::size_t kOneValueHeader = 2;
constexpr std::size_t kArrayHeader = 6;
constexpr std::size_t kEnumerationHeader = 14;

TW_UINT32 read32(const std::uint8_t* bytes) {
    return static_cast<TW_UINT32>(bytes[0]) | static_cast<TW_UINT32>(bytes[1]) << 8 |
           static_cast<TW_UINT32>(bytes[2]) << 16 | static_cast<TW_UINT32>(bytes[3]) << 24;
}

std::optional<GivenContainer> parse(TW_UINT16 conType, const std::uint8_t* bytes,
                                    std::size_t size) {
    if (size < kItemTypeSize) {
        return std::nullopt;
    }
    GivenContainer given;
    given.itemType = static_cast<TW_UINT16>(bytes[0] | bytes[1] << 8);
    const std::size_t width = itemBytes(given.itemType);
    if (conType == TWON_ONEVALUE) {
        // A short type may come in a block cut right after its bytes.
        const std::size_t needed = isText(given.itemType) || given.itemType == TWTY_FRAME
                                       ? width
                                       : std::min<std::size_t>(width, 4);
        if (size - kOneValueHeader < needed) {
            return std::nullopt;
        }
        given.items.emplace_back(bytes + kOneValueHeader, bytes + kOneValueHeader + needed);
        return given;
    }
    if (conType != TWON_ENUMERATION && conType != TWON_ARRAY) {
        return std::nullopt;
    }
    const std::size_t header = conType == TWON_ENUMERATION ? kEnumerationHeader : kArrayHeader;
    if (size < header) {
        return std::nullopt;
    }
    const std::uint64_t count = read32(bytes + 2);
    // The items must fit what is left of the block; 64 bits cannot wrap for any count.
    if (count == 0 || (size - header) / width < count) {
        return std::nullopt;
    }
    if (conType == TWON_ENUMERATION) {
        given.currentIndex = read32(bytes + 6);
        if (given.currentIndex >= count) {
            return std::nullopt;
        }
    }
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint8_t* item = bytes + header + i * width;
        given.items.emplace_back(item, item + width);
    }
    return given;
}

}  // namespace

std::optional<GivenContainer> readContainer(TW_UINT16 conType, TW_HANDLE block) {
    if (!block) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(block));
    if (bytes == nullptr) {
        return std::nullopt;
    }
    auto given = parse(conType, bytes, GlobalSize(block));
    GlobalUnlock(block);
    return given;
}

TW_UINT32 itemBits(const std::vector<std::uint8_t>& item) {
    TW_UINT32 bits = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(item.size(), 4); ++i) {
        bits |= static_cast<TW_UINT32>(item[i]) << (8 * i);
    }
    return bits;
}

std::optional<std::string> itemText(const std::vector<std::uint8_t>& item) {
    const auto end = std::find(item.begin(), item.end(), 0);
    if (end == item.end()) {
        return std::nullopt;
    }
    return std::string(item.begin(), end);
}

}  // namespace vscan
