#include "scenario.h"
#include "session/dsm_binding.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"

namespace {

using DsmCall = Scenario;

TEST_F(DsmCall, SendsNothingBeforeTheManagerIsBound) {
    twainSession.resultCode = 0;
    twainSession.conditionCode = 0;
    TW_STATUS status = {};
    EXPECT_FALSE(dsmCall(nullptr, DG_CONTROL, DAT_STATUS, MSG_GET, &status));
    EXPECT_EQ(twainSession.resultCode, TWRC_FAILURE);
    EXPECT_EQ(twainSession.conditionCode, TWCC_BUMMER);
    EXPECT_EQ(vscan_logSize(), 0u);
}

TEST_F(DsmCall, NoStatusRequestInStateTwo) {
    ASSERT_TRUE(registerDemo());
    EXPECT_EQ(twainSession.resultCode, TWRC_SUCCESS);
    EXPECT_EQ(twainSession.conditionCode, TWCC_BUMMER);  // the reset value: nobody was asked
    ASSERT_EQ(log().size(), 1u);
}

TEST_F(DsmCall, StateThreeAsksTheManagerAfterSuccessAndFailure) {
    ASSERT_TRUE(registerDemo());
    resetScanner();
    vscan_script(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, TWRC_FAILURE, TWCC_NODS, 1);
    EXPECT_FALSE(openSource());
    EXPECT_EQ(twainSession.resultCode, TWRC_FAILURE);
    EXPECT_EQ(twainSession.conditionCode, TWCC_NODS);
    const auto entries = log();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[1].isStatus());
    EXPECT_EQ(entries[1].header.toSource, 0);

    EXPECT_TRUE(openSource());
    EXPECT_EQ(twainSession.conditionCode, TWCC_SUCCESS);
}

TEST_F(DsmCall, FromStateFourTheSourceIsAskedEvenForManagerTriplets) {
    ASSERT_TRUE(registerDemo());
    ASSERT_TRUE(openSource());
    resetScanner();
    // The manager is made to remember a code; the library must not report it.
    vscan_script(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, TWRC_FAILURE, TWCC_OPERATIONERROR, 1);
    EXPECT_FALSE(closeSource());
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
    const auto entries = log();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[0].is(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS));
    EXPECT_TRUE(entries[1].isStatus());
    EXPECT_EQ(entries[1].header.toSource, 1);
    EXPECT_EQ(entries[1].header.destinationId, twainSession.sourceIdentity.Id);
    EXPECT_EQ(twainSession.conditionCode, TWCC_SUCCESS);
}

TEST_F(DsmCall, SuccessSetIsSuccessCheckStatusAndTransferDone) {
    ASSERT_TRUE(registerDemo());
    const struct {
        TW_UINT16 result;
        bool success;
    } cases[] = {{TWRC_SUCCESS, true},     {TWRC_CHECKSTATUS, true}, {TWRC_XFERDONE, true},
                 {TWRC_FAILURE, false},    {TWRC_CANCEL, false},     {TWRC_DSEVENT, false},
                 {TWRC_NOTDSEVENT, false}, {TWRC_ENDOFLIST, false}};
    for (const auto& c : cases) {
        vscan_script(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, c.result, TWCC_SUCCESS, 1);
        EXPECT_EQ(selectSource(), c.success) << "result code " << c.result;
        EXPECT_EQ(twainSession.resultCode, c.result);
        EXPECT_EQ(twainSession.state, kStateManagerOpen);
    }
}

TEST_F(DsmCall, FailedStatusRequestLeavesBummer) {
    ASSERT_TRUE(registerDemo());
    vscan_script(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, TWRC_FAILURE, TWCC_NODS, 1);
    vscan_script(DG_CONTROL, DAT_STATUS, MSG_GET, TWRC_FAILURE, TWCC_SUCCESS, 1);
    EXPECT_FALSE(openSource());
    EXPECT_EQ(twainSession.conditionCode, TWCC_BUMMER);
}

TEST_F(DsmCall, CustomConditionCodesKeepAllSixteenBits) {
    ASSERT_TRUE(registerDemo());
    vscan_script(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, TWRC_FAILURE, TWCC_SUCCESS, 1);
    vscan_script(DG_CONTROL, DAT_STATUS, MSG_GET, TWRC_SUCCESS, 0xFEDC, 1);
    EXPECT_FALSE(selectSource());
    EXPECT_EQ(twainSession.conditionCode, 0xFEDC);
}

}  // namespace
