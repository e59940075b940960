// The manager's sources: both listed with the Ids it gave them, each opened by Id or by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capability_request.h"

namespace {

class SourceList : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(app.openManager(), TWRC_SUCCESS); }

    std::vector<TW_IDENTITY> listAll() {
        std::vector<TW_IDENTITY> listed;
        TW_IDENTITY identity = {};
        for (TW_UINT16 msg = MSG_GETFIRST;
             app.toManager(DAT_IDENTITY, msg, &identity) == TWRC_SUCCESS && listed.size() < 10;
             msg = MSG_GETNEXT) {
            listed.push_back(identity);
        }
        return listed;
    }

    App app;
};

TEST_F(SourceList, ListsBothSourcesWithTheirIdentitiesThenTheEnd) {
    const auto listed = listAll();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_STREQ(listed[0].Manufacturer, "scanlink32");
    EXPECT_STREQ(listed[0].ProductFamily, "Virtual Devices");
    EXPECT_STREQ(listed[0].ProductName, "Virtual Scanner");
    EXPECT_STREQ(listed[0].Version.Info, "Virtual Scanner 1.0");
    EXPECT_STREQ(listed[1].Manufacturer, "scanlink32");
    EXPECT_STREQ(listed[1].ProductFamily, "Virtual Feeders");
    EXPECT_STREQ(listed[1].ProductName, "Virtual Duplex Feeder");
    EXPECT_STREQ(listed[1].Version.Info, "Virtual Duplex Feeder 1.0");
    EXPECT_NE(listed[0].Id, 0u);
    EXPECT_NE(listed[1].Id, 0u);
    EXPECT_NE(listed[0].Id, listed[1].Id);
    EXPECT_NE(listed[0].Id, app.identity.Id);
    TW_IDENTITY past = {};
    EXPECT_EQ(app.toManager(DAT_IDENTITY, MSG_GETNEXT, &past), TWRC_ENDOFLIST);

    TW_IDENTITY fallback = {};
    ASSERT_EQ(app.toManager(DAT_IDENTITY, MSG_GETDEFAULT, &fallback), TWRC_SUCCESS);
    EXPECT_STREQ(fallback.ProductName, "Virtual Scanner");
    EXPECT_EQ(fallback.Id, listed[0].Id);
}

TEST_F(SourceList, OpensEachByItsIdAndLogsTripletsToThatId) {
    for (const TW_IDENTITY& wanted : listAll()) {
        app.source = TW_IDENTITY{};
        app.source.Id = wanted.Id;
        ASSERT_EQ(app.toManager(DAT_IDENTITY, MSG_OPENDS, &app.source), TWRC_SUCCESS);
        EXPECT_STREQ(app.source.ProductName, wanted.ProductName);
        EXPECT_EQ(app.source.Id, wanted.Id);
        EXPECT_EQ(vscan_sourceState(), 4);
        vscan_clearLog();
        EXPECT_EQ(ask(app, MSG_GETCURRENT, CAP_FEEDERENABLED).result, TWRC_SUCCESS);
        VscanTriplet logged = {};
        ASSERT_TRUE(vscan_logEntry(0, &logged));
        EXPECT_EQ(logged.destinationId, wanted.Id);
        ASSERT_EQ(app.toManager(DAT_IDENTITY, MSG_CLOSEDS, &app.source), TWRC_SUCCESS);
        EXPECT_EQ(vscan_sourceState(), 0);
    }
}

TEST_F(SourceList, OpensByNameAndOnlyOneSourceAtATime) {
    ASSERT_EQ(openByName(app, "Virtual Duplex Feeder"), TWRC_SUCCESS);
    EXPECT_STREQ(app.source.ProductFamily, "Virtual Feeders");
    // The feeder answers CAP_DUPLEX, which the flatbed does not have.
    EXPECT_EQ(ask(app, MSG_GETCURRENT, CAP_DUPLEX).u16(2), TWDX_1PASSDUPLEX);
    TW_IDENTITY other = {};
    std::strcpy(other.ProductName, "Virtual Scanner");
    EXPECT_EQ(app.toManager(DAT_IDENTITY, MSG_OPENDS, &other), TWRC_FAILURE);
    EXPECT_EQ(app.managerStatus(), TWCC_MAXCONNECTIONS);
    ASSERT_EQ(app.toManager(DAT_IDENTITY, MSG_CLOSEDS, &app.source), TWRC_SUCCESS);

    ASSERT_EQ(openByName(app, "Virtual Scanner"), TWRC_SUCCESS);
    EXPECT_EQ(ask(app, MSG_GETCURRENT, CAP_DUPLEX).result, TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_CAPUNSUPPORTED);
}

TEST_F(SourceList, AnUnknownNameOrIdIsNoSource) {
    EXPECT_EQ(openByName(app, "Virtual Duplex"), TWRC_FAILURE);
    EXPECT_EQ(app.managerStatus(), TWCC_NODS);
    TW_IDENTITY byId = {};
    byId.Id = 0x7777;
    EXPECT_EQ(app.toManager(DAT_IDENTITY, MSG_OPENDS, &byId), TWRC_FAILURE);
    EXPECT_EQ(app.managerStatus(), TWCC_NODS);
    EXPECT_EQ(vscan_sourceState(), 0);
}

// Two sources of one name: the name opens the first listed, the Id either.
TEST_F(SourceList, ASharedNameOpensTheFirstListedAndTheIdTheOther) {
    vscan_setKnob("manager.sameNames", 1);
    const auto listed = listAll();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_STREQ(listed[1].ProductName, "Virtual Scanner");
    EXPECT_STREQ(listed[1].ProductFamily, "Virtual Feeders");

    ASSERT_EQ(openByName(app, "Virtual Scanner"), TWRC_SUCCESS);
    EXPECT_EQ(app.source.Id, listed[0].Id);
    EXPECT_STREQ(app.source.ProductFamily, "Virtual Devices");
    ASSERT_EQ(app.toManager(DAT_IDENTITY, MSG_CLOSEDS, &app.source), TWRC_SUCCESS);

    app.source = TW_IDENTITY{};
    app.source.Id = listed[1].Id;
    ASSERT_EQ(app.toManager(DAT_IDENTITY, MSG_OPENDS, &app.source), TWRC_SUCCESS);
    EXPECT_STREQ(app.source.ProductFamily, "Virtual Feeders");
    EXPECT_STREQ(app.source.ProductName, "Virtual Scanner");
}

TEST_F(SourceList, ScriptedAnswersReachTheListing) {
    vscan_script(DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, TWRC_FAILURE, TWCC_LOWMEMORY, 1);
    vscan_script(DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, TWRC_ENDOFLIST, TWCC_SUCCESS, 1);
    vscan_script(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, TWRC_FAILURE, TWCC_NODS, 1);
    TW_IDENTITY identity = {};
    EXPECT_EQ(app.toManager(DAT_IDENTITY, MSG_GETFIRST, &identity), TWRC_FAILURE);
    EXPECT_EQ(app.managerStatus(), TWCC_LOWMEMORY);
    EXPECT_EQ(app.toManager(DAT_IDENTITY, MSG_GETNEXT, &identity), TWRC_ENDOFLIST);
    EXPECT_EQ(app.toManager(DAT_IDENTITY, MSG_GETDEFAULT, &identity), TWRC_FAILURE);
    EXPECT_EQ(app.managerStatus(), TWCC_NODS);
    EXPECT_EQ(listAll().size(), 2u);  // each script used once
}

}  // namespace
