#include <cmath>
#include <cstring>
#include <limits>

#include "session/acquisition.h"
#include "session/twain_session.h"
#include "settings/capability_access.h"
#include "settings_support.h"

namespace {

bool setFrame(double left, double top, double right, double bottom) {
    return Java_QZ_korvel_twain_TwainEx_setFrame(nullptr, nullptr, left, top, right, bottom) ==
           JNI_TRUE;
}

class Frame : public Scenario {
  protected:
    // The layout of the first DAT_IMAGELAYOUT / MSG_SET the source received.
    static TW_IMAGELAYOUT sentLayout() {
        for (const Triplet& t : requests()) {
            if (t.is(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET)) {
                TW_IMAGELAYOUT layout = {};
                EXPECT_EQ(t.data.size(), sizeof(layout));
                std::memcpy(&layout, t.data.data(), std::min(t.data.size(), sizeof(layout)));
                return layout;
            }
        }
        ADD_FAILURE() << "no image layout was sent";
        return {};
    }
};

struct Edges {
    TW_INT16 left, top, right, bottom;
};

void expectWholeEdges(const TW_IMAGELAYOUT& layout, Edges expected) {
    EXPECT_EQ(layout.Frame.Left.Whole, expected.left);
    EXPECT_EQ(layout.Frame.Top.Whole, expected.top);
    EXPECT_EQ(layout.Frame.Right.Whole, expected.right);
    EXPECT_EQ(layout.Frame.Bottom.Whole, expected.bottom);
    EXPECT_EQ(layout.Frame.Left.Frac | layout.Frame.Top.Frac | layout.Frame.Right.Frac |
                  layout.Frame.Bottom.Frac,
              0);
    EXPECT_EQ(layout.DocumentNumber, 1u);
    EXPECT_EQ(layout.PageNumber, 1u);
    EXPECT_EQ(layout.FrameNumber, 1u);
}

TEST_F(Frame, BeforeRegisterNothingIsSent) {
    EXPECT_FALSE(setFrame(0, 0, 8, 11));
    EXPECT_EQ(twainSession.resultCode, TWRC_FAILURE);
    EXPECT_EQ(twainSession.conditionCode, TWCC_BUMMER);
    EXPECT_EQ(vscan_logSize(), 0u);
}

TEST_F(Frame, FractionsAreDroppedAndTheSourceTakesTheFrame) {
    openDemoSource();
    EXPECT_TRUE(setFrame(0.5, 0.5, 8.5, 11.7));
    EXPECT_EQ(twainSession.resultCode, TWRC_SUCCESS);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 3u) << requestNames();
    EXPECT_EQ(sent[2].header.destinationId, twainSession.sourceIdentity.Id);
    const auto expected = std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0, 11, 0,
                                               0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0,  0};
    EXPECT_EQ(sent[2].data, expected);
    expectWholeEdges(currentLayout(), {0, 0, 8, 11});
}

TEST_F(Frame, TruncationTowardZeroThenTheLowSixteenBits) {
    openDemoSource();
    const struct {
        double left, top, right, bottom;
        Edges sent;
    } cases[] = {
        {-0.9, -2.5, 0.99, -1.7, {0, -2, 0, -1}},
        {32768.0, 65536.0 + 3, -32768.0 - 1, 1e10, {-32768, 3, 32767, -7168}},
        {std::numeric_limits<double>::quiet_NaN(),
         std::numeric_limits<double>::infinity(),
         -std::numeric_limits<double>::infinity(),
         std::ldexp(1.0, 63),
         {0, 0, 0, 0}},
        {-std::ldexp(1.0, 63),
         std::ldexp(1.0, 63) - 1024,
         -(std::ldexp(1.0, 63) - 1024),
         1e300,
         {0, -1024, 1024, 0}},
    };
    for (const auto& c : cases) {
        resetScanner();
        setFrame(c.left, c.top, c.right, c.bottom);
        SCOPED_TRACE(::testing::Message()
                     << c.left << ", " << c.top << ", " << c.right << ", " << c.bottom);
        expectWholeEdges(sentLayout(), c.sent);
    }
}

TEST_F(Frame, TheSourceCutsFramesToItsGlassAndRefusesEmptyOnes) {
    openDemoSource();
    EXPECT_TRUE(setFrame(-2, 1, 20, 3));
    EXPECT_EQ(twainSession.resultCode, TWRC_CHECKSTATUS);
    const TW_IMAGELAYOUT cut = currentLayout();
    EXPECT_EQ(fromFix32(cut.Frame.Left), 0.0);
    EXPECT_EQ(fromFix32(cut.Frame.Top), 1.0);
    EXPECT_EQ(fromFix32(cut.Frame.Right), 8.5);
    EXPECT_EQ(fromFix32(cut.Frame.Bottom), 3.0);

    EXPECT_FALSE(setFrame(4, 4, 2, 6));  // right of left
    EXPECT_EQ(twainSession.resultCode, TWRC_FAILURE);
    EXPECT_EQ(twainSession.conditionCode, TWCC_BADVALUE);
    EXPECT_FALSE(setFrame(9, 0, 12, 2));  // wholly beside the glass
    EXPECT_EQ(twainSession.conditionCode, TWCC_BADVALUE);
    EXPECT_EQ(fromFix32(currentLayout().Frame.Left), 0.0);  // the last frame taken stays
}

TEST_F(Frame, TheFrameIsInTheCurrentUnits) {
    openDemoSource();
    ASSERT_TRUE(setCapabilityValue(ICAP_UNITS, TWTY_UINT16, TWUN_MILLIMETERS));
    EXPECT_TRUE(setFrame(25, 50, 100, 150));
    EXPECT_EQ(twainSession.resultCode, TWRC_SUCCESS);
    ASSERT_TRUE(setCapabilityValue(ICAP_UNITS, TWTY_UINT16, TWUN_INCHES));
    const TW_IMAGELAYOUT inches = currentLayout();
    EXPECT_NEAR(fromFix32(inches.Frame.Left), 25 / 25.4, 1.0 / 65536);
    EXPECT_NEAR(fromFix32(inches.Frame.Bottom), 150 / 25.4, 1.0 / 65536);

    ASSERT_TRUE(setCapabilityValue(ICAP_UNITS, TWTY_UINT16, TWUN_PIXELS));
    EXPECT_TRUE(setFrame(100, 200, 300, 400));  // at 100 dots per inch
    ASSERT_TRUE(setCapabilityValue(ICAP_UNITS, TWTY_UINT16, TWUN_INCHES));
    expectWholeEdges(currentLayout(), {1, 2, 3, 4});
}

TEST_F(Frame, OnlyAnOpenSourceThatIsNotEnabledTakesAFrame) {
    openDemoSource();
    ASSERT_TRUE(prepareTransfer());
    EXPECT_FALSE(setFrame(1, 1, 2, 2));
    EXPECT_EQ(twainSession.resultCode, TWRC_FAILURE);
    EXPECT_EQ(twainSession.conditionCode, TWCC_SEQERROR);
    EXPECT_EQ(twainSession.state, kStateSourceEnabled);
}

}  // namespace
