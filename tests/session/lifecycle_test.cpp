#include <cstring>
#include <string>

#include "platform_probe.h"
#include "record_bytes.h"
#include "scenario.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"

namespace {

using Lifecycle = Scenario;

TW_IDENTITY identityOf(const std::vector<uint8_t>& bytes) {
    TW_IDENTITY identity = {};
    EXPECT_EQ(bytes.size(), sizeof(identity));
    std::memcpy(&identity, bytes.data(), std::min(bytes.size(), sizeof(identity)));
    return identity;
}

TEST_F(Lifecycle, RegisterPresentsTheApplicationAndOpensTheManager) {
    const size_t windowsBefore = liveWindows();
    ASSERT_TRUE(registerDemo());
    EXPECT_EQ(twainSession.state, kStateManagerOpen);
    EXPECT_EQ(liveWindows(), windowsBefore + 1);

    const auto sent = requests();
    ASSERT_EQ(sent.size(), 1u);
    ASSERT_TRUE(sent[0].is(DG_CONTROL, DAT_PARENT, MSG_OPENDSM));
    // The origin as the manager received it, byte for byte where the layout matters.
    const TW_IDENTITY app = identityOf(sent[0].origin);
    EXPECT_EQ(app.Id, 0u);
    EXPECT_EQ(app.Version.MajorNum, 3);
    EXPECT_EQ(app.Version.MinorNum, 10);
    EXPECT_EQ(app.Version.Language, TWLG_USA);
    EXPECT_EQ(app.Version.Country, TWCY_USA);
    EXPECT_STREQ(app.Version.Info, "Demo 3.10");
    EXPECT_EQ(app.ProtocolMajor, 1);
    EXPECT_EQ(app.ProtocolMinor, 7);
    EXPECT_EQ(readUint32(sent[0].origin, 50), 3u);
    EXPECT_STREQ(app.Manufacturer, "Maker");
    EXPECT_STREQ(app.ProductFamily, "Family");
    EXPECT_STREQ(app.ProductName, "Demo");
    // The data is the proxy window, which stays hidden and enabled.
    const HWND proxy = static_cast<HWND>(twainSession.userInterface.hParent);
    EXPECT_EQ(sent[0].data, handleBytes(proxy));
    EXPECT_TRUE(IsWindowEnabled(proxy));
    EXPECT_EQ(twainSession.userInterface.ShowUI, 1);
    EXPECT_EQ(twainSession.userInterface.ModalUI, 1);
    EXPECT_NE(twainSession.appIdentity.Id, 0u);  // the manager assigned one
}

TEST_F(Lifecycle, VersionNumbersKeepSixteenBitsInTheFieldsAndAllInTheText) {
    ASSERT_TRUE(openSourceManager(65536 + 5, -2, "M", "F", "Demo"));
    EXPECT_EQ(twainSession.appIdentity.Version.MajorNum, 5);
    EXPECT_EQ(twainSession.appIdentity.Version.MinorNum, 0xFFFE);
    EXPECT_STREQ(twainSession.appIdentity.Version.Info, "Demo 65541.-2");
}

TEST_F(Lifecycle, LongTextsAreCutToTheirFields) {
    const std::string longName(40, 'n');
    ASSERT_TRUE(openSourceManager(1, 2, longName.c_str(), "", longName.c_str()));
    const TW_IDENTITY& app = twainSession.appIdentity;
    EXPECT_EQ(std::string(app.Manufacturer), std::string(33, 'n'));
    EXPECT_EQ(std::string(app.ProductName), std::string(33, 'n'));
    EXPECT_EQ(std::string(app.Version.Info), std::string(33, 'n'));
    EXPECT_STREQ(app.ProductFamily, "");
    // Nothing spills into the fields that follow.
    // Copies: the packed record's fields may not be bound to references.
    const TW_UINT16 protocolMajor = app.ProtocolMajor;
    const TW_UINT32 supportedGroups = app.SupportedGroups;
    EXPECT_EQ(protocolMajor, 1);
    EXPECT_EQ(supportedGroups, 3u);
}

TEST_F(Lifecycle, SecondRegisterWhileOpenChangesNothing) {
    ASSERT_TRUE(registerDemo());
    const TW_IDENTITY before = twainSession.appIdentity;
    const size_t windows = liveWindows();
    resetScanner();
    EXPECT_TRUE(openSourceManager(9, 9, "Other", "Other", "Other"));
    EXPECT_EQ(vscan_logSize(), 0u);
    EXPECT_EQ(liveWindows(), windows);
    EXPECT_EQ(std::memcmp(&before, &twainSession.appIdentity, sizeof(before)), 0);
}

TEST_F(Lifecycle, FailedOpenLeavesStateTwoAndAFreshRegisterTriesAgain) {
    const size_t windowsBefore = liveWindows();
    vscan_script(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, TWRC_FAILURE, TWCC_LOWMEMORY, 1);
    EXPECT_FALSE(registerDemo());
    EXPECT_EQ(twainSession.state, kStateManagerLoaded);
    EXPECT_EQ(liveWindows(), windowsBefore);  // no manager holds the window

    EXPECT_TRUE(openSourceManager(4, 5, "M", "F", "Again"));
    EXPECT_STREQ(twainSession.appIdentity.Version.Info, "Again 4.5");
    EXPECT_EQ(requestNames(), "MSG_OPENDSM, MSG_OPENDSM");
}

TEST_F(Lifecycle, UnregisterAfterAFailedOpenOnlyReleasesTheManager) {
    vscan_script(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, TWRC_FAILURE, TWCC_LOWMEMORY, 1);
    EXPECT_FALSE(registerDemo());
    resetScanner();
    EXPECT_TRUE(unregister());
    EXPECT_EQ(vscan_logSize(), 0u);
    EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
    EXPECT_FALSE(twainSession.dsmModule);
}

TEST_F(Lifecycle, SelectSourceOnlyWithTheManagerOpen) {
    twainSession.resultCode = 4;
    twainSession.conditionCode = 4;
    EXPECT_FALSE(selectSource());
    EXPECT_EQ(twainSession.resultCode, 4);
    ASSERT_TRUE(registerDemo());
    EXPECT_TRUE(selectSource());
    EXPECT_STREQ(twainSession.sourceIdentity.ProductName, "Virtual Scanner");
    EXPECT_EQ(twainSession.state, kStateManagerOpen);
    ASSERT_TRUE(openSource());
    resetScanner();
    EXPECT_FALSE(selectSource());
    EXPECT_EQ(vscan_logSize(), 0u);
}

TEST_F(Lifecycle, OpenSourceAsksForTheDefaultSourceWithAZeroedIdentity) {
    EXPECT_FALSE(openSource());
    ASSERT_TRUE(registerDemo());
    ASSERT_TRUE(selectSource());
    resetScanner();
    ASSERT_TRUE(openSource());
    EXPECT_EQ(twainSession.state, kStateSourceOpen);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 1u);
    ASSERT_TRUE(sent[0].is(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS));
    EXPECT_EQ(sent[0].header.toSource, 0);
    EXPECT_EQ(sent[0].data, std::vector<uint8_t>(sizeof(TW_IDENTITY), 0));
    EXPECT_STREQ(twainSession.sourceIdentity.ProductName, "Virtual Scanner");
    EXPECT_NE(twainSession.sourceIdentity.Id, 0u);

    resetScanner();
    EXPECT_TRUE(openSource());
    EXPECT_EQ(vscan_logSize(), 0u);
}

TEST_F(Lifecycle, RegisterAgainAfterUnregisterLoadsTheManagerAfresh) {
    ASSERT_TRUE(registerDemo());
    ASSERT_TRUE(unregister());
    EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
    EXPECT_EQ(twainSession.userInterface.ShowUI, 0);
    ASSERT_TRUE(registerDemo());
    EXPECT_EQ(twainSession.state, kStateManagerOpen);
    ASSERT_TRUE(openSource());
}

}  // namespace
