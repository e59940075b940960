#include "scenario.h"
#include "session/acquisition.h"
#include "session/dsm_binding.h"
#include "session/lifecycle.h"
#include "session/native_transfer.h"
#include "session/twain_session.h"
#include "source_transfer.h"

namespace {

class TransferStates : public Scenario {
  protected:
    void SetUp() override {
        Scenario::SetUp();
        ASSERT_TRUE(registerDemo());
        ASSERT_TRUE(openSource());
        ASSERT_TRUE(prepareTransfer());
    }
    // Takes the source's wake-up message from the queue, as the pump would.
    static MSG nextMessage() {
        MSG msg = {};
        EXPECT_TRUE(GetMessageA(&msg, 0, 0, 0));
        return msg;
    }
    // Drives the session to state 7 by hand: the page is transferred and not yet ended.
    static void transferWithoutEnding() {
        MSG msg = nextMessage();
        TW_EVENT event = {&msg, MSG_NULL};
        ASSERT_FALSE(
            dsmCall(&twainSession.sourceIdentity, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event));
        ASSERT_EQ(twainSession.resultCode, TWRC_DSEVENT);
        ASSERT_EQ(event.TWMessage, MSG_XFERREADY);
        twainSession.state = kStateTransferReady;
        TW_HANDLE image = {};
        ASSERT_TRUE(
            dsmCall(&twainSession.sourceIdentity, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image));
        twainSession.state = kStateTransferring;
        GlobalFree(image);
    }
};

TEST_F(TransferStates, PrepareDisablesTheProxyWindowUntilTheSourceIsDisabled) {
    const HWND proxy = static_cast<HWND>(twainSession.userInterface.hParent);
    EXPECT_FALSE(IsWindowEnabled(proxy));
    EXPECT_TRUE(disableSource());
    EXPECT_TRUE(IsWindowEnabled(proxy));
}

TEST_F(TransferStates, StopTransferInStateSevenEndsResetsAndDisables) {
    transferWithoutEnding();
    vscan_setKnob("endxfer.count", 2);
    resetScanner();
    vscan_setKnob("endxfer.count", 2);
    EXPECT_TRUE(disableSource());
    EXPECT_EQ(requestNames(), "MSG_ENDXFER, MSG_RESET, MSG_DISABLEDS");
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
}

TEST_F(TransferStates, NothingPendingAfterTheTransferMeansNoReset) {
    transferWithoutEnding();
    resetScanner();
    vscan_setKnob("endxfer.count", 0);
    EXPECT_TRUE(endTransfers());
    EXPECT_EQ(requestNames(), "MSG_ENDXFER");
    EXPECT_EQ(twainSession.state, kStateSourceEnabled);
}

TEST_F(TransferStates, UnregisterInStateSevenWalksTheWholeCascade) {
    transferWithoutEnding();
    resetScanner();
    vscan_setKnob("endxfer.count", 0xFFFF);
    EXPECT_TRUE(unregister());
    EXPECT_EQ(requestNames(), "MSG_ENDXFER, MSG_RESET, MSG_DISABLEDS, MSG_CLOSEDS, MSG_CLOSEDSM");
    EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
    EXPECT_EQ(vscan_managerState(), 2);
}

TEST_F(TransferStates, TransferResultDecidesBetweenStatesSixAndSeven) {
    const struct {
        TW_UINT16 result;
        const char* requests;
    } cases[] = {
        {TWRC_XFERDONE, "MSG_GET(NATIVEXFER), MSG_ENDXFER, MSG_RESET"},
        {TWRC_CANCEL, "MSG_GET(NATIVEXFER), MSG_ENDXFER, MSG_RESET"},
        {TWRC_SUCCESS, "MSG_GET(NATIVEXFER), MSG_RESET"},
        {TWRC_FAILURE, "MSG_GET(NATIVEXFER), MSG_RESET"},
    };
    for (const auto& c : cases) {
        // Each round the source, showing its interface, scans again: take its announcement.
        MSG msg = nextMessage();
        TW_EVENT event = {&msg, MSG_NULL};
        dsmCall(&twainSession.sourceIdentity, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
        ASSERT_EQ(event.TWMessage, MSG_XFERREADY);
        twainSession.state = kStateTransferReady;
        resetScanner();
        vscan_script(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, c.result, TWCC_SUCCESS, 1);
        vscan_setKnob("endxfer.count", 1);
        EXPECT_FALSE(transferNativeImage()) << "result " << c.result;
        EXPECT_EQ(requestNames(), c.requests) << "result " << c.result;
        EXPECT_EQ(twainSession.state, kStateSourceEnabled);
    }
}

TEST_F(TransferStates, EventsBelowStateFiveAreNotOffered) {
    ASSERT_TRUE(disableSource());
    resetScanner();
    MSG msg = {0, WM_USER, 0, 0, 0, {0, 0}};
    NativeTransfer transfer;
    PageWait wait;
    bool taken = false;
    EXPECT_FALSE(processSourceEvent(msg, transfer, wait, taken));
    EXPECT_FALSE(taken);
    EXPECT_EQ(vscan_logSize(), 0u);
}

TEST_F(TransferStates, CloseRequestDuringTheWaitEndsItWithoutAnImage) {
    ASSERT_TRUE(disableSource());
    vscan_setKnob("source.close_request", 1);
    ASSERT_TRUE(prepareTransfer());
    EXPECT_FALSE(acquireNextImage());
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
}

TEST_F(TransferStates, WaitEndsWithTheImageAndLeavesLaterMessagesQueued) {
    const TW_HANDLE image = acquireNextImage();
    ASSERT_TRUE(image);
    EXPECT_EQ(twainSession.state, kStateSourceEnabled);
    EXPECT_NE(GlobalSize(image), 0u);
    GlobalFree(image);
}

}  // namespace
