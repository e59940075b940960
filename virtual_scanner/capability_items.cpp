#include "capability_items.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "little_endian.h"

namespace vscan {
namespace {

constexpr std::array<std::size_t, 13> kItemBytes = {1, 2, 4, 1, 2, 4, 2, 4, 16, 34, 66, 130, 256};
constexpr std::size_t kOneValueItemOffset = 2;
constexpr std::size_t kEnumerationHeader = 14;
constexpr std::size_t kArrayHeader = 6;
constexpr std::size_t kRangeSize = 22;

// The nearest whole number, or 0 where there is none that fits 64 bits.
int64_t nearestWhole(double value) {
    const double rounded = std::round(value);
    return std::fabs(rounded) < 0x1p63 ? static_cast<int64_t>(rounded) : 0;
}

bool isShortInteger(TW_UINT16 itemType) {
    return itemType == TWTY_INT16 || itemType == TWTY_UINT16 || itemType == TWTY_BOOL;
}

// An item of `size` bytes: the low bytes of `item`, zeros after them (already there).
void putItem(std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t size, TW_UINT32 item) {
    const std::size_t count =
        std::min<std::size_t>({size, 4, bytes.size() - std::min(at, bytes.size())});
    for (std::size_t i = 0; i < count; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(item >> (8 * i));
    }
}

}  // namespace

std::size_t itemBytes(TW_UINT16 itemType) {
    return itemType < kItemBytes.size() ? kItemBytes[itemType] : 4;
}

TW_UINT32 encodeItem(TW_UINT16 itemType, double value) {
    switch (itemType) {
        case TWTY_INT8:
        case TWTY_UINT8:
            return static_cast<TW_UINT32>(nearestWhole(value)) & 0xFF;
        case TWTY_INT16:
        case TWTY_UINT16:
            return static_cast<TW_UINT32>(nearestWhole(value)) & 0xFFFF;
        case TWTY_INT32:
        case TWTY_UINT32:
            return static_cast<TW_UINT32>(nearestWhole(value));
        case TWTY_BOOL:
            return value != 0 ? 1 : 0;
        case TWTY_FIX32: {
            // Whole and Frac together are the value in 1/65536, two's complement.
            const auto bits = static_cast<TW_UINT32>(nearestWhole(value * 65536.0));
            return bits >> 16 | (bits & 0xFFFF) << 16;
        }
        default:
            return 0;
    }
}

std::optional<double> decodeItem(TW_UINT16 itemType, TW_UINT32 item) {
    switch (itemType) {
        case TWTY_INT8:
            return static_cast<int8_t>(item);
        case TWTY_UINT8:
            return static_cast<uint8_t>(item);
        case TWTY_INT16:
            return static_cast<int16_t>(item);
        case TWTY_UINT16:
        case TWTY_BOOL:
            return static_cast<uint16_t>(item);
        case TWTY_INT32:
            return static_cast<int32_t>(item);
        case TWTY_UINT32:
            return item;
        case TWTY_FIX32: {
            const auto scaled = static_cast<int32_t>((item & 0xFFFF) << 16 | item >> 16);
            return scaled / 65536.0;
        }
        default:
            return std::nullopt;
    }
}

std::optional<double> requestedValue(TW_UINT16 declared, TW_UINT32 item, TW_UINT16 own) {
    if (isShortInteger(declared) && isShortInteger(own)) {
        return decodeItem(own, item & 0xFFFF);
    }
    return decodeItem(declared, item);
}

std::vector<std::uint8_t> layContainer(TW_UINT16 conType, const CapabilityValues& values,
                                       const ContainerOverrides& overrides) {
    const TW_UINT16 type = overrides.itemType.value_or(values.itemType);
    const std::size_t size = itemBytes(type);
    std::vector<TW_UINT32> items;
    for (double value : values.list) {
        items.push_back(encodeItem(type, value));
    }
    TW_UINT32 current = encodeItem(type, values.current);
    if (overrides.item) {
        current = *overrides.item;
        if (values.currentIndex < items.size()) {
            items[values.currentIndex] = current;
        }
    }
    const auto numItems = overrides.numItems.value_or(static_cast<TW_UINT32>(items.size()));

    std::vector<std::uint8_t> bytes;
    switch (conType) {
        case TWON_ENUMERATION:
            bytes.resize(kEnumerationHeader + items.size() * size);
            put32(bytes, 2, numItems);
            put32(bytes, 6, overrides.currentIndex.value_or(values.currentIndex));
            put32(bytes, 10, values.defaultIndex);
            for (std::size_t i = 0; i < items.size(); ++i) {
                putItem(bytes, kEnumerationHeader + i * size, size, items[i]);
            }
            break;
        case TWON_ARRAY:
            bytes.resize(kArrayHeader + items.size() * size);
            put32(bytes, 2, numItems);
            for (std::size_t i = 0; i < items.size(); ++i) {
                putItem(bytes, kArrayHeader + i * size, size, items[i]);
            }
            break;
        case TWON_RANGE:
            bytes.resize(kRangeSize);
            put32(bytes, 2, encodeItem(type, values.min));
            put32(bytes, 6, encodeItem(type, values.max));
            put32(bytes, 10, encodeItem(type, values.step));
            put32(bytes, 14, encodeItem(type, values.fallback));
            put32(bytes, 18, current);
            break;
        default:
            // A TW_ONEVALUE; items wider than its 4-byte Item are stored inline.
            bytes.resize(kOneValueItemOffset + std::max<std::size_t>(size, 4));
            putItem(bytes, kOneValueItemOffset, size, current);
            break;
    }
    put16(bytes, 0, type);
    return bytes;
}

}  // namespace vscan
