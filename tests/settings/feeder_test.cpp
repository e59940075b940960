// The page commands, and the virtual source's document feeder behind them.
#include "session/acquisition.h"
#include "session/twain_session.h"
#include "settings/capability_access.h"
#include "settings_support.h"

namespace {

bool clearPage() { return Java_QZ_korvel_twain_TwainEx_clearPage(nullptr, nullptr) == JNI_TRUE; }
bool feedPage() { return Java_QZ_korvel_twain_TwainEx_feedPage(nullptr, nullptr) == JNI_TRUE; }
bool rewindPage() { return Java_QZ_korvel_twain_TwainEx_rewindPage(nullptr, nullptr) == JNI_TRUE; }
bool skipImage() { return Java_QZ_korvel_twain_TwainEx_skipImage(nullptr, nullptr) == JNI_TRUE; }

class Feeder : public Scenario {
  protected:
    // The feeder enabled, with `sheets` in its input tray.
    static void openWithSheets(int64_t sheets) {
        vscan_setKnob("feeder.sheets", sheets);
        openDemoSource();
        ASSERT_TRUE(setCapabilityValue(CAP_FEEDERENABLED, TWTY_UINT16, 1));
    }
    static bool loaded() {
        TW_UINT16 value = 0x5A5A;
        EXPECT_TRUE(getFlagValue(CAP_FEEDERLOADED, &value));
        return value != 0;
    }
    static void expectRefused(TW_UINT16 condition) {
        EXPECT_EQ(twainSession.resultCode, TWRC_FAILURE);
        EXPECT_EQ(twainSession.conditionCode, condition);
    }
};

TEST_F(Feeder, WithoutAnOpenSourceNothingIsSent) {
    ASSERT_TRUE(registerDemo());
    resetScanner();
    EXPECT_FALSE(clearPage());
    EXPECT_FALSE(feedPage());
    EXPECT_FALSE(rewindPage());
    EXPECT_FALSE(skipImage());
    EXPECT_EQ(vscan_logSize(), 0u);
}

TEST_F(Feeder, EachCommandSetsItsCapabilityToOneAsUint16) {
    openWithSheets(4);
    resetScanner();
    EXPECT_TRUE(feedPage());
    EXPECT_TRUE(clearPage());
    EXPECT_TRUE(rewindPage());
    EXPECT_TRUE(skipImage());
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 4u) << requestNames();
    // skipImage asks exactly what feedPage asks.
    const TW_UINT16 expected[] = {CAP_FEEDPAGE, CAP_CLEARPAGE, CAP_REWINDPAGE, CAP_FEEDPAGE};
    for (size_t i = 0; i < sent.size(); ++i) {
        EXPECT_TRUE(sent[i].is(DG_CONTROL, DAT_CAPABILITY, MSG_SET));
        const std::vector<uint8_t> capability = {static_cast<uint8_t>(expected[i]),
                                                 static_cast<uint8_t>(expected[i] >> 8), 5, 0};
        EXPECT_EQ(std::vector<uint8_t>(sent[i].data.begin(), sent[i].data.begin() + 4), capability);
        EXPECT_EQ(sent[i].container, (std::vector<uint8_t>{4, 0, 1, 0, 0, 0}));
    }
}

TEST_F(Feeder, SheetsMoveFromTheInputTrayThroughTheScannerToTheOutputTray) {
    openWithSheets(2);
    EXPECT_TRUE(loaded());
    EXPECT_TRUE(feedPage());  // sheet 1 to the scan position, one left in the tray
    EXPECT_TRUE(loaded());
    EXPECT_TRUE(skipImage());  // sheet 1 out, sheet 2 in
    EXPECT_TRUE(loaded());     // sheet 2 waits at the scan position
    EXPECT_FALSE(feedPage());  // nothing left to feed: nothing moves
    expectRefused(TWCC_NOMEDIA);
    EXPECT_TRUE(loaded());
    EXPECT_TRUE(clearPage());  // sheet 2 out
    EXPECT_FALSE(loaded());
    EXPECT_TRUE(clearPage());  // nothing there: nothing to do
}

TEST_F(Feeder, RewindBringsBackTheLastSheetOut) {
    openWithSheets(1);
    EXPECT_FALSE(rewindPage());  // the output tray is empty
    expectRefused(TWCC_NOMEDIA);
    ASSERT_TRUE(feedPage());
    ASSERT_TRUE(clearPage());
    EXPECT_FALSE(loaded());
    EXPECT_TRUE(rewindPage());
    EXPECT_TRUE(loaded());
    EXPECT_TRUE(clearPage());
    EXPECT_FALSE(loaded());
}

TEST_F(Feeder, CommandsNeedTheFeederEnabled) {
    vscan_setKnob("feeder.sheets", 3);
    openDemoSource();
    EXPECT_TRUE(loaded());
    EXPECT_FALSE(feedPage());
    expectRefused(TWCC_CAPSEQERROR);
    EXPECT_FALSE(clearPage());
    expectRefused(TWCC_CAPSEQERROR);
}

TEST_F(Feeder, CommandsAreTakenWhileEnabledUnlikeOtherSets) {
    openWithSheets(2);
    ASSERT_TRUE(prepareTransfer());
    EXPECT_TRUE(feedPage());
    EXPECT_FALSE(setCapabilityValue(CAP_AUTOFEED, TWTY_UINT16, 0));
    expectRefused(TWCC_SEQERROR);
}

TEST_F(Feeder, ASourceThatRefusesACommand) {
    vscan_setKnob("CAP_REWINDPAGE.unsupported", 1);
    openWithSheets(1);
    EXPECT_FALSE(rewindPage());
    expectRefused(TWCC_CAPUNSUPPORTED);
}

TEST_F(Feeder, AnEmptyTrayByDefault) {
    openDemoSource();
    EXPECT_FALSE(loaded());
}

}  // namespace
