#include "settings/capability_access.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "settings/capability_requests.h"
#include "settings/little_endian.h"

namespace {

// Offsets into the containers, as the standard lays them out with 2-byte packing.
constexpr std::uint64_t kItemTypeOffset = 0;
constexpr std::uint64_t kOneValueItemOffset = 2;
constexpr std::uint64_t kNumItemsOffset = 2;
constexpr std::uint64_t kCurrentIndexOffset = 6;
constexpr std::uint64_t kItemListOffset = 14;
constexpr SIZE_T kOneValueSize = 6;

constexpr double kFix32Scale = 65536.0;
constexpr double kInt64Limit = 0x1p63;

// Where the current item of a container lies, when the container holds one of an accepted type
// that lies wholly inside its block. Offsets are 64-bit: index times item size cannot wrap.
template <class Accepts>
std::optional<std::uint64_t> currentItemOffset(const LockedBytes& block, TW_UINT16 conType,
                                               std::uint64_t itemSize, Accepts accepts,
                                               TW_UINT16& reportedType) {
    const std::uint8_t* bytes = block.data();
    const std::uint64_t size = block.size();
    std::uint64_t offset = 0;
    switch (conType) {
        case TWON_ENUMERATION: {
            if (size < kItemListOffset) {
                return std::nullopt;
            }
            const TW_UINT32 numItems = get32(bytes + kNumItemsOffset);
            const TW_UINT32 currentIndex = get32(bytes + kCurrentIndexOffset);
            if (currentIndex >= numItems) {
                return std::nullopt;
            }
            offset = kItemListOffset + std::uint64_t{currentIndex} * itemSize;
            break;
        }
        case TWON_ONEVALUE:
            if (size < kOneValueItemOffset) {
                return std::nullopt;
            }
            offset = kOneValueItemOffset;
            break;
        default:
            return std::nullopt;
    }
    reportedType = get16(bytes + kItemTypeOffset);
    if (!accepts(reportedType)) {
        return std::nullopt;
    }
    if (offset > size || size - offset < itemSize) {
        return std::nullopt;
    }
    return offset;
}

// MSG_GETCURRENT, then the current item copied into `value` when the container holds one that
// `accepts` takes. The source's container is freed whatever it held.
template <class Accepts>
bool readCurrentItem(TW_UINT16 capability, TW_UINT16 itemSize, Accepts accepts, void* value,
                     TW_UINT16& reportedType) {
    bool copied = false;
    requestContainer(capability, MSG_GETCURRENT, TWON_ONEVALUE,
                     [&](const LockedBytes* block, TW_UINT16 conType) {
                         if (block == nullptr || !*block) {
                             return;
                         }
                         const auto offset =
                             currentItemOffset(*block, conType, itemSize, accepts, reportedType);
                         if (offset) {
                             std::memcpy(value, block->data() + *offset, itemSize);
                             copied = true;
                         }
                     });
    return copied;
}

}  // namespace

bool isItemTypeCompatible(TW_UINT16 reported, TW_UINT16 requested) {
    if (reported == requested) {
        return true;
    }
    if (reported > TWTY_UINT32 || requested > TWTY_UINT32) {
        return false;
    }
    return itemTypeSize[reported] == itemTypeSize[requested];
}

bool getCapabilityValue(TW_UINT16 capability, TW_UINT16 itemType, void* value) {
    if (itemType >= itemTypeSize.size()) {
        return false;
    }
    const auto accepts = [itemType](TW_UINT16 reported) {
        return isItemTypeCompatible(reported, itemType);
    };
    TW_UINT16 reported = 0;
    return readCurrentItem(capability, itemTypeSize[itemType], accepts, value, reported);
}

bool getFlagValue(TW_UINT16 capability, TW_UINT16* value) {
    const auto accepts = [](TW_UINT16 reported) {
        return isItemTypeCompatible(reported, TWTY_UINT16) || reported == TWTY_BOOL;
    };
    TW_UINT16 item = 0;
    TW_UINT16 reported = 0;
    if (!readCurrentItem(capability, sizeof(item), accepts, &item, reported)) {
        return false;
    }
    *value = reported == TWTY_BOOL ? (item != 0 ? 1 : 0) : item;
    return true;
}

bool setCapabilityValue(TW_UINT16 capability, TW_UINT16 itemType, TW_UINT32 item) {
    std::vector<std::uint8_t> oneValue(kOneValueSize, 0);
    put16(oneValue.data() + kItemTypeOffset, itemType);
    put32(oneValue.data() + kOneValueItemOffset, item);
    return setCapability(capability, TWON_ONEVALUE, oneValue);
}

TW_FIX32 toFix32(double value) {
    // Scaling by 2^16 is exact, and so is the fraction left after truncating toward zero, so
    // comparing that fraction with one half rounds halves away from zero without rounding an
    // intermediate sum the way x * 65536 + 0.5 would. MinGW's round() makes that very error: it
    // takes 0.49999999999999994 to 1.
    const double scaled = value * kFix32Scale;
    // Where there is no such 64-bit integer (NaN, the infinities, magnitudes of 2^63 or more), 0,
    // which is also what the x86 conversion leaves in the low bits.
    if (!(std::fabs(scaled) < kInt64Limit)) {
        return TW_FIX32{0, 0};
    }
    std::int64_t nearest = static_cast<std::int64_t>(scaled);
    const double fraction = scaled - static_cast<double>(nearest);
    if (fraction >= 0.5) {
        ++nearest;
    } else if (fraction <= -0.5) {
        --nearest;
    }
    const auto bits = static_cast<std::uint32_t>(nearest);
    return TW_FIX32{static_cast<TW_INT16>(static_cast<TW_UINT16>(bits >> 16)),
                    static_cast<TW_UINT16>(bits)};
}

double fromFix32(TW_FIX32 value) {
    return static_cast<std::int32_t>(fix32Bits(value)) / kFix32Scale;
}

bool fitsFix32(double value) {
    return std::isfinite(value) &&
           std::fabs(fromFix32(toFix32(value)) - value) <= 0.5 / kFix32Scale;
}
