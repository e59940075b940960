// The sheet-fed duplex scanner: with duplex on, each sheet gives its front and then its back, and
// each page is the one vscan_expectedPage announced just before it.
#include <gtest/gtest.h>

#include <vector>

#include "app_window.h"
#include "capability_request.h"

namespace {

// The pixels of a 24-bit bottom-up packed DIB as 0xRRGGBB, row by row from the top.
std::vector<uint32_t> pixelsOf(const uint8_t* dib, size_t size) {
    int32_t width = 0;
    int32_t height = 0;
    std::memcpy(&width, dib + 4, 4);
    std::memcpy(&height, dib + 8, 4);
    const size_t stride = ((24 * static_cast<size_t>(width) + 31) / 32) * 4;
    std::vector<uint32_t> pixels;
    if (40 + stride * static_cast<size_t>(height) > size) {
        return pixels;
    }
    for (int32_t row = 0; row < height; ++row) {
        const uint8_t* line = dib + 40 + stride * static_cast<size_t>(height - 1 - row);
        for (int32_t column = 0; column < width; ++column) {
            const uint8_t* bgr = line + 3 * column;
            pixels.push_back(static_cast<uint32_t>(bgr[2]) << 16 | bgr[1] << 8 | bgr[0]);
        }
    }
    return pixels;
}

std::vector<uint32_t> expectedPage() {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels(vscan_expectedPage(nullptr, 0, &width, &height));
    vscan_expectedPage(pixels.data(), pixels.size(), &width, &height);
    return pixels;
}

class DuplexFeeder : public ::testing::Test {
  protected:
    void SetUp() override {
        vscan_setKnob("feeder.sheets", 2);
        app.window = parent.handle();
        ASSERT_EQ(app.openManager(), TWRC_SUCCESS);
        ASSERT_EQ(openByName(app, "Virtual Duplex Feeder"), TWRC_SUCCESS);
        // Small pages keep the comparison quick.
        for (TW_UINT16 cap : {ICAP_XRESOLUTION, ICAP_YRESOLUTION}) {
            ASSERT_EQ(setCapability(app, cap, TWON_ONEVALUE,
                                    oneValue(TWTY_FIX32, item(fix32Bits(100), 4))),
                      TWRC_SUCCESS);
        }
    }
    void TearDown() override { vscan_powerCycle(); }

    void setDuplex(bool on) {
        ASSERT_EQ(setCapability(app, CAP_DUPLEXENABLED, TWON_ONEVALUE,
                                oneValue(TWTY_BOOL, item(on ? 1 : 0, 2))),
                  TWRC_SUCCESS);
    }

    // Enables the source without its interface and transfers every page it announces, each
    // checked against the page announced before it; returns those pages.
    std::vector<std::vector<uint32_t>> scanAll() {
        TW_USERINTERFACE ui = {0, 0, parent.handle()};
        EXPECT_EQ(app.toSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
        MSG message = {};
        EXPECT_TRUE(GetMessageA(&message, {}, 0, 0));
        TW_EVENT event = {&message, MSG_NULL};
        EXPECT_EQ(app.toSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
        EXPECT_EQ(event.TWMessage, MSG_XFERREADY);
        std::vector<std::vector<uint32_t>> pages;
        TW_PENDINGXFERS pending = {};
        do {
            std::vector<uint32_t> expected = expectedPage();
            TW_HANDLE image = {};
            if (app.toSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image) != TWRC_XFERDONE) {
                ADD_FAILURE() << "no page " << pages.size();
                break;
            }
            const auto* dib = static_cast<const uint8_t*>(GlobalLock(image));
            EXPECT_EQ(pixelsOf(dib, GlobalSize(image)), expected) << "page " << pages.size();
            GlobalUnlock(image);
            GlobalFree(image);
            pages.push_back(std::move(expected));
            EXPECT_EQ(app.toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending),
                      TWRC_SUCCESS);
        } while (pending.Count != 0 && pages.size() < 10);
        return pages;
    }

    static std::vector<uint32_t> negative(const std::vector<uint32_t>& page) {
        std::vector<uint32_t> inverted;
        for (uint32_t pixel : page) {
            inverted.push_back(~pixel & 0xFFFFFF);
        }
        return inverted;
    }

    AppWindow parent;
    App app;
};

TEST_F(DuplexFeeder, ItsFeederIsAlwaysThePageSourceAndDuplexStartsOff) {
    EXPECT_EQ(ask(app, MSG_GETCURRENT, CAP_FEEDERENABLED).u16(2), 1);
    EXPECT_EQ(setCapability(app, CAP_FEEDERENABLED, TWON_ONEVALUE, oneValue(TWTY_BOOL, item(0, 2))),
              TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_CAPBADOPERATION);
    EXPECT_EQ(ask(app, MSG_GETCURRENT, CAP_DUPLEX).u16(2), TWDX_1PASSDUPLEX);
    EXPECT_EQ(ask(app, MSG_GETCURRENT, CAP_DUPLEXENABLED).u16(2), 0);
}

TEST_F(DuplexFeeder, TwoSheetsGiveFourPagesFrontThenBackWithDuplexOn) {
    setDuplex(true);
    const auto pages = scanAll();
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(pages[1], negative(pages[0]));
    EXPECT_EQ(pages[3], negative(pages[2]));
    EXPECT_EQ(pages[2], pages[0]);  // the fronts are the same chart
    EXPECT_EQ(ask(app, MSG_GETCURRENT, CAP_FEEDERLOADED).u16(2), 0);
}

TEST_F(DuplexFeeder, TwoSheetsGiveTwoFrontsWithDuplexOff) {
    setDuplex(false);
    const auto pages = scanAll();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1], pages[0]);
    EXPECT_NE(pages[0], negative(pages[0]));
}

}  // namespace
