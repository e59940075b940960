// The capabilities of each virtual source, one row each: the item type the standard gives it, how
// it answers MSG_GETCURRENT, what values it takes and which it starts with.
#ifndef VIRTUAL_SCANNER_CAPABILITY_TABLE_H
#define VIRTUAL_SCANNER_CAPABILITY_TABLE_H

#include <span>
#include <string_view>

#include "twain/twain.h"

namespace vscan {

// How a capability's values are bounded, and so how MSG_SET judges a value.
enum class Constraint {
    Flag,      // TRUE or FALSE; any value but 0 is TRUE
    Choice,    // one of the listed codes; anything else is refused
    Steps,     // one of the listed numbers; another number goes to the nearest (TWRC_CHECKSTATUS)
    Range,     // from min to max in steps; a value inside goes to the nearest step, one outside is
               // refused
    Count,     // CAP_XFERCOUNT: -1 (all pages) or 1 to 32767
    ReadOnly,  // what the device is or holds; MSG_SET is refused
    Command,   // a feeder command: TRUE acts, FALSE does nothing; it always reads FALSE
    List,      // CAP_SUPPORTEDCAPS: a read-only array
    Text,      // any string that fits its field with its terminator
    Frame,     // ICAP_FRAMES: the image layout's frame
};

// What a value measures. Lengths are kept in inches and resolutions in dots per inch; both are
// reported and set in ICAP_UNITS, and with TWUN_PIXELS a length counts the pixels of its axis.
enum class Measure { Plain, Width, Height, XResolution, YResolution };

struct CapabilityRow {
    TW_UINT16 id;
    const char* name;  // the standard's name, also the prefix of the capability's knobs
    TW_UINT16 itemType;
    TW_UINT16 currentContainer;  // what MSG_GETCURRENT answers with
    Constraint constraint;
    Measure measure;
    double initial;                  // the device's default, in inches, dots per inch or plain
    std::span<const double> values;  // Choice and Steps: the values the device offers
    double min;                      // Range: the bounds and the step
    double max;
    double step;
};

// The capabilities of the flatbed with its document feeder, and of the sheet-fed duplex scanner.
std::span<const CapabilityRow> flatbedCapabilities();
std::span<const CapabilityRow> duplexFeederCapabilities();
// The row of a capability in `table`, or none when the source does not have it.
const CapabilityRow* findCapability(std::span<const CapabilityRow> table, TW_UINT16 id);

// The strings of a capability whose items are strings: those offered for a Choice, the default
// first; the one value of a Text or ReadOnly capability. Empty for the others.
std::span<const std::string_view> textsOf(TW_UINT16 id);

// The bit depths the device scans each pixel type with; the first is the default.
std::span<const double> bitDepthsFor(TW_UINT16 pixelType);

// The most pages a Count capability takes.
inline constexpr TW_INT16 kMaxTransferCount = 32767;

// The sheet-fed scanner's own capabilities, from CAP_CUSTOMBASE up.
inline constexpr TW_UINT16 kLampOffset = CAP_CUSTOMBASE + 1;   // TWTY_INT8
inline constexpr TW_UINT16 kGammaLevel = CAP_CUSTOMBASE + 2;   // TWTY_UINT8
inline constexpr TW_UINT16 kPageCounter = CAP_CUSTOMBASE + 3;  // TWTY_UINT32
inline constexpr TW_UINT16 kJobName = CAP_CUSTOMBASE + 4;      // TWTY_STR64

// The glass, in inches.
inline constexpr double kGlassWidth = 8.5;
inline constexpr double kGlassHeight = 11.0;

}  // namespace vscan

#endif
