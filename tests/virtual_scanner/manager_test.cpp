#include <gtest/gtest.h>

#include "app.h"

namespace {

TEST(VirtualManager, OpensAssignsAnIdAndRefusesASecondOpen) {
    App app;
    EXPECT_EQ(vscan_managerState(), 2);
    // Before the manager is open it reports a failure of unknown kind.
    EXPECT_EQ(app.managerStatus(), TWCC_BUMMER);
    ASSERT_EQ(app.openManager(), TWRC_SUCCESS);
    EXPECT_NE(app.identity.Id, 0u);
    EXPECT_EQ(vscan_managerState(), 3);
    EXPECT_EQ(app.openManager(), TWRC_FAILURE);
    EXPECT_EQ(app.managerStatus(), TWCC_SEQERROR);
    EXPECT_EQ(app.managerStatus(), TWCC_SUCCESS);  // a condition code is reported once
}

TEST(VirtualManager, RefusesAnApplicationWithoutAName) {
    App app;
    app.identity.ProductName[0] = '\0';
    EXPECT_EQ(app.openManager(), TWRC_FAILURE);
    EXPECT_EQ(vscan_managerState(), 2);
}

TEST(VirtualManager, OpensTheDefaultSourceForAZeroedIdentity) {
    App app;
    app.openManager();
    ASSERT_EQ(app.openSource(), TWRC_SUCCESS);
    EXPECT_STREQ(app.source.ProductName, "Virtual Scanner");
    EXPECT_NE(app.source.Id, 0u);
    EXPECT_NE(app.source.Id, app.identity.Id);
    EXPECT_EQ(vscan_sourceState(), 4);
    // A second application-side open of the same source is refused.
    TW_IDENTITY again = {};
    EXPECT_EQ(app.toManager(DAT_IDENTITY, MSG_OPENDS, &again), TWRC_FAILURE);
}

TEST(VirtualManager, UnknownSourceNameIsNotFound) {
    App app;
    app.openManager();
    TW_IDENTITY wanted = {};
    std::strcpy(wanted.ProductName, "Flatbed 9000");
    EXPECT_EQ(app.toManager(DAT_IDENTITY, MSG_OPENDS, &wanted), TWRC_FAILURE);
    EXPECT_EQ(app.managerStatus(), TWCC_NODS);
}

TEST(VirtualManager, TripletsOutOfSequenceFailWithSeqError) {
    App app;
    TW_IDENTITY source = {};
    EXPECT_EQ(app.toManager(DAT_IDENTITY, MSG_OPENDS, &source), TWRC_FAILURE);
    EXPECT_EQ(app.toManager(DAT_PARENT, MSG_CLOSEDSM, &app.window), TWRC_FAILURE);
    app.openManager();
    EXPECT_EQ(app.managerStatus(), TWCC_SUCCESS);
    // Source triplets before any source is open.
    TW_USERINTERFACE ui = {1, 1, app.window};
    EXPECT_EQ(app.toSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_FAILURE);
    EXPECT_EQ(app.managerStatus(), TWCC_BADDEST);
}

TEST(VirtualManager, ClosingTheManagerClosesAnOpenSource) {
    App app;
    app.openManager();
    app.openSource();
    TW_USERINTERFACE ui = {0, 1, app.window};
    ASSERT_EQ(app.toSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    EXPECT_EQ(app.toManager(DAT_PARENT, MSG_CLOSEDSM, &app.window), TWRC_SUCCESS);
    EXPECT_EQ(vscan_sourceState(), 0);
    EXPECT_EQ(vscan_managerState(), 2);
}

TEST(VirtualManager, ScriptedAnswersAreUsedUpInOrder) {
    App app;
    vscan_script(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, TWRC_FAILURE, TWCC_LOWMEMORY, 1);
    EXPECT_EQ(app.openManager(), TWRC_FAILURE);
    EXPECT_EQ(vscan_managerState(), 2);  // the scripted answer replaced the real one
    EXPECT_EQ(app.managerStatus(), TWCC_LOWMEMORY);
    EXPECT_EQ(app.openManager(), TWRC_SUCCESS);

    vscan_script(DG_CONTROL, DAT_STATUS, MSG_GET, TWRC_SUCCESS, 0x8001, 2);
    EXPECT_EQ(app.managerStatus(), 0x8001);
    EXPECT_EQ(app.managerStatus(), 0x8001);
    EXPECT_EQ(app.managerStatus(), TWCC_SUCCESS);

    vscan_script(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, TWRC_CANCEL, TWCC_SUCCESS, -1);
    TW_IDENTITY chosen = {};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(app.toManager(DAT_IDENTITY, MSG_USERSELECT, &chosen), TWRC_CANCEL);
    }
}

TEST(VirtualManager, LogKeepsEveryTripletWithItsRecords) {
    App app;
    app.openManager();
    app.openSource();
    ASSERT_EQ(vscan_logSize(), 2u);
    VscanTriplet open = {};
    ASSERT_TRUE(vscan_logEntry(0, &open));
    EXPECT_EQ(open.msg, MSG_OPENDSM);
    EXPECT_EQ(open.toSource, 0);
    EXPECT_EQ(open.originId, 0u);  // as received, before the manager assigned one
    uint8_t window[4] = {};
    EXPECT_EQ(vscan_logData(0, window, sizeof(window)), 4u);
    EXPECT_EQ(window[0] | window[1] << 8, 0x1234);
    EXPECT_EQ(vscan_logOrigin(0, nullptr, 0), sizeof(TW_IDENTITY));
    VscanTriplet openSource = {};
    vscan_logEntry(1, &openSource);
    EXPECT_EQ(openSource.originId, app.identity.Id);
    EXPECT_EQ(openSource.resultCode, TWRC_SUCCESS);
    EXPECT_EQ(vscan_logData(1, nullptr, 0), sizeof(TW_IDENTITY));
    EXPECT_FALSE(vscan_logEntry(2, &openSource));
}

}  // namespace
