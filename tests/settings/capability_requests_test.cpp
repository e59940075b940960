// Capability requests by number against the virtual source: what the library sends, the container
// it reads back, a malformed container refused with its reason, and the source's block freed on
// every path.
#include <cstring>

#include "platform_probe.h"
#include "session/twain_session.h"
#include "settings/capability_requests.h"
#include "settings_support.h"

namespace {

class CapabilityRequests : public Scenario {
  protected:
    void SetUp() override {
        Scenario::SetUp();
        openDemoSource();
        resetScanner();
    }
};

TEST_F(CapabilityRequests, EachReadSendsItsMessageAndGivesTheSourcesContainer) {
    const auto all = readCapability(ICAP_PIXELTYPE, MSG_GET);
    ASSERT_TRUE(all && all->ok()) << (all ? all->fault : "no answer");
    EXPECT_EQ(all->container.conType, TWON_ENUMERATION);
    EXPECT_EQ(all->container.itemType, TWTY_UINT16);
    ASSERT_EQ(all->container.size(), 3u);
    EXPECT_EQ(all->container.numbers[all->container.currentIndex], TWPT_RGB);

    const auto brightness = readCapability(ICAP_BRIGHTNESS, MSG_GET);
    ASSERT_TRUE(brightness && brightness->ok());
    EXPECT_EQ(brightness->container.conType, TWON_RANGE);
    EXPECT_EQ(brightness->container.numbers[0], -1000 * 65536);
    EXPECT_EQ(brightness->container.numbers[1], 1000 * 65536);

    const auto supported = readCapability(CAP_SUPPORTEDCAPS, MSG_GET);
    ASSERT_TRUE(supported && supported->ok());
    EXPECT_EQ(supported->container.conType, TWON_ARRAY);
    EXPECT_GT(supported->container.size(), 20u);

    for (const TW_UINT16 msg : {MSG_GETCURRENT, MSG_GETDEFAULT, MSG_RESET}) {
        const auto one = readCapability(ICAP_XRESOLUTION, msg);
        ASSERT_TRUE(one && one->ok());
        // The source answers its current value in an enumeration, its default as one value.
        EXPECT_EQ(one->container.conType, msg == MSG_GETDEFAULT ? TWON_ONEVALUE : TWON_ENUMERATION);
        EXPECT_EQ(one->container.numbers[one->container.currentIndex], 100 << 16);
    }
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 6u) << requestNames();
    const TW_UINT16 messages[] = {MSG_GET,        MSG_GET,        MSG_GET,
                                  MSG_GETCURRENT, MSG_GETDEFAULT, MSG_RESET};
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_TRUE(sent[i].is(DG_CONTROL, DAT_CAPABILITY, messages[i])) << requestNames();
        EXPECT_EQ(sent[i].header.destinationId, twainSession.sourceIdentity.Id);
    }
    EXPECT_EQ(liveGlobalHandles(), 0u);
}

TEST_F(CapabilityRequests, AMessageThatIsNoReadAndAClosedSourceSendNothing) {
    EXPECT_FALSE(readCapability(ICAP_PIXELTYPE, MSG_SET));
    EXPECT_FALSE(readCapability(ICAP_PIXELTYPE, MSG_OPENDS));
    twainSession.state = kStateManagerOpen;
    EXPECT_FALSE(readCapability(ICAP_PIXELTYPE, MSG_GET));
    EXPECT_FALSE(setCapability(ICAP_PIXELTYPE, TWON_ONEVALUE, {4, 0, 1, 0, 0, 0}));
    twainSession.state = kStateSourceOpen;
    EXPECT_EQ(vscan_logSize(), 0u);
}

TEST_F(CapabilityRequests, AFailedReadGivesNothingAndTheCodesTellWhy) {
    EXPECT_FALSE(readCapability(0x8765, MSG_GET));
    EXPECT_EQ(twainSession.resultCode, TWRC_FAILURE);
    EXPECT_EQ(twainSession.conditionCode, TWCC_CAPUNSUPPORTED);
    EXPECT_EQ(liveGlobalHandles(), 0u);
}

struct BentAnswer {
    const char* field;
    int64_t value;
    const char* fault;
};

TEST_F(CapabilityRequests, AMalformedContainerIsRefusedWithItsReasonAndFreed) {
    const BentAnswer bent[] = {
        {"numItems", 1000, "1000 items of 2 bytes do not fit the 20 bytes of the block"},
        {"currentIndex", 3, "index 3 past the 3 items of an enumeration"},
        {"itemType", 0x0D, "unknown item type 13"},
        {"container", 9, "unknown container type 9"},
        {"blockSize", 13, "an enumeration in a block of 13 bytes"},
        {"blockSize", -1, "the source answered without a container"},
    };
    for (const BentAnswer& b : bent) {
        SCOPED_TRACE(std::string(b.field) + " " + std::to_string(b.value));
        resetScanner();
        setCapabilityKnob("ICAP_PIXELTYPE", b.field, b.value);
        const auto answer = readCapability(ICAP_PIXELTYPE, MSG_GET);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->fault, b.fault);
        EXPECT_EQ(liveGlobalHandles(), 0u);
    }
}

TEST_F(CapabilityRequests, ASetSendsTheLaidContainerAndFreesIt) {
    CapabilityContainer grey;
    grey.itemType = TWTY_UINT16;
    grey.numbers = {TWPT_GRAY};
    const LaidContainer laid = layContainer(grey);
    EXPECT_TRUE(setCapability(ICAP_PIXELTYPE, TWON_ONEVALUE, laid.bytes));
    const auto now = readCapability(ICAP_PIXELTYPE, MSG_GETCURRENT);
    ASSERT_TRUE(now && now->ok());
    EXPECT_EQ(now->container.numbers[now->container.currentIndex], TWPT_GRAY);
    const auto sent = requests();
    ASSERT_GE(sent.size(), 1u);
    EXPECT_TRUE(sent[0].is(DG_CONTROL, DAT_CAPABILITY, MSG_SET));
    EXPECT_EQ(sent[0].container, laid.bytes);
    vscan_script(DG_CONTROL, DAT_CAPABILITY, MSG_SET, TWRC_FAILURE, TWCC_BADVALUE, 1);
    EXPECT_FALSE(setCapability(ICAP_PIXELTYPE, TWON_ONEVALUE, laid.bytes));
    EXPECT_EQ(twainSession.conditionCode, TWCC_BADVALUE);
    EXPECT_EQ(liveGlobalHandles(), 0u);
}

}  // namespace
