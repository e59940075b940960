// Capability values as TWAIN items and containers: encoding a value as an item of a type, reading
// an application's item, and laying out the container a read is answered with.
#ifndef VIRTUAL_SCANNER_CAPABILITY_ITEMS_H
#define VIRTUAL_SCANNER_CAPABILITY_ITEMS_H

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "twain/twain.h"

namespace vscan {

// Bytes per item of a type; 4 for a code the standard does not have.
std::size_t itemBytes(TW_UINT16 itemType);

// The value as the low bytes of an item of `itemType` (a TW_FIX32 Whole low, Frac high); 0 for
// the types that hold no number.
TW_UINT32 encodeItem(TW_UINT16 itemType, double value);
// The number an item of `itemType` holds; none for the types that hold no number.
std::optional<double> decodeItem(TW_UINT16 itemType, TW_UINT32 item);
// The number an application meant by an item it declared as `declared`, for a capability whose
// items are `own`. Two 16-bit integer types read the same bits as the capability's own type, as a
// driver that copies the 16 bits does: TWTY_UINT16 0xFFFF is -1 to a TWTY_INT16 capability.
std::optional<double> requestedValue(TW_UINT16 declared, TW_UINT32 item, TW_UINT16 own);

// Whether items of the type are strings, each zero-terminated inside its fixed field.
bool isText(TW_UINT16 itemType);
// The bytes of an item of a type that holds no number: a string cut to leave room for its
// terminator, or the four edges of a TW_FRAME (Left, Top, Right, Bottom, each a TW_FIX32).
std::vector<std::uint8_t> textItem(TW_UINT16 itemType, std::string_view text);
std::vector<std::uint8_t> frameItem(const double (&edges)[4]);

// Everything a read can be answered with, in the units reported.
struct CapabilityValues {
    TW_UINT16 itemType = 0;
    std::vector<double> list;  // what ENUMERATION and ARRAY list
    // Strings and frames: the items' own bytes, in place of the numbers of `list` and `current`.
    std::vector<std::vector<std::uint8_t>> rawItems;
    std::vector<std::uint8_t> rawCurrent;
    std::vector<std::uint8_t> rawDefault;
    TW_UINT32 currentIndex = 0;
    TW_UINT32 defaultIndex = 0;
    double current = 0;
    double fallback = 0;  // the default
    double min = 0;       // what RANGE gives
    double max = 0;
    double step = 0;
};

// What tests may put into an answer in place of what the values say.
struct ContainerOverrides {
    std::optional<TW_UINT16> itemType;  // the items are written as this type
    std::optional<TW_UINT32> item;      // the bits of the current item
    std::optional<TW_UINT32> currentIndex;
    std::optional<TW_UINT32> numItems;
    std::optional<TW_UINT32> step;  // the bits of a range's StepSize
    bool unterminated = false;      // strings fill their whole field, without a terminator
};

// The bytes of a container of type `conType`; a type the standard does not have is laid out as a
// TW_ONEVALUE.
std::vector<std::uint8_t> layContainer(TW_UINT16 conType, const CapabilityValues& values,
                                       const ContainerOverrides& overrides);

}  // namespace vscan

#endif
