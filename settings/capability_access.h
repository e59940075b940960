// The one way the library exchanges capability containers with the open source: reading the
// current value of a capability and setting a single value, with the item-type rules and the
// conversions between a double and a TW_FIX32.
#ifndef SCANLINK_SETTINGS_CAPABILITY_ACCESS_H
#define SCANLINK_SETTINGS_CAPABILITY_ACCESS_H

#include <array>
#include <cstdint>

#include "twain/twain.h"

// Bytes per item of each item type, indexed by its TWTY_ code; there is no entry beyond
// TWTY_STR255.
inline constexpr std::array<TW_UINT16, 13> itemTypeSize = {
    1,    // TWTY_INT8
    2,    // TWTY_INT16
    4,    // TWTY_INT32
    1,    // TWTY_UINT8
    2,    // TWTY_UINT16
    4,    // TWTY_UINT32
    2,    // TWTY_BOOL
    4,    // TWTY_FIX32
    16,   // TWTY_FRAME
    34,   // TWTY_STR32
    66,   // TWTY_STR64
    130,  // TWTY_STR128
    256,  // TWTY_STR255
};

// Whether an item the source reported as `reported` may be copied into a variable of type
// `requested`: the same code, or two integer types (TWTY_INT8 to TWTY_UINT32) of the same size.
bool isItemTypeCompatible(TW_UINT16 reported, TW_UINT16 requested);

// Copies the capability's current value, as an item of `itemType`, into `value`, which holds at
// least that item's size. True when a value was copied; on false `value` is left untouched, so
// callers preset it with what they return when the source gives nothing. Needs an open source.
bool getCapabilityValue(TW_UINT16 capability, TW_UINT16 itemType, void* value);

// The current value of a flag capability: like getCapabilityValue with TWTY_UINT16, but an item
// of TWTY_BOOL, the type the standard gives flags, is taken too and stored as 0 or 1.
bool getFlagValue(TW_UINT16 capability, TW_UINT16* value);

// Sends `item` as the one value of the capability, declared as `itemType`. A 16-bit value travels
// zero-extended, a TW_FIX32 packed by packFix32. True when the source took the value.
bool setCapabilityValue(TW_UINT16 capability, TW_UINT16 itemType, TW_UINT32 item);

// The multiple of 1/65536 nearest to `value`, ties away from zero; the scaled value keeps only its
// low 32 bits, and NaN, the infinities and magnitudes of 2^47 or more give 0.
TW_FIX32 toFix32(double value);
// Whole + Frac / 65536, exactly.
double fromFix32(TW_FIX32 value);
// Whether toFix32 carries `value` to its nearest 1/65536 without wrapping: a finite number from
// -32768 to just below 32768.
bool fitsFix32(double value);

// A TW_FIX32 as the number of 1/65536 it holds: Whole high, Frac low.
inline std::uint32_t fix32Bits(TW_FIX32 value) {
    return static_cast<std::uint32_t>(static_cast<TW_UINT16>(value.Whole)) << 16 | value.Frac;
}

// A TW_FIX32 as the 32-bit Item of a TW_ONEVALUE carries it: Whole low, Frac high.
inline TW_UINT32 packFix32(TW_FIX32 value) {
    return static_cast<TW_UINT16>(value.Whole) | static_cast<TW_UINT32>(value.Frac) << 16;
}

#endif
