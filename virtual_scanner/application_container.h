// The container an application hands over with MSG_SET, read from its global block and never past
// the block's size: a TW_ONEVALUE, TW_ENUMERATION or TW_ARRAY, its items as bytes.
#ifndef VIRTUAL_SCANNER_APPLICATION_CONTAINER_H
#define VIRTUAL_SCANNER_APPLICATION_CONTAINER_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "twain/twain.h"

namespace vscan {

struct GivenContainer {
    TW_UINT16 itemType = 0;
    // Each item's bytes at its type's width; a TW_ONEVALUE of a type narrower than 4 bytes holds
    // only the bytes the type has.
    std::vector<std::vector<std::uint8_t>> items;
    std::size_t currentIndex = 0;  // an enumeration's CurrentIndex, else 0
};

// The container of type `conType` in `block`; none when the block cannot be locked, is too small
// for what its header announces, announces no item, or names a current item it does not hold.
std::optional<GivenContainer> readContainer(TW_UINT16 conType, TW_HANDLE block);

// The low four bytes of an item as the bits of a number.
TW_UINT32 itemBits(const std::vector<std::uint8_t>& item);
// The text of a string item up to its terminator; none when the field holds no terminator.
std::optional<std::string> itemText(const std::vector<std::uint8_t>& item);

}  // namespace vscan

#endif
