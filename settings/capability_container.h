// A capability container as data: what a source answered, read from its memory block without
// trusting a single count or offset in it, and the block an application sends with MSG_SET.
#ifndef SCANLINK_SETTINGS_CAPABILITY_CONTAINER_H
#define SCANLINK_SETTINGS_CAPABILITY_CONTAINER_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "twain/twain.h"

// A frame's Left, Top, Right and Bottom, each as the bits of its TW_FIX32 (see below).
using CapabilityFrame = std::array<std::int32_t, 4>;

// The items of a container, in the one list that its item type uses. Integers and BOOL keep their
// value in `numbers`, sign-extended for the signed types; a TW_FIX32 keeps its bits Whole << 16 |
// Frac, which read as a signed number is 65536 times its value; a TW_FRAME keeps those bits for
// each side in `frames`; a string keeps its bytes, in the system's code page, without the
// terminator, in `texts`. No item takes more than eight times the bytes it takes in a block (a
// TWTY_UINT8 takes one there, eight here), so that a container read from a block is never more
// than a small multiple of it. A RANGE holds five numbers: minimum, maximum, step, default and
// current. A ONEVALUE holds one item.
struct CapabilityContainer {
    TW_UINT16 conType = TWON_ONEVALUE;
    TW_UINT16 itemType = TWTY_INT32;
    std::vector<std::int64_t> numbers;
    std::vector<CapabilityFrame> frames;
    std::vector<std::string> texts;
    std::uint32_t currentIndex = 0;  // ENUMERATION only
    std::uint32_t defaultIndex = 0;

    // The count of items, in the list of the item type.
    std::size_t size() const;

    bool operator==(const CapabilityContainer&) const = default;
};

// What reading or laying out a container came to: the container, or why there is none.
struct ContainerResult {
    CapabilityContainer container;
    std::string fault;  // empty when the container is sound

    bool ok() const { return fault.empty(); }
};

// Bytes per item of an item type of the standard; 0 for any other code.
std::uint32_t itemSizeOf(TW_UINT16 itemType);
// TWTY_STR32 to TWTY_STR255.
inline bool isTextItem(TW_UINT16 itemType) {
    return itemType >= TWTY_STR32 && itemType <= TWTY_STR255;
}

// Reads a container of `conType` from `size` bytes at `bytes`, the whole of the source's block.
// Refuses, with the reason, an unknown container or item type, items or headers past the block,
// an index past the items, a string without its terminator, a range of items that are not
// numbers, and a range whose step is 0 or that runs backwards.
ContainerResult readContainer(TW_UINT16 conType, const std::uint8_t* bytes, std::uint64_t size);

// The bytes of a container to send with MSG_SET: a ONEVALUE, ENUMERATION or ARRAY. Refuses, with
// the reason, any other container, an unknown item type, a ONEVALUE without exactly one item, an
// enumeration without items or with an index past them, and a string too long for its field.
struct LaidContainer {
    std::vector<std::uint8_t> bytes;
    std::string fault;
};
LaidContainer layContainer(const CapabilityContainer& container);

#endif
