// The virtual scanner's page is what the acquisition tests compare against, so its geometry and
// colors are pinned here independently.
#include <gtest/gtest.h>

#include "page_render.h"
#include "record_bytes.h"

namespace {

using vscan::Rgb;
using vscan::ScanSettings;

TEST(TestChart, PatchesSitWhereTheChartPutsThem) {
    EXPECT_EQ(vscan::chartColor(0.9, 1.5, 100, 100), (Rgb{255, 0, 0}));
    EXPECT_EQ(vscan::chartColor(7.6, 1.5, 100, 100), (Rgb{128, 128, 128}));
    EXPECT_EQ(vscan::chartColor(1.0, 2.5, 100, 100), (Rgb{0, 0, 0}));
    EXPECT_EQ(vscan::chartColor(7.5, 2.5, 100, 100), (Rgb{255, 255, 255}));
    EXPECT_EQ(vscan::chartColor(0.25, 1.5, 100, 100), (Rgb{255, 255, 255}));  // margin
    EXPECT_EQ(vscan::chartColor(4.0, 0.5, 100, 100), (Rgb{0, 0, 0}));         // title bar
}

TEST(TestChart, FineLinesAlternatePerPixelAtAnyResolution) {
    for (double dpi : {75.0, 300.0}) {
        const Rgb first = vscan::chartColor(0.5 + 0.5 / dpi, 5.0, dpi, dpi);
        const Rgb second = vscan::chartColor(0.5 + 1.5 / dpi, 5.0, dpi, dpi);
        EXPECT_EQ(first, (Rgb{0, 0, 0})) << dpi;
        EXPECT_EQ(second, (Rgb{255, 255, 255})) << dpi;
    }
}

TEST(PageRender, SizeFollowsFrameAndResolution) {
    ScanSettings settings;
    settings.xResolution = 200;
    settings.yResolution = 50;
    settings.frameLeft = 1.0;
    settings.frameRight = 3.0;
    settings.frameTop = 2.0;
    settings.frameBottom = 2.5;
    const vscan::PageSize size = vscan::pageSize(settings);
    EXPECT_EQ(size.width, 400);
    EXPECT_EQ(size.height, 25);
    // The frame's top left pixel is the chart's at (1, 2) inches.
    EXPECT_EQ(vscan::pagePixel(settings, 0, 0), vscan::chartColor(1.0025, 2.01, 200, 50));
}

TEST(PageRender, PixelTypesGiveTheirDibLayouts) {
    ScanSettings settings;
    settings.xResolution = settings.yResolution = 10;  // 85 x 110 pixels
    const struct {
        TW_UINT16 pixelType;
        uint16_t bitCount;
        uint32_t colors;
        size_t stride;
    } cases[] = {{TWPT_BW, 1, 2, 12}, {TWPT_GRAY, 8, 256, 88}, {TWPT_RGB, 24, 0, 256}};
    for (const auto& c : cases) {
        settings.pixelType = c.pixelType;
        const std::vector<uint8_t> dib = vscan::renderPage(settings);
        EXPECT_EQ(readUint32(dib, 0), 40u);
        EXPECT_EQ(readUint32(dib, 4), 85u);
        EXPECT_EQ(readUint32(dib, 8), 110u);
        EXPECT_EQ(dib[14], c.bitCount);
        EXPECT_EQ(readUint32(dib, 32), c.colors);
        EXPECT_EQ(dib.size(), 40 + 4 * c.colors + c.stride * 110) << c.pixelType;
    }
}

TEST(PageRender, BlackAndWhiteFollowsTheThreshold) {
    ScanSettings settings;
    settings.pixelType = TWPT_BW;
    // The gray step of 153 lies between x = 4.25 and 5.5 inches at y = 2.25 to 3.
    settings.frameLeft = 4.5;
    settings.frameTop = 2.5;
    settings.threshold = 153;
    EXPECT_EQ(vscan::pagePixel(settings, 0, 0), (Rgb{255, 255, 255}));
    settings.threshold = 154;
    EXPECT_EQ(vscan::pagePixel(settings, 0, 0), (Rgb{0, 0, 0}));
}

}  // namespace
