// A wait never starts for what the source will not announce: steps that must succeed are tried
// once more, and what an earlier call left unfinished is finished before the next wait.

#include "scenario.h"
#include "session/acquisition.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"
#include "settings/capability_access.h"
#include "wait_bound.h"

namespace {

class UnfinishedSteps : public Scenario {
  protected:
    void SetUp() override {
        Scenario::SetUp();
        ASSERT_TRUE(registerDemo());
    }
    // Opens and enables the source, with knobs set before; the log then starts empty.
    static void enable() {
        ASSERT_TRUE(openSource());
        ASSERT_TRUE(prepareTransfer());
        vscan_reset();
    }
    // A feeder of sheets that a scan takes one after another: pages stay pending.
    static void enableWithFeeder(int sheets) {
        vscan_setKnob("feeder.sheets", sheets);
        ASSERT_TRUE(openSource());
        ASSERT_TRUE(setCapabilityValue(CAP_FEEDERENABLED, TWTY_UINT16, 1));
        ASSERT_TRUE(prepareTransfer());
        vscan_reset();
    }
    // One acquisition as the native method runs it; the image, if any, is freed. A wait that
    // outlives the bound is ended from outside and fails the test.
    static bool acquire() {
        WaitBound bound;
        const TW_HANDLE image = acquireNextImage();
        EXPECT_FALSE(bound.exceeded()) << "the wait had to be ended from outside";
        if (image) {
            GlobalFree(image);
        }
        return image != TW_HANDLE{};
    }
    static void refuse(TW_UINT16 msg, TW_UINT16 dat, int times) {
        vscan_script(DG_CONTROL, dat, msg, TWRC_FAILURE, TWCC_OPERATIONERROR, times);
    }
};

TEST_F(UnfinishedSteps, ADisableRefusedOnceAfterACloseRequestIsTriedAgain) {
    vscan_setKnob("source.close_request", 1);
    enable();
    refuse(MSG_DISABLEDS, DAT_USERINTERFACE, 1);
    EXPECT_FALSE(acquire());
    EXPECT_EQ(requestNames(), "MSG_PROCESSEVENT, MSG_DISABLEDS, MSG_DISABLEDS");
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
}

TEST_F(UnfinishedSteps, ADisableRefusedTwiceEndsTheWaitAndIsTheNextCallsFirstStep) {
    vscan_setKnob("source.close_request", 1);
    enable();
    refuse(MSG_DISABLEDS, DAT_USERINTERFACE, 2);
    EXPECT_FALSE(acquire());
    EXPECT_EQ(requestNames(), "MSG_PROCESSEVENT, MSG_DISABLEDS, MSG_DISABLEDS");
    EXPECT_EQ(twainSession.state, kStateSourceEnabled);
    EXPECT_EQ(twainSession.resultCode, TWRC_FAILURE);
    EXPECT_EQ(twainSession.conditionCode, TWCC_OPERATIONERROR);

    // The source asked once and will not ask again: the next call disables without waiting.
    resetScanner();
    EXPECT_FALSE(acquire());
    EXPECT_EQ(requestNames(), "MSG_DISABLEDS");
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
}

// The application disables the source itself after the refusals and enables it afresh: the new
// enable scans, with nothing of the old one left over.
TEST_F(UnfinishedSteps, AFreshEnableAfterADisableRefusedTwiceScansAPage) {
    vscan_setKnob("source.close_request", 1);
    enable();
    refuse(MSG_DISABLEDS, DAT_USERINTERFACE, 2);
    EXPECT_FALSE(acquire());
    EXPECT_EQ(twainSession.state, kStateSourceEnabled);
    ASSERT_TRUE(disableSource());
    vscan_setKnob("source.close_request", 0);
    ASSERT_TRUE(prepareTransfer());
    resetScanner();
    EXPECT_TRUE(acquire());
    EXPECT_EQ(requestNames(), "MSG_PROCESSEVENT, MSG_GET(NATIVEXFER), MSG_ENDXFER");
}

TEST_F(UnfinishedSteps, ATransferWithoutImageWhoseDisableIsRefusedTwiceDoesNotWait) {
    enable();
    vscan_script(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, TWRC_FAILURE, TWCC_LOWMEMORY, 1);
    refuse(MSG_DISABLEDS, DAT_USERINTERFACE, 2);
    EXPECT_FALSE(acquire());
    EXPECT_EQ(requestNames(),
              "MSG_PROCESSEVENT, MSG_GET(NATIVEXFER), MSG_RESET, MSG_DISABLEDS, MSG_DISABLEDS");
    EXPECT_EQ(twainSession.state, kStateSourceEnabled);
    resetScanner();
    EXPECT_FALSE(acquire());
    EXPECT_EQ(requestNames(), "MSG_DISABLEDS");
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
}

TEST_F(UnfinishedSteps, AnEndRefusedOnceIsTriedAgain) {
    enable();
    refuse(MSG_ENDXFER, DAT_PENDINGXFERS, 1);
    EXPECT_TRUE(acquire());
    EXPECT_EQ(requestNames(), "MSG_PROCESSEVENT, MSG_GET(NATIVEXFER), MSG_ENDXFER, MSG_ENDXFER");
    EXPECT_EQ(twainSession.state, kStateSourceEnabled);
}

// The page is delivered though its transfer could not be ended; the next call ends it first and
// then waits for the next announcement as usual.
TEST_F(UnfinishedSteps, AnEndRefusedTwiceKeepsThePageAndIsTheNextCallsFirstStep) {
    enable();
    refuse(MSG_ENDXFER, DAT_PENDINGXFERS, 2);
    EXPECT_TRUE(acquire());
    EXPECT_EQ(twainSession.state, kStateTransferring);
    resetScanner();
    EXPECT_TRUE(acquire());
    EXPECT_EQ(requestNames(), "MSG_ENDXFER, MSG_PROCESSEVENT, MSG_GET(NATIVEXFER), MSG_ENDXFER");
    EXPECT_EQ(twainSession.state, kStateSourceEnabled);
}

TEST_F(UnfinishedSteps, AnEndStillRefusedOnTheNextCallEndsItWithThatStepsCodes) {
    enable();
    refuse(MSG_ENDXFER, DAT_PENDINGXFERS, 2);
    EXPECT_TRUE(acquire());
    resetScanner();
    refuse(MSG_ENDXFER, DAT_PENDINGXFERS, 2);
    EXPECT_FALSE(acquire());
    EXPECT_EQ(requestNames(), "MSG_ENDXFER, MSG_ENDXFER");
    EXPECT_EQ(twainSession.state, kStateTransferring);
    EXPECT_EQ(twainSession.resultCode, TWRC_FAILURE);
    EXPECT_EQ(twainSession.conditionCode, TWCC_OPERATIONERROR);
}

// With transfers pending and the reset refused twice, a transfer is already announced: the next
// call takes it without waiting for another announcement.
TEST_F(UnfinishedSteps, AResetRefusedTwiceLeavesATransferThatTheNextCallTakes) {
    enableWithFeeder(3);
    refuse(MSG_RESET, DAT_PENDINGXFERS, 2);
    EXPECT_TRUE(acquire());
    EXPECT_EQ(twainSession.state, kStateTransferReady);
    resetScanner();
    EXPECT_TRUE(acquire());
    EXPECT_EQ(requestNames(), "MSG_GET(NATIVEXFER), MSG_ENDXFER, MSG_RESET");
    EXPECT_EQ(twainSession.state, kStateSourceEnabled);
}

TEST_F(UnfinishedSteps, AResetRefusedOnceIsTriedAgain) {
    enableWithFeeder(3);
    refuse(MSG_RESET, DAT_PENDINGXFERS, 1);
    EXPECT_TRUE(acquire());
    EXPECT_EQ(requestNames(),
              "MSG_PROCESSEVENT, MSG_GET(NATIVEXFER), MSG_ENDXFER, MSG_RESET, MSG_RESET");
    EXPECT_EQ(twainSession.state, kStateSourceEnabled);
}

}  // namespace
