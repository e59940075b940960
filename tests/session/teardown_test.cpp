#include "platform_probe.h"
#include "record_bytes.h"
#include "scenario.h"
#include "session/acquisition.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"

namespace {

using Teardown = Scenario;

TEST_F(Teardown, UnregisterBeforeRegisterDoesNothing) {
    EXPECT_TRUE(unregister());
    EXPECT_EQ(twainSession.state, kStateLoaded);
    EXPECT_EQ(vscan_logSize(), 0u);
}

TEST_F(Teardown, StepsBelowTheirTargetReturnTrueAndSendNothing) {
    EXPECT_TRUE(disableSource());
    EXPECT_TRUE(closeSource());
    EXPECT_TRUE(endTransfers());
    ASSERT_TRUE(registerDemo());
    ASSERT_TRUE(openSource());
    resetScanner();
    EXPECT_TRUE(endTransfers());
    EXPECT_TRUE(disableSource());
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
    EXPECT_EQ(vscan_logSize(), 0u);
}

TEST_F(Teardown, UnregisterFromAnEnabledSourceWalksEveryStepDown) {
    const size_t windows = liveWindows();
    ASSERT_TRUE(registerDemo());
    ASSERT_TRUE(openSource());
    ASSERT_TRUE(prepareTransfer());
    const HWND proxy = static_cast<HWND>(twainSession.userInterface.hParent);
    resetScanner();
    EXPECT_TRUE(unregister());
    EXPECT_EQ(requestNames(), "MSG_DISABLEDS, MSG_CLOSEDS, MSG_CLOSEDSM");
    EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
    EXPECT_FALSE(IsWindow(proxy));
    EXPECT_EQ(liveWindows(), windows);
    EXPECT_EQ(twainSession.userInterface.ShowUI, 0);
    EXPECT_EQ(twainSession.userInterface.ModalUI, 0);
    EXPECT_FALSE(twainSession.userInterface.hParent);
    EXPECT_EQ(vscan_managerState(), 2);
}

TEST_F(Teardown, StopTransferEnablesTheProxyWindowAndDisablesTheSource) {
    ASSERT_TRUE(registerDemo());
    ASSERT_TRUE(openSource());
    ASSERT_TRUE(prepareTransfer());
    const HWND proxy = static_cast<HWND>(twainSession.userInterface.hParent);
    resetScanner();
    EXPECT_TRUE(disableSource());
    EXPECT_TRUE(IsWindowEnabled(proxy));
    EXPECT_EQ(requestNames(), "MSG_DISABLEDS");
    const auto sent = requests();
    // The user interface record travels whole: ShowUI, ModalUI, then the window.
    std::vector<uint8_t> expected = {1, 0, 1, 0};
    const std::vector<uint8_t> window = handleBytes(proxy);
    expected.insert(expected.end(), window.begin(), window.end());
    EXPECT_EQ(sent[0].data, expected);
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
    EXPECT_EQ(vscan_sourceState(), 4);
}

TEST_F(Teardown, RefusedDisableStopsTheCascadeButTheManagerIsReleased) {
    ASSERT_TRUE(registerDemo());
    ASSERT_TRUE(openSource());
    ASSERT_TRUE(prepareTransfer());
    resetScanner();
    vscan_script(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, TWRC_FAILURE, TWCC_SEQERROR, 1);
    EXPECT_TRUE(unregister());
    EXPECT_EQ(requestNames(), "MSG_DISABLEDS");
    EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
    EXPECT_FALSE(twainSession.dsmModule);
    EXPECT_EQ(twainSession.resultCode, TWRC_FAILURE);
    EXPECT_EQ(twainSession.conditionCode, TWCC_SEQERROR);
    // The record is left as it was, but the window went with the manager that knew it.
    EXPECT_EQ(twainSession.userInterface.ShowUI, 1);
    EXPECT_FALSE(twainSession.userInterface.hParent);
    // The source was never disabled, so whatever windows it shows stay until it is switched off.
    vscan_powerCycle();
}

TEST_F(Teardown, RefusedCloseOfTheManagerStillReleasesIt) {
    ASSERT_TRUE(registerDemo());
    vscan_script(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, TWRC_FAILURE, TWCC_BUMMER, 1);
    EXPECT_TRUE(unregister());
    EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
    EXPECT_EQ(twainSession.userInterface.ShowUI, 1);
}

}  // namespace
