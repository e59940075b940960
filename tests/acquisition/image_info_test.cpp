// What the virtual source tells with DAT_IMAGEINFO must be the page it then hands over, or the
// driver check would blame the library for the stand-in's mistake: the chart's description against
// the header of the DIB rendered with the same settings.
#include <gtest/gtest.h>

#include "image_info.h"
#include "page_render.h"

namespace {

struct Case {
    TW_UINT16 pixelType;
    double xResolution;
    double yResolution;
    double frameRight;
    TW_INT16 bitsPerPixel;
    TW_INT16 samplesPerPixel;
};

double fromFix32(TW_FIX32 value) { return value.Whole + value.Frac / 65536.0; }

TEST(ImageInfo, TheChartIsDescribedAsItsDibIsRendered) {
    const Case cases[] = {
        {TWPT_BW, 100, 100, 8.5, 1, 1},
        {TWPT_GRAY, 150, 75, 4.25, 8, 1},
        {TWPT_RGB, 75, 300, 2.0, 24, 3},
    };
    for (const Case& c : cases) {
        vscan::ScanSettings settings;
        settings.pixelType = c.pixelType;
        settings.xResolution = c.xResolution;
        settings.yResolution = c.yResolution;
        settings.frameRight = c.frameRight;
        const TW_IMAGEINFO chart = vscan::chartImageInfo(settings);
        const std::optional<TW_IMAGEINFO> dib = vscan::dibImageInfo(vscan::renderPage(settings));
        ASSERT_TRUE(dib.has_value());
        const vscan::PageSize size = vscan::pageSize(settings);
        // The record is packed: its fields are copied out before gtest binds references to them.
        for (const TW_IMAGEINFO& info : {chart, *dib}) {
            EXPECT_EQ(TW_INT32{info.ImageWidth}, size.width) << c.pixelType;
            EXPECT_EQ(TW_INT32{info.ImageLength}, size.height) << c.pixelType;
            EXPECT_EQ(TW_INT16{info.PixelType}, c.pixelType);
            EXPECT_EQ(TW_INT16{info.BitsPerPixel}, c.bitsPerPixel);
            EXPECT_EQ(TW_INT16{info.SamplesPerPixel}, c.samplesPerPixel);
            EXPECT_EQ(TW_UINT16{info.Compression}, TWCP_NONE);
        }
        // The DIB keeps its resolution in whole pixels per metre.
        EXPECT_DOUBLE_EQ(fromFix32(chart.XResolution), c.xResolution);
        EXPECT_DOUBLE_EQ(fromFix32(chart.YResolution), c.yResolution);
        EXPECT_NEAR(fromFix32(dib->XResolution), c.xResolution, 0.02);
        EXPECT_NEAR(fromFix32(dib->YResolution), c.yResolution, 0.02);
    }
}

TEST(ImageInfo, BytesTooShortForAHeaderDescribeNothing) {
    EXPECT_FALSE(vscan::dibImageInfo(std::vector<uint8_t>(39, 0)).has_value());
}

}  // namespace
