#include "image/strip_format.h"

#include <gtest/gtest.h>

#include "image/messages.h"

namespace {

TW_IMAGEINFO infoOf(TW_INT16 pixelType, TW_INT16 samples, TW_INT16 bits) {
    TW_IMAGEINFO info = {};
    info.ImageWidth = 10;
    info.ImageLength = 10;
    info.PixelType = pixelType;
    info.SamplesPerPixel = samples;
    for (TW_INT16 i = 0; i < samples && i < 8; ++i) {
        info.BitsPerSample[i] = bits;
    }
    info.BitsPerPixel = static_cast<TW_INT16>(samples * bits);
    return info;
}

TEST(StripFormat, LayoutsTheLibraryDoesNotReadAreRefusedWithTheirReason) {
    const struct {
        const char* name;
        TW_IMAGEINFO info;
        const char* refusal;
    } cases[] = {
        {"planar RGB",
         [] {
             auto i = infoOf(TWPT_RGB, 3, 8);
             i.Planar = 1;
             return i;
         }(),
         kPlanarRefused},
        {"CMY", infoOf(4, 3, 8), kUnsupportedStripLayout},
        {"RGB of 4 bits", infoOf(TWPT_RGB, 3, 4), kUnsupportedStripLayout},
        {"gray of 2 bits", infoOf(TWPT_GRAY, 1, 2), kUnsupportedStripLayout},
        {"bits per pixel that do not add up",
         [] {
             auto i = infoOf(TWPT_GRAY, 1, 8);
             i.BitsPerPixel = 16;
             return i;
         }(),
         kUnsupportedStripLayout},
        {"samples of different sizes",
         [] {
             auto i = infoOf(TWPT_RGB, 3, 8);
             i.BitsPerSample[2] = 16;
             return i;
         }(),
         kUnsupportedStripLayout},
        {"no width",
         [] {
             auto i = infoOf(TWPT_GRAY, 1, 8);
             i.ImageWidth = 0;
             return i;
         }(),
         kUnsupportedStripLayout},
        {"a palette image without a palette", infoOf(TWPT_PALETTE, 1, 8), kUnsupportedStripLayout},
        {"more samples than the record holds", infoOf(TWPT_RGB, 9, 8), kUnsupportedStripLayout},
    };
    for (const auto& c : cases) {
        try {
            decideStripFormat(c.info, nullptr, TWPF_CHOCOLATE);
            ADD_FAILURE() << c.name << " was taken";
        } catch (const MessageFailure& failure) {
            EXPECT_STREQ(failure.text, c.refusal) << c.name;
        }
    }
}

TEST(StripFormat, GrayRowsIndexARampThatVanillaTurnsAround) {
    const struct {
        TW_INT16 bits;
        TW_UINT16 flavor;
        std::uint8_t first;
        std::uint8_t last;
        std::uint32_t colors;
    } cases[] = {
        {1, TWPF_CHOCOLATE, 0, 255, 2},
        {1, TWPF_VANILLA, 255, 0, 2},
        {4, TWPF_CHOCOLATE, 0, 255, 16},
        {8, TWPF_VANILLA, 255, 0, 256},
    };
    for (const auto& c : cases) {
        const auto info = infoOf(c.bits == 1 ? TWPT_BW : TWPT_GRAY, 1, c.bits);
        const StripFormat format = decideStripFormat(info, nullptr, c.flavor);
        const DibLayout layout = rowLayoutOf(format);
        EXPECT_EQ(layout.colorCount, c.colors);
        EXPECT_EQ(layout.bitCount, c.bits);
        EXPECT_EQ(layout.colorTable[0], c.first) << c.bits << " bits";
        EXPECT_EQ(layout.colorTable[4 * (c.colors - 1) + 2], c.last) << c.bits << " bits";
    }
}

TEST(StripFormat, APaletteImageTakesTheSourcesColors) {
    TW_PALETTE8 palette = {};
    palette.NumColors = 3;
    palette.PaletteType = TWPA_RGB;
    palette.Colors[2] = {2, 10, 20, 30};
    const StripFormat format =
        decideStripFormat(infoOf(TWPT_PALETTE, 1, 4), &palette, TWPF_CHOCOLATE);
    const DibLayout layout = rowLayoutOf(format);
    EXPECT_EQ(layout.colorCount, 3u);
    EXPECT_EQ(layout.colorTable[8], 30);  // blue
    EXPECT_EQ(layout.colorTable[9], 20);
    EXPECT_EQ(layout.colorTable[10], 10);  // red
    palette.NumColors = 257;
    EXPECT_THROW(decideStripFormat(infoOf(TWPT_PALETTE, 1, 8), &palette, TWPF_CHOCOLATE),
                 MessageFailure);
}

TEST(StripFormat, AnUnknownOrNegativeLengthGivesNoHint) {
    for (const TW_INT32 length : {-1, -5, 0}) {
        auto info = infoOf(TWPT_GRAY, 1, 8);
        info.ImageLength = length;
        EXPECT_EQ(decideStripFormat(info, nullptr, TWPF_CHOCOLATE).heightHint, 0u) << length;
    }
}

}  // namespace
