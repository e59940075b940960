#include "capability_table.h"

namespace vscan {
namespace {

constexpr double kFix32Unit = 1.0 / 65536;  // the finest step a TW_FIX32 can take

constexpr double kPixelTypes[] = {TWPT_BW, TWPT_GRAY, TWPT_RGB};
constexpr double kUnits[] = {TWUN_INCHES, TWUN_CENTIMETERS, TWUN_PICAS,      TWUN_POINTS,
                             TWUN_TWIPS,  TWUN_PIXELS,      TWUN_MILLIMETERS};
constexpr double kTransferMechanisms[] = {TWSX_NATIVE};
constexpr double kResolutions[] = {75, 100, 150, 200, 300, 400, 600};
constexpr double kFeederResolutions[] = {100, 150, 200, 300, 600};
constexpr double kRotations[] = {0, 90, 180, 270};
constexpr double kOrientations[] = {0, 1, 2, 3};     // TWOR_ROT0 to TWOR_ROT270
constexpr double kBitDepthReductions[] = {0, 1, 3};  // threshold, halftone, diffusion
constexpr double kAllBitDepths[] = {1, 8, 24};
constexpr double kBlackAndWhiteDepths[] = {1};
constexpr double kGrayDepths[] = {8};
constexpr double kColorDepths[] = {24};
constexpr double kGammaLevels[] = {0, 64, 128, 192, 255};

constexpr std::string_view kHalftones[] = {"Bayer", "Spiral", "Diffusion"};
constexpr std::string_view kSerialNumber[] = {"VDF-2026-0042"};
constexpr std::string_view kNoText[] = {""};

using C = Constraint;
using M = Measure;
constexpr TW_UINT16 kOne = TWON_ONEVALUE;
constexpr TW_UINT16 kEnum = TWON_ENUMERATION;
constexpr TW_UINT16 kArray = TWON_ARRAY;

// clang-format off
constexpr CapabilityRow kFlatbed[] = {
    // Capability               Knob prefix                Item type     GETCURRENT  Constraint    Measure          Default        Values                Min     Max    Step
    {CAP_XFERCOUNT,           "CAP_XFERCOUNT",           TWTY_INT16,   kOne,       C::Count,     M::Plain,        -1,            {},                   0,      0,     0},
    {ICAP_PIXELTYPE,          "ICAP_PIXELTYPE",          TWTY_UINT16,  kEnum,      C::Choice,    M::Plain,        TWPT_RGB,      kPixelTypes,          0,      0,     0},
    {ICAP_UNITS,              "ICAP_UNITS",              TWTY_UINT16,  kEnum,      C::Choice,    M::Plain,        TWUN_INCHES,   kUnits,               0,      0,     0},
    {ICAP_XFERMECH,           "ICAP_XFERMECH",           TWTY_UINT16,  kOne,       C::Choice,    M::Plain,        TWSX_NATIVE,   kTransferMechanisms,  0,      0,     0},
    {CAP_FEEDERENABLED,       "CAP_FEEDERENABLED",       TWTY_BOOL,    kOne,       C::Flag,      M::Plain,        0,             {},                   0,      0,     0},
    {CAP_FEEDERLOADED,        "CAP_FEEDERLOADED",        TWTY_BOOL,    kOne,       C::ReadOnly,  M::Plain,        0,             {},                   0,      0,     0},
    {CAP_SUPPORTEDCAPS,       "CAP_SUPPORTEDCAPS",       TWTY_UINT16,  kArray,     C::List,      M::Plain,        0,             {},                   0,      0,     0},
    {CAP_AUTOFEED,            "CAP_AUTOFEED",            TWTY_BOOL,    kOne,       C::Flag,      M::Plain,        1,             {},                   0,      0,     0},
    {CAP_CLEARPAGE,           "CAP_CLEARPAGE",           TWTY_BOOL,    kOne,       C::Command,   M::Plain,        0,             {},                   0,      0,     0},
    {CAP_FEEDPAGE,            "CAP_FEEDPAGE",            TWTY_BOOL,    kOne,       C::Command,   M::Plain,        0,             {},                   0,      0,     0},
    {CAP_REWINDPAGE,          "CAP_REWINDPAGE",          TWTY_BOOL,    kOne,       C::Command,   M::Plain,        0,             {},                   0,      0,     0},
    {CAP_INDICATORS,          "CAP_INDICATORS",          TWTY_BOOL,    kOne,       C::Flag,      M::Plain,        1,             {},                   0,      0,     0},
    {CAP_UICONTROLLABLE,      "CAP_UICONTROLLABLE",      TWTY_BOOL,    kOne,       C::ReadOnly,  M::Plain,        1,             {},                   0,      0,     0},
    {CAP_DEVICEONLINE,        "CAP_DEVICEONLINE",        TWTY_BOOL,    kOne,       C::ReadOnly,  M::Plain,        1,             {},                   0,      0,     0},
    {ICAP_AUTOBRIGHT,         "ICAP_AUTOBRIGHT",         TWTY_BOOL,    kOne,       C::Flag,      M::Plain,        0,             {},                   0,      0,     0},
    {ICAP_BRIGHTNESS,         "ICAP_BRIGHTNESS",         TWTY_FIX32,   kOne,       C::Range,     M::Plain,        0,             {},                   -1000,  1000,  kFix32Unit},
    {ICAP_CONTRAST,           "ICAP_CONTRAST",           TWTY_FIX32,   kOne,       C::Range,     M::Plain,        0,             {},                   -1000,  1000,  kFix32Unit},
    {ICAP_HIGHLIGHT,          "ICAP_HIGHLIGHT",          TWTY_FIX32,   kOne,       C::Range,     M::Plain,        255,           {},                   0,      255,   1},
    {ICAP_ORIENTATION,        "ICAP_ORIENTATION",        TWTY_UINT16,  kOne,       C::Choice,    M::Plain,        0,             kOrientations,        0,      0,     0},
    {ICAP_PHYSICALWIDTH,      "ICAP_PHYSICALWIDTH",      TWTY_FIX32,   kOne,       C::ReadOnly,  M::Width,        kGlassWidth,   {},                   0,      0,     0},
    {ICAP_PHYSICALHEIGHT,     "ICAP_PHYSICALHEIGHT",     TWTY_FIX32,   kOne,       C::ReadOnly,  M::Height,       kGlassHeight,  {},                   0,      0,     0},
    {ICAP_SHADOW,             "ICAP_SHADOW",             TWTY_FIX32,   kOne,       C::Range,     M::Plain,        0,             {},                   0,      255,   1},
    {ICAP_XNATIVERESOLUTION,  "ICAP_XNATIVERESOLUTION",  TWTY_FIX32,   kOne,       C::ReadOnly,  M::XResolution,  600,           {},                   0,      0,     0},
    {ICAP_YNATIVERESOLUTION,  "ICAP_YNATIVERESOLUTION",  TWTY_FIX32,   kOne,       C::ReadOnly,  M::YResolution,  600,           {},                   0,      0,     0},
    {ICAP_XRESOLUTION,        "ICAP_XRESOLUTION",        TWTY_FIX32,   kEnum,      C::Steps,     M::XResolution,  100,           kResolutions,         0,      0,     0},
    {ICAP_YRESOLUTION,        "ICAP_YRESOLUTION",        TWTY_FIX32,   kEnum,      C::Steps,     M::YResolution,  100,           kResolutions,         0,      0,     0},
    {ICAP_ROTATION,           "ICAP_ROTATION",           TWTY_FIX32,   kOne,       C::Steps,     M::Plain,        0,             kRotations,           0,      0,     0},
    {ICAP_THRESHOLD,          "ICAP_THRESHOLD",          TWTY_FIX32,   kOne,       C::Range,     M::Plain,        128,           {},                   0,      255,   1},
    {ICAP_XSCALING,           "ICAP_XSCALING",           TWTY_FIX32,   kOne,       C::Range,     M::Plain,        1,             {},                   0.25,   4,     kFix32Unit},
    {ICAP_YSCALING,           "ICAP_YSCALING",           TWTY_FIX32,   kOne,       C::Range,     M::Plain,        1,             {},                   0.25,   4,     kFix32Unit},
    {ICAP_BITDEPTH,           "ICAP_BITDEPTH",           TWTY_UINT16,  kEnum,      C::Choice,    M::Plain,        24,            kAllBitDepths,        0,      0,     0},
    {ICAP_BITDEPTHREDUCTION,  "ICAP_BITDEPTHREDUCTION",  TWTY_UINT16,  kOne,       C::Choice,    M::Plain,        0,             kBitDepthReductions,  0,      0,     0},
};

// The sheet-fed scanner always takes its pages from the feeder, one side or both.
constexpr CapabilityRow kDuplexFeeder[] = {
    // Capability               Knob prefix                Item type     GETCURRENT  Constraint    Measure          Default        Values                Min     Max          Step
    {CAP_XFERCOUNT,           "CAP_XFERCOUNT",           TWTY_INT16,   kOne,       C::Count,     M::Plain,        -1,            {},                   0,      0,           0},
    {ICAP_PIXELTYPE,          "ICAP_PIXELTYPE",          TWTY_UINT16,  kEnum,      C::Choice,    M::Plain,        TWPT_RGB,      kPixelTypes,          0,      0,           0},
    {ICAP_UNITS,              "ICAP_UNITS",              TWTY_UINT16,  kEnum,      C::Choice,    M::Plain,        TWUN_INCHES,   kUnits,               0,      0,           0},
    {ICAP_XFERMECH,           "ICAP_XFERMECH",           TWTY_UINT16,  kOne,       C::Choice,    M::Plain,        TWSX_NATIVE,   kTransferMechanisms,  0,      0,           0},
    {CAP_FEEDERENABLED,       "CAP_FEEDERENABLED",       TWTY_BOOL,    kOne,       C::ReadOnly,  M::Plain,        1,             {},                   0,      0,           0},
    {CAP_FEEDERLOADED,        "CAP_FEEDERLOADED",        TWTY_BOOL,    kOne,       C::ReadOnly,  M::Plain,        0,             {},                   0,      0,           0},
    {CAP_SUPPORTEDCAPS,       "CAP_SUPPORTEDCAPS",       TWTY_UINT16,  kArray,     C::List,      M::Plain,        0,             {},                   0,      0,           0},
    {CAP_AUTOFEED,            "CAP_AUTOFEED",            TWTY_BOOL,    kOne,       C::ReadOnly,  M::Plain,        1,             {},                   0,      0,           0},
    {CAP_DUPLEX,              "CAP_DUPLEX",              TWTY_UINT16,  kOne,       C::ReadOnly,  M::Plain,        TWDX_1PASSDUPLEX, {},                0,      0,           0},
    {CAP_DUPLEXENABLED,       "CAP_DUPLEXENABLED",       TWTY_BOOL,    kOne,       C::Flag,      M::Plain,        0,             {},                   0,      0,           0},
    {CAP_INDICATORS,          "CAP_INDICATORS",          TWTY_BOOL,    kOne,       C::Flag,      M::Plain,        1,             {},                   0,      0,           0},
    {CAP_UICONTROLLABLE,      "CAP_UICONTROLLABLE",      TWTY_BOOL,    kOne,       C::ReadOnly,  M::Plain,        1,             {},                   0,      0,           0},
    {CAP_DEVICEONLINE,        "CAP_DEVICEONLINE",        TWTY_BOOL,    kOne,       C::ReadOnly,  M::Plain,        1,             {},                   0,      0,           0},
    {CAP_AUTHOR,              "CAP_AUTHOR",              TWTY_STR128,  kOne,       C::Text,      M::Plain,        0,             {},                   0,      0,           0},
    {CAP_CAPTION,             "CAP_CAPTION",             TWTY_STR255,  kOne,       C::Text,      M::Plain,        0,             {},                   0,      0,           0},
    {CAP_SERIALNUMBER,        "CAP_SERIALNUMBER",        TWTY_STR255,  kOne,       C::ReadOnly,  M::Plain,        0,             {},                   0,      0,           0},
    {CAP_ALARMVOLUME,         "CAP_ALARMVOLUME",         TWTY_INT32,   kOne,       C::Range,     M::Plain,        50,            {},                   0,      100,         1},
    {ICAP_PHYSICALWIDTH,      "ICAP_PHYSICALWIDTH",      TWTY_FIX32,   kOne,       C::ReadOnly,  M::Width,        kGlassWidth,   {},                   0,      0,           0},
    {ICAP_PHYSICALHEIGHT,     "ICAP_PHYSICALHEIGHT",     TWTY_FIX32,   kOne,       C::ReadOnly,  M::Height,       kGlassHeight,  {},                   0,      0,           0},
    {ICAP_HALFTONES,          "ICAP_HALFTONES",          TWTY_STR32,   kEnum,      C::Choice,    M::Plain,        0,             {},                   0,      0,           0},
    {ICAP_FRAMES,             "ICAP_FRAMES",             TWTY_FRAME,   kOne,       C::Frame,     M::Plain,        0,             {},                   0,      0,           0},
    {ICAP_XRESOLUTION,        "ICAP_XRESOLUTION",        TWTY_FIX32,   kEnum,      C::Steps,     M::XResolution,  200,           kFeederResolutions,   0,      0,           0},
    {ICAP_YRESOLUTION,        "ICAP_YRESOLUTION",        TWTY_FIX32,   kEnum,      C::Steps,     M::YResolution,  200,           kFeederResolutions,   0,      0,           0},
    {ICAP_THRESHOLD,          "ICAP_THRESHOLD",          TWTY_FIX32,   kOne,       C::Range,     M::Plain,        128,           {},                   0,      255,         1},
    {ICAP_BITDEPTH,           "ICAP_BITDEPTH",           TWTY_UINT16,  kEnum,      C::Choice,    M::Plain,        24,            kAllBitDepths,        0,      0,           0},
    {ICAP_JPEGQUALITY,        "ICAP_JPEGQUALITY",        TWTY_INT16,   kOne,       C::Range,     M::Plain,        75,            {},                   0,      100,         1},
    {kLampOffset,             "CUSTOM_LAMPOFFSET",       TWTY_INT8,    kOne,       C::Range,     M::Plain,        0,             {},                   -100,   100,         1},
    {kGammaLevel,             "CUSTOM_GAMMALEVEL",       TWTY_UINT8,   kEnum,      C::Choice,    M::Plain,        128,           kGammaLevels,         0,      0,           0},
    {kPageCounter,            "CUSTOM_PAGECOUNTER",      TWTY_UINT32,  kOne,       C::Range,     M::Plain,        0,             {},                   0,      4294967295., 1},
    {kJobName,                "CUSTOM_JOBNAME",          TWTY_STR64,   kOne,       C::Text,      M::Plain,        0,             {},                   0,      0,           0},
};
// clang-format on

struct TextRow {
    TW_UINT16 id;
    std::span<const std::string_view> texts;
};

constexpr TextRow kTexts[] = {
    {CAP_AUTHOR, kNoText},        {CAP_CAPTION, kNoText}, {CAP_SERIALNUMBER, kSerialNumber},
    {ICAP_HALFTONES, kHalftones}, {kJobName, kNoText},
};

}  // namespace

std::span<const CapabilityRow> flatbedCapabilities() { return kFlatbed; }
std::span<const CapabilityRow> duplexFeederCapabilities() { return kDuplexFeeder; }

std::span<const std::string_view> textsOf(TW_UINT16 id) {
    for (const TextRow& row : kTexts) {
        if (row.id == id) {
            return row.texts;
        }
    }
    return {};
}

const CapabilityRow* findCapability(std::span<const CapabilityRow> table, TW_UINT16 id) {
    for (const CapabilityRow& row : table) {
        if (row.id == id) {
            return &row;
        }
    }
    return nullptr;
}

std::span<const double> bitDepthsFor(TW_UINT16 pixelType) {
    switch (pixelType) {
        case TWPT_BW:
            return kBlackAndWhiteDepths;
        case TWPT_GRAY:
            return kGrayDepths;
        default:
            return kColorDepths;
    }
}

}  // namespace vscan
