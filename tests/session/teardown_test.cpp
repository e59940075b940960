#include <string>

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

// A source that refuses to be disabled is still closed by the steps after it: whether the source
// takes MSG_CLOSEDS while enabled is its own affair, and the manager closes it with itself.
TEST_F(Teardown, ARefusedDisableDoesNotStopTheCascade) {
    ASSERT_TRUE(registerDemo());
    ASSERT_TRUE(openSource());
    ASSERT_TRUE(prepareTransfer());
    resetScanner();
    vscan_script(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, TWRC_FAILURE, TWCC_OPERATIONERROR,
                 1);
    EXPECT_TRUE(unregister());
    EXPECT_EQ(requestNames(), "MSG_DISABLEDS, MSG_CLOSEDS, MSG_CLOSEDSM");
    EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
    EXPECT_FALSE(twainSession.dsmModule);
    EXPECT_EQ(vscan_managerState(), 2);
    EXPECT_EQ(vscan_sourceState(), 0);
    EXPECT_FALSE(twainSession.userInterface.hParent);
}

TEST_F(Teardown, RefusedCloseOfTheManagerStillReleasesIt) {
    ASSERT_TRUE(registerDemo());
    vscan_script(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, TWRC_FAILURE, TWCC_BUMMER, 1);
    EXPECT_TRUE(unregister());
    EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
    EXPECT_EQ(twainSession.userInterface.ShowUI, 1);
}

// Many sources announce their page inside MSG_ENABLEDS: such a source is in state 6 while the
// session believes 5, and refuses MSG_DISABLEDS as out of sequence. Every teardown resets the
// transfer it announced, disables it, and goes on down.
TEST_F(Teardown, ATransferAnnouncedInsideTheEnableIsResetAndTheTeardownGoesOn) {
    struct Case {
        const char* name;
        bool (*teardown)();
        int32_t state;
        const char* requests;
        int32_t sourceState;
        int32_t managerState;
    };
    const Case cases[] = {
        {"stopTransfer", disableSource, kStateSourceOpen, "MSG_DISABLEDS, MSG_RESET, MSG_DISABLEDS",
         4, 3},
        {"closeSource", closeSource, kStateManagerOpen,
         "MSG_DISABLEDS, MSG_RESET, MSG_DISABLEDS, MSG_CLOSEDS", 0, 3},
        {"unregister", unregister, kStateManagerNotLoaded,
         "MSG_DISABLEDS, MSG_RESET, MSG_DISABLEDS, MSG_CLOSEDS, MSG_CLOSEDSM", 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        vscan_setKnob("enable.announce", 1);
        ASSERT_TRUE(registerDemo());
        ASSERT_TRUE(openSource());
        ASSERT_TRUE(prepareTransfer());
        EXPECT_EQ(vscan_sourceState(), 6) << "the source announced its page inside the enable";
        vscan_clearLog();
        EXPECT_TRUE(c.teardown());
        EXPECT_EQ(requestNames(), c.requests);
        EXPECT_EQ(twainSession.state, c.state);
        EXPECT_EQ(vscan_sourceState(), c.sourceState);
        EXPECT_EQ(vscan_managerState(), c.managerState);
        ASSERT_TRUE(unregister());
        // Nothing is left open in the manager: the next session opens the source again.
        ASSERT_TRUE(registerDemo());
        EXPECT_TRUE(openSource());
        ASSERT_TRUE(unregister());
        resetScanner();
    }
}

// No thread of the source outlives its disable or its close, after which a manager may unload the
// module that holds its code: whether the thread still waits to announce a page or has announced
// it.
TEST_F(Teardown, NoThreadOfTheSourceOutlivesADisableOrAClose) {
    struct Case {
        const char* name;
        bool (*teardown)();
    };
    const Case teardowns[] = {
        {"stopTransfer", disableSource}, {"closeSource", closeSource}, {"unregister", unregister}};
    for (const Case& c : teardowns) {
        for (const int64_t delay : {600000, 0}) {
            SCOPED_TRACE(std::string(c.name) +
                         (delay > 0 ? ", page still to come" : ", announced"));
            vscan_setKnob("page.delay_ms", delay);
            ASSERT_TRUE(registerDemo());
            ASSERT_TRUE(openSource());
            ASSERT_TRUE(prepareTransfer());
            EXPECT_EQ(vscan_sourceWorker(), 1) << "the source started no thread";
            EXPECT_TRUE(c.teardown());
            EXPECT_EQ(vscan_sourceWorker(), 0) << "the source's thread outlived " << c.name;
            ASSERT_TRUE(unregister());
        }
    }
}

// A source that refuses every step of the teardown: the manager refuses to close with the source
// open in it, and the session says so instead of claiming state 1. Once the source gives in, the
// next unregister takes everything down.
TEST_F(Teardown, AManagerThatKeepsAnOpenSourceKeepsTheSession) {
    ASSERT_TRUE(registerDemo());
    ASSERT_TRUE(openSource());
    ASSERT_TRUE(prepareTransfer());
    resetScanner();
    vscan_script(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, TWRC_FAILURE, TWCC_OPERATIONERROR,
                 -1);
    vscan_script(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, TWRC_FAILURE, TWCC_OPERATIONERROR, 1);
    vscan_script(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, TWRC_FAILURE, TWCC_SEQERROR, 1);
    EXPECT_FALSE(unregister());
    EXPECT_EQ(requestNames(), "MSG_DISABLEDS, MSG_CLOSEDS, MSG_CLOSEDSM");
    EXPECT_EQ(twainSession.state, kStateSourceEnabled);
    EXPECT_EQ(vscan_sourceState(), 5);
    EXPECT_EQ(vscan_managerState(), 3);
    EXPECT_TRUE(twainSession.dsmModule) << "the manager that holds the source is kept";
    EXPECT_TRUE(twainSession.userInterface.hParent);
    resetScanner();
    EXPECT_TRUE(unregister());
    EXPECT_EQ(requestNames(), "MSG_DISABLEDS, MSG_CLOSEDS, MSG_CLOSEDSM");
    EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
    EXPECT_EQ(vscan_managerState(), 2);
}

}  // namespace
