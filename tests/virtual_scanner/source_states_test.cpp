#include <gtest/gtest.h>

#include "app.h"

namespace {

class SourceStates : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(app.openManager(), TWRC_SUCCESS);
        ASSERT_EQ(app.openSource(), TWRC_SUCCESS);
    }
    TW_UINT16 userInterface(TW_UINT16 msg) {
        return app.toSource(DG_CONTROL, DAT_USERINTERFACE, msg, &ui);
    }
    App app;
    TW_USERINTERFACE ui = {0, 1, 0x1234};
};

TEST_F(SourceStates, EnableAndDisableOnlyInTheirStates) {
    EXPECT_EQ(userInterface(MSG_DISABLEDS), TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_SEQERROR);
    EXPECT_EQ(userInterface(MSG_ENABLEDS), TWRC_SUCCESS);
    EXPECT_EQ(vscan_sourceState(), 5);
    EXPECT_EQ(userInterface(MSG_ENABLEDS), TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_SEQERROR);
    EXPECT_EQ(userInterface(MSG_DISABLEDS), TWRC_SUCCESS);
    EXPECT_EQ(vscan_sourceState(), 4);
}

TEST_F(SourceStates, ClosingAnEnabledSourceIsOutOfSequence) {
    userInterface(MSG_ENABLEDS);
    EXPECT_EQ(app.toManager(DAT_IDENTITY, MSG_CLOSEDS, &app.source), TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_SEQERROR);
    EXPECT_EQ(vscan_sourceState(), 5);
}

TEST_F(SourceStates, PendingTransfersNeedATransfer) {
    TW_PENDINGXFERS pending = {};
    EXPECT_EQ(app.toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_SEQERROR);
    userInterface(MSG_ENABLEDS);
    EXPECT_EQ(app.toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_SEQERROR);
}

TEST_F(SourceStates, EventsAreProcessedOnlyWhileEnabled) {
    MSG msg = {};
    TW_EVENT event = {&msg, MSG_NULL};
    EXPECT_EQ(app.toSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_SEQERROR);
    userInterface(MSG_ENABLEDS);
    EXPECT_EQ(app.toSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
    EXPECT_EQ(event.TWMessage, MSG_NULL);
}

TEST_F(SourceStates, UnknownTripletIsABadProtocol) {
    TW_UINT32 nothing = 0;
    EXPECT_EQ(app.toSource(DG_CONTROL, 0x0042, MSG_GET, &nothing), TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_BADPROTOCOL);
}

TEST_F(SourceStates, ScriptedConditionCodeGoesToTheSource) {
    vscan_script(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, TWRC_FAILURE, 0x8123, 1);
    EXPECT_EQ(userInterface(MSG_ENABLEDS), TWRC_FAILURE);
    EXPECT_EQ(vscan_sourceState(), 4);
    EXPECT_EQ(app.sourceStatus(), 0x8123);
    EXPECT_EQ(app.managerStatus(), TWCC_SUCCESS);
}

}  // namespace
