#include "capability_items.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

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

// The low bytes of `bits` over the start of an item already laid out.
void overwrite(std::vector<std::uint8_t>& item, TW_UINT32 bits) {
    for (std::size_t i = 0; i < std::min<std::size_t>(item.size(), 4); ++i) {
        item[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

// An item of `size` bytes: the low bytes of `bits`, zeros after them.
std::vector<std::uint8_t> numberItem(std::size_t size, TW_UINT32 bits) {
    std::vector<std::uint8_t> bytes(size, 0);
    overwrite(bytes, bits);
    return bytes;
}

// A string that runs to the end of its field: what follows its text is filled, not zeroed.
void fillField(std::vector<std::uint8_t>& item) {
    for (auto& byte : item) {
        if (byte == 0) {
            byte = '~';
        }
    }
}

void putBytes(std::vector<std::uint8_t>& bytes, std::size_t at,
              const std::vector<std::uint8_t>& item) {
    std::copy(item.begin(), item.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

std::size_t itemBytes(TW_UINT16 itemType) {
    return itemType < kItemBytes.size() ? kItemBytes[itemType] : 4;
}

bool isText(TW_UINT16 itemType) { return itemType >= TWTY_STR32 && itemType <= TWTY_STR255; }

std::vector<std::uint8_t> textItem(TW_UINT16 itemType, std::string_view text) {
    std::vector<std::uint8_t> bytes(itemBytes(itemType), 0);
    const std::size_t length = std::min(text.size(), bytes.size() - 1);
    std::memcpy(bytes.data(), text.data(), length);
    return bytes;
}

std::vector<std::uint8_t> frameItem(const double (&edges)[4]) {
    std::vector<std::uint8_t> bytes;
    for (double edge : edges) {
        const std::vector<std::uint8_t> fix32 = numberItem(4, encodeItem(TWTY_FIX32, edge));
        bytes.insert(bytes.end(), fix32.begin(), fix32.end());
    }
    return bytes;
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
    // Each item at the width of the type it is written as: a number encoded as that type, a
    // string or frame cut or padded with zeros.
    const auto sized = [size](std::vector<std::uint8_t> item) {
        item.resize(size, 0);
        return item;
    };
    std::vector<std::vector<std::uint8_t>> items;
    std::vector<std::uint8_t> current;
    if (!values.rawItems.empty() || !values.rawCurrent.empty()) {
        for (const auto& item : values.rawItems) {
            items.push_back(sized(item));
        }
        current = sized(values.rawCurrent);
    } else {
        for (double value : values.list) {
            items.push_back(numberItem(size, encodeItem(type, value)));
        }
        current = numberItem(size, encodeItem(type, values.current));
    }
    if (overrides.item) {
        overwrite(current, *overrides.item);
        if (values.currentIndex < items.size()) {
            items[values.currentIndex] = current;
        }
    }
    if (overrides.unterminated && isText(type)) {
        fillField(current);
        for (auto& item : items) {
            fillField(item);
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
                putBytes(bytes, kEnumerationHeader + i * size, items[i]);
            }
            break;
        case TWON_ARRAY:
            bytes.resize(kArrayHeader + items.size() * size);
            put32(bytes, 2, numItems);
            for (std::size_t i = 0; i < items.size(); ++i) {
                putBytes(bytes, kArrayHeader + i * size, items[i]);
            }
            break;
        case TWON_RANGE:
            bytes.resize(kRangeSize);
            put32(bytes, 2, encodeItem(type, values.min));
            put32(bytes, 6, encodeItem(type, values.max));
            put32(bytes, 10, overrides.step.value_or(encodeItem(type, values.step)));
            put32(bytes, 14, encodeItem(type, values.fallback));
            put32(bytes, 18, encodeItem(type, values.current));
            if (overrides.item) {
                put32(bytes, 18, *overrides.item);
            }
            break;
        default:
            // A TW_ONEVALUE; items wider than its 4-byte Item are stored inline.
            bytes.resize(kOneValueItemOffset + std::max<std::size_t>(size, 4));
            putBytes(bytes, kOneValueItemOffset, current);
            break;
    }
    put16(bytes, 0, type);
    return bytes;
}

}  // namespace vscan
