// The scan frame to the fraction of a unit: each edge sent as its nearest TW_FIX32, and the frame
// the source took read back.
#include "settings/image_layout.h"

#include <cstring>

#include "session/acquisition.h"
#include "session/twain_session.h"
#include "settings/capability_access.h"
#include "settings_support.h"

namespace {

class ImageLayout : public Scenario {
  protected:
    // The frame of the last DAT_IMAGELAYOUT / MSG_SET the source received.
    static TW_IMAGELAYOUT lastSentLayout() {
        TW_IMAGELAYOUT layout = {};
        for (const Triplet& t : requests()) {
            if (t.is(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET) && t.data.size() == sizeof(layout)) {
                std::memcpy(&layout, t.data.data(), sizeof(layout));
            }
        }
        return layout;
    }
};

struct Edge {
    double value;
    TW_INT16 whole;
    TW_UINT16 frac;
};

// A4 in inches, and edges whose fractions round up, down and below zero.
TEST_F(ImageLayout, EachEdgeGoesAsItsNearestFix32AndTheSourceTakesIt) {
    openDemoSource();
    const Edge cases[][4] = {
        {{0, 0, 0}, {0, 0, 0}, {8.27, 8, 17695}, {10.69, 10, 45220}},
        {{0.5, 0, 0x8000}, {1.25, 1, 0x4000}, {4.5, 4, 0x8000}, {5.1, 5, 6554}},
        {{-0.25, -1, 0xC000}, {2, 2, 0}, {3.0000076, 3, 0}, {3.0000077, 3, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c[0].value << ", " << c[1].value << ", " << c[2].value
                                          << ", " << c[3].value);
        ASSERT_TRUE(sendFrame(fix32Frame(c[0].value, c[1].value, c[2].value, c[3].value)));
        const TW_IMAGELAYOUT sent = lastSentLayout();
        const TW_FIX32 edges[] = {sent.Frame.Left, sent.Frame.Top, sent.Frame.Right,
                                  sent.Frame.Bottom};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(edges[i].Whole, c[i].whole) << "edge " << i;
            EXPECT_EQ(edges[i].Frac, c[i].frac) << "edge " << i;
        }
        EXPECT_EQ(sent.DocumentNumber, 1u);
        EXPECT_EQ(sent.PageNumber, 1u);
        EXPECT_EQ(sent.FrameNumber, 1u);
    }
}

TEST_F(ImageLayout, TheFrameReadBackIsWhatTheSourceTook) {
    openDemoSource();
    ASSERT_TRUE(sendFrame(fix32Frame(0.5, 1.25, 4.5, 5.75)));
    EXPECT_EQ(twainSession.resultCode, TWRC_SUCCESS);
    auto taken = readFrame();
    ASSERT_TRUE(taken);
    EXPECT_EQ(fromFix32(taken->Left), 0.5);
    EXPECT_EQ(fromFix32(taken->Top), 1.25);
    EXPECT_EQ(fromFix32(taken->Right), 4.5);
    EXPECT_EQ(fromFix32(taken->Bottom), 5.75);
    EXPECT_TRUE(requests().back().is(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET));

    // A4 on a letter-sized glass: cut to it, which the source says and the read tells.
    ASSERT_TRUE(sendFrame(fix32Frame(0, 0, 8.27, 11.69)));
    EXPECT_EQ(twainSession.resultCode, TWRC_CHECKSTATUS);
    taken = readFrame();
    ASSERT_TRUE(taken);
    EXPECT_EQ(packFix32(taken->Right), packFix32(toFix32(8.27)));
    EXPECT_EQ(fromFix32(taken->Bottom), 11.0);
}

TEST_F(ImageLayout, NothingIsSentWithoutAnOpenSource) {
    ASSERT_TRUE(registerDemo());
    resetScanner();
    twainSession.resultCode = TWRC_CHECKSTATUS;
    EXPECT_FALSE(sendFrame(fix32Frame(0, 0, 1, 1)));
    EXPECT_FALSE(readFrame());
    EXPECT_EQ(requests().size(), 0u) << requestNames();
    EXPECT_EQ(twainSession.resultCode, TWRC_CHECKSTATUS);
}

TEST_F(ImageLayout, AnEnabledSourceRefusesTheFrameAndAnEmptyOneIsRefused) {
    openDemoSource();
    EXPECT_FALSE(sendFrame(fix32Frame(4, 4, 2.5, 6)));
    EXPECT_EQ(twainSession.conditionCode, TWCC_BADVALUE);
    ASSERT_TRUE(prepareTransfer());
    EXPECT_FALSE(sendFrame(fix32Frame(1, 1, 2, 2)));
    EXPECT_EQ(twainSession.conditionCode, TWCC_SEQERROR);
}

}  // namespace
