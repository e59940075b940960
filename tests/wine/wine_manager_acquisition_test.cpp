// Scanning through Wine's own manager: enabling the source with and without its interface, pages
// of every pixel type against the chart, the feeder, a cancel, a failure and a close request, each
// announced the TWAIN 1 way (in the source's answer to MSG_PROCESSEVENT), and the TWAIN 2 way
// (DG_CONTROL / DAT_NULL to the manager, which hands the notice on).
#include "record_bytes.h"
#include "session/acquisition.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"
#include "wine_manager_support.h"

namespace {

class WineScan : public Scenario {
  protected:
    void SetUp() override {
        Scenario::SetUp();
        openThroughWine();
        // Pages of 638 x 825 pixels.
        ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_setXResolution(nullptr, nullptr, 75.0));
        ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_setYResolution(nullptr, nullptr, 75.0));
    }
    // The source's record of what it was enabled with: ShowUI, ModalUI and the parent window.
    static std::vector<uint8_t> enabledWith() {
        for (const Triplet& t : requests()) {
            if (t.is(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS)) {
                return t.data;
            }
        }
        ADD_FAILURE() << "the source was not enabled: " << requestNames();
        return {};
    }
    // The notices the source sent to the manager, and what the manager answered each.
    static std::vector<std::pair<TW_UINT16, TW_UINT16>> noticesToTheManager() {
        std::vector<std::pair<TW_UINT16, TW_UINT16>> notices;
        for (const Triplet& t : log()) {
            if (t.header.dg == DG_CONTROL && t.header.dat == DAT_NULL) {
                notices.emplace_back(t.header.msg, t.header.resultCode);
            }
        }
        return notices;
    }
};

std::vector<uint8_t> userInterfaceBytes(TW_BOOL showUI, TW_BOOL modalUI, TW_HANDLE parent) {
    std::vector<uint8_t> bytes = {static_cast<uint8_t>(showUI), 0, static_cast<uint8_t>(modalUI),
                                  0};
    const std::vector<uint8_t> window = handleBytes(parent);
    bytes.insert(bytes.end(), window.begin(), window.end());
    return bytes;
}

TEST_F(WineScan, EnabledWithItsInterfaceTheSourceScansUntilItsUserClosesIt) {
    vscan_setKnob("ui.scans", 2);
    ASSERT_TRUE(prepareTransfer());
    EXPECT_FALSE(IsWindowEnabled(static_cast<HWND>(twainSession.userInterface.hParent)));
    EXPECT_EQ(enabledWith(), userInterfaceBytes(1, 1, twainSession.userInterface.hParent));
    expectNextPageMatchesTheChart();
    EXPECT_EQ(twainSession.state, kStateSourceEnabled);
    expectNextPageMatchesTheChart();
    // The user closes the dialog: the source asks to be closed, and is disabled.
    EXPECT_FALSE(waitForPage());
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
    EXPECT_TRUE(IsWindowEnabled(static_cast<HWND>(twainSession.userInterface.hParent)));
    EXPECT_EQ(vscan_sourceState(), 4);
}

TEST_F(WineScan, EnabledWithoutItsInterfaceTheSourceScansOnce) {
    twainSession.showUserInterface = false;
    ASSERT_TRUE(prepareTransfer());
    EXPECT_EQ(enabledWith(), userInterfaceBytes(0, 1, twainSession.userInterface.hParent));
    expectNextPageMatchesTheChart();
    EXPECT_FALSE(waitForPage());
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
}

TEST_F(WineScan, PagesOfEveryPixelTypeMatchTheChart) {
    for (TW_UINT16 pixelType : {TWPT_BW, TWPT_GRAY, TWPT_RGB}) {
        SCOPED_TRACE(::testing::Message() << "pixel type " << pixelType);
        ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_setPixelType(nullptr, nullptr,
                                                              static_cast<jshort>(pixelType)));
        twainSession.showUserInterface = false;
        ASSERT_TRUE(prepareTransfer());
        expectNextPageMatchesTheChart();
        ASSERT_TRUE(disableSource());
    }
}

TEST_F(WineScan, TheFeederDeliversEverySheetAndThenIsEmpty) {
    ASSERT_TRUE(unregister());
    vscan_setKnob("feeder.sheets", 3);
    openThroughWine();
    ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_setXResolution(nullptr, nullptr, 75.0));
    ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_setYResolution(nullptr, nullptr, 75.0));
    ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_setFeederEnabled(nullptr, nullptr, JNI_TRUE));
    EXPECT_TRUE(Java_QZ_korvel_twain_TwainEx_isFeederLoaded(nullptr, nullptr));
    ASSERT_TRUE(prepareTransfer());
    for (int sheet = 1; sheet <= 3; ++sheet) {
        SCOPED_TRACE(::testing::Message() << "sheet " << sheet);
        expectNextPageMatchesTheChart();
    }
    EXPECT_FALSE(waitForPage());
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
    EXPECT_FALSE(Java_QZ_korvel_twain_TwainEx_isFeederLoaded(nullptr, nullptr));
}

TEST_F(WineScan, ACancelledTransferEndsWithTheSourceDisabled) {
    ASSERT_TRUE(prepareTransfer());
    resetScanner();
    vscan_script(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, TWRC_CANCEL, TWCC_SUCCESS, 1);
    EXPECT_FALSE(waitForPage());
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
    // The page stays on the glass, so the source still reports it pending after the cancel.
    EXPECT_EQ(requestNames(),
              "MSG_PROCESSEVENT, MSG_GET(NATIVEXFER), MSG_ENDXFER, MSG_RESET, MSG_DISABLEDS");
}

TEST_F(WineScan, AFailedTransferEndsWithTheSourceDisabledAndItsCodes) {
    ASSERT_TRUE(prepareTransfer());
    resetScanner();
    vscan_script(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, TWRC_FAILURE, TWCC_LOWMEMORY, 1);
    EXPECT_FALSE(waitForPage());
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
    EXPECT_EQ(requestNames(), "MSG_PROCESSEVENT, MSG_GET(NATIVEXFER), MSG_RESET, MSG_DISABLEDS");
    // The codes are those of the last triplet on that path, the disable.
    EXPECT_EQ(twainSession.resultCode, TWRC_SUCCESS);
}

TEST_F(WineScan, ACloseRequestDisablesTheSource) {
    vscan_setKnob("source.close_request", 1);
    ASSERT_TRUE(prepareTransfer());
    EXPECT_FALSE(waitForPage());
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
    EXPECT_EQ(vscan_sourceState(), 4);
}

TEST_F(WineScan, NoticesSentTheTwain2WayReachTheLibraryThroughWinesManager) {
    vscan_setKnob("event.route", 2);
    vscan_setKnob("ui.scans", 1);
    ASSERT_TRUE(prepareTransfer());
    expectNextPageMatchesTheChart();
    // After the page the source's user closes it, again through the manager.
    EXPECT_FALSE(waitForPage());
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
    const auto notices = noticesToTheManager();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0], std::make_pair(MSG_XFERREADY, TWRC_SUCCESS));
    EXPECT_EQ(notices[1], std::make_pair(MSG_CLOSEDSREQ, TWRC_SUCCESS));
    // The source saw MSG_PROCESSEVENT only for its own two wake-ups: Wine's manager answered the
    // message that it posted for each notice itself, with the notice.
    std::size_t offered = 0;
    for (const Triplet& t : requests()) {
        offered += t.is(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT) ? 1 : 0;
    }
    EXPECT_EQ(offered, 2u) << requestNames();
}

}  // namespace
