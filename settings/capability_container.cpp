#include "settings/capability_container.h"

#include <cstring>
#include <iterator>

#include "settings/little_endian.h"

namespace {

// Offsets as the standard lays the containers out, with 2-byte packing.
constexpr std::uint64_t kItemTypeOffset = 0;
constexpr std::uint64_t kOneValueItemOffset = 2;
constexpr std::uint64_t kOneValueItemField = 4;  // TW_UINT32 Item; larger items lie in its place
constexpr std::uint64_t kNumItemsOffset = 2;
constexpr std::uint64_t kCurrentIndexOffset = 6;
constexpr std::uint64_t kDefaultIndexOffset = 10;
constexpr std::uint64_t kEnumerationItemsOffset = 14;
constexpr std::uint64_t kArrayItemsOffset = 6;
constexpr std::uint64_t kRangeFieldsOffset = 2;
constexpr std::uint64_t kRangeFields = 5;  // min, max, step, default, current
constexpr std::uint64_t kRangeFieldSize = 4;

bool isNumber(TW_UINT16 itemType) { return itemType <= TWTY_FIX32; }

// The number an item of at most four bytes holds, read from its first bytes.
std::int64_t numberAt(TW_UINT16 itemType, const std::uint8_t* at) {
    switch (itemType) {
        case TWTY_INT8:
            return static_cast<std::int8_t>(at[0]);
        case TWTY_INT16:
            return static_cast<std::int16_t>(get16(at));
        case TWTY_INT32:
            return static_cast<std::int32_t>(get32(at));
        case TWTY_FIX32:  // Whole, then Frac: as one 32-bit number, Whole is the high half
            return static_cast<std::int32_t>(get16(at) << 16 | get16(at + 2));
        case TWTY_UINT8:
            return at[0];
        case TWTY_UINT32:
            return get32(at);
        default:  // TWTY_UINT16, TWTY_BOOL
            return get16(at);
    }
}

void putNumber(TW_UINT16 itemType, std::uint8_t* at, std::int64_t number) {
    const auto bits = static_cast<std::uint32_t>(number);
    switch (itemSizeOf(itemType)) {
        case 1:
            at[0] = static_cast<std::uint8_t>(bits);
            break;
        case 2:
            put16(at, bits);
            break;
        default:
            if (itemType == TWTY_FIX32) {
                put16(at, bits >> 16);
                put16(at + 2, bits);
            } else {
                put32(at, bits);
            }
    }
}

// Appends the item of the container's type that lies in the `itemSize` bytes at `at`; false for a
// string that fills its field without a terminator.
bool readItem(CapabilityContainer& container, const std::uint8_t* at, std::uint32_t itemSize) {
    if (isTextItem(container.itemType)) {
        const void* end = std::memchr(at, 0, itemSize);
        if (end == nullptr) {
            return false;
        }
        container.texts.emplace_back(reinterpret_cast<const char*>(at),
                                     static_cast<const std::uint8_t*>(end) - at);
    } else if (container.itemType == TWTY_FRAME) {
        CapabilityFrame& frame = container.frames.emplace_back();
        for (std::size_t side = 0; side < frame.size(); ++side) {
            frame[side] = static_cast<std::int32_t>(numberAt(TWTY_FIX32, at + 4 * side));
        }
    } else {
        container.numbers.push_back(numberAt(container.itemType, at));
    }
    return true;
}

void writeItem(const CapabilityContainer& container, std::size_t index, std::uint8_t* at) {
    if (isTextItem(container.itemType)) {
        const std::string& text = container.texts[index];
        std::memcpy(at, text.data(), text.size());  // the field is zero-filled
    } else if (container.itemType == TWTY_FRAME) {
        const CapabilityFrame& frame = container.frames[index];
        for (std::size_t side = 0; side < frame.size(); ++side) {
            putNumber(TWTY_FIX32, at + 4 * side, frame[side]);
        }
    } else {
        putNumber(container.itemType, at, container.numbers[index]);
    }
}

ContainerResult refused(std::string fault) { return ContainerResult{{}, std::move(fault)}; }

// `count` items from `offset` on, each read whole from inside the block.
ContainerResult readItems(ContainerResult result, const std::uint8_t* bytes, std::uint64_t size,
                          std::uint64_t offset, std::uint64_t count) {
    const std::uint32_t itemSize = itemSizeOf(result.container.itemType);
    // Division, not multiplication: a count near 2^32 cannot wrap the bound.
    if (offset > size || (size - offset) / itemSize < count) {
        return refused(std::to_string(count) + " items of " + std::to_string(itemSize) +
                       " bytes do not fit the " + std::to_string(size) + " bytes of the block");
    }
    CapabilityContainer& container = result.container;
    if (isTextItem(container.itemType)) {
        container.texts.reserve(count);
    } else if (container.itemType == TWTY_FRAME) {
        container.frames.reserve(count);
    } else {
        container.numbers.reserve(count);
    }
    for (std::uint64_t i = 0; i < count; ++i) {
        if (!readItem(container, bytes + offset + i * itemSize, itemSize)) {
            return refused("item " + std::to_string(i) + " is a string without its terminator");
        }
    }
    return result;
}

ContainerResult readRange(ContainerResult result, const std::uint8_t* bytes, std::uint64_t size) {
    const TW_UINT16 itemType = result.container.itemType;
    if (!isNumber(itemType)) {
        return refused("a range of items of type " + std::to_string(itemType) +
                       ", which are not numbers");
    }
    if (size < kRangeFieldsOffset + kRangeFields * kRangeFieldSize) {
        return refused("a range in a block of " + std::to_string(size) + " bytes");
    }
    auto& numbers = result.container.numbers;
    numbers.resize(kRangeFields);
    for (std::uint64_t i = 0; i < kRangeFields; ++i) {
        numbers[i] = numberAt(itemType, bytes + kRangeFieldsOffset + i * kRangeFieldSize);
    }
    const std::int64_t min = numbers[0];
    const std::int64_t max = numbers[1];
    const std::int64_t step = numbers[2];
    if (min > max) {
        return refused("a range whose minimum exceeds its maximum");
    }
    if (step < 0 || (step == 0 && min != max)) {
        return refused("a range whose step is " + std::to_string(step));
    }
    return result;
}

}  // namespace

std::size_t CapabilityContainer::size() const {
    return isTextItem(itemType)     ? texts.size()
           : itemType == TWTY_FRAME ? frames.size()
                                    : numbers.size();
}

std::uint32_t itemSizeOf(TW_UINT16 itemType) {
    constexpr std::uint32_t sizes[] = {1, 2, 4, 1, 2, 4, 2, 4, 16, 34, 66, 130, 256};
    return itemType < std::size(sizes) ? sizes[itemType] : 0;
}

ContainerResult readContainer(TW_UINT16 conType, const std::uint8_t* bytes, std::uint64_t size) {
    if (conType < TWON_ARRAY || conType > TWON_RANGE) {
        return refused("unknown container type " + std::to_string(conType));
    }
    if (bytes == nullptr || size < kItemTypeOffset + 2) {
        return refused("a container of " + std::to_string(bytes ? size : 0) + " bytes");
    }
    ContainerResult result;
    result.container.conType = conType;
    result.container.itemType = static_cast<TW_UINT16>(get16(bytes + kItemTypeOffset));
    if (itemSizeOf(result.container.itemType) == 0) {
        return refused("unknown item type " + std::to_string(result.container.itemType));
    }
    switch (conType) {
        case TWON_ONEVALUE:
            return readItems(std::move(result), bytes, size, kOneValueItemOffset, 1);
        case TWON_RANGE:
            return readRange(std::move(result), bytes, size);
        case TWON_ARRAY:
            if (size < kArrayItemsOffset) {
                return refused("an array in a block of " + std::to_string(size) + " bytes");
            }
            return readItems(std::move(result), bytes, size, kArrayItemsOffset,
                             get32(bytes + kNumItemsOffset));
        default: {
            if (size < kEnumerationItemsOffset) {
                return refused("an enumeration in a block of " + std::to_string(size) + " bytes");
            }
            const std::uint32_t count = get32(bytes + kNumItemsOffset);
            result.container.currentIndex = get32(bytes + kCurrentIndexOffset);
            result.container.defaultIndex = get32(bytes + kDefaultIndexOffset);
            for (const std::uint32_t index :
                 {result.container.currentIndex, result.container.defaultIndex}) {
                if (index >= count) {
                    return refused("index " + std::to_string(index) + " past the " +
                                   std::to_string(count) + " items of an enumeration");
                }
            }
            return readItems(std::move(result), bytes, size, kEnumerationItemsOffset, count);
        }
    }
}

LaidContainer layContainer(const CapabilityContainer& container) {
    const std::uint32_t itemSize = itemSizeOf(container.itemType);
    if (itemSize == 0) {
        return {{}, "unknown item type " + std::to_string(container.itemType)};
    }
    const std::size_t count = container.size();
    for (const std::string& text : container.texts) {
        if (isTextItem(container.itemType) && text.size() >= itemSize) {
            return {{},
                    "a string of " + std::to_string(text.size()) +
                        " bytes does not fit a field of " + std::to_string(itemSize)};
        }
    }
    std::uint64_t offset = 0;
    switch (container.conType) {
        case TWON_ONEVALUE:
            if (count != 1) {
                return {{}, "a one-value container with " + std::to_string(count) + " items"};
            }
            offset = kOneValueItemOffset;
            break;
        case TWON_ENUMERATION:
            if (container.currentIndex >= count || container.defaultIndex >= count) {
                return {{}, "an enumeration index past its " + std::to_string(count) + " items"};
            }
            offset = kEnumerationItemsOffset;
            break;
        case TWON_ARRAY:
            offset = kArrayItemsOffset;
            break;
        default:
            return {{},
                    "a container of type " + std::to_string(container.conType) + " cannot be set"};
    }
    const std::uint64_t itemBytes =
        container.conType == TWON_ONEVALUE && itemSize < kOneValueItemField ? kOneValueItemField
                                                                            : itemSize;
    LaidContainer laid;
    laid.bytes.assign(offset + itemBytes * count, 0);
    std::uint8_t* bytes = laid.bytes.data();
    put16(bytes + kItemTypeOffset, container.itemType);
    if (container.conType != TWON_ONEVALUE) {
        put32(bytes + kNumItemsOffset, static_cast<std::uint32_t>(count));
    }
    if (container.conType == TWON_ENUMERATION) {
        put32(bytes + kCurrentIndexOffset, container.currentIndex);
        put32(bytes + kDefaultIndexOffset, container.defaultIndex);
    }
    for (std::size_t i = 0; i < count; ++i) {
        writeItem(container, i, bytes + offset + i * itemBytes);
    }
    return laid;
}
