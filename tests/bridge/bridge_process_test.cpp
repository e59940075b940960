// The host's bridge program beyond what every bridge is tested for: the sources recorded as the
// library records them, the duplex feeder (a source that only the host's manager lists), and
// ending as it should when the channel carries something that is no request or closes.
#include <gtest/gtest.h>

#include "bridge/message.h"
#include "bridge_session.h"
#include "jni/device_records.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"

namespace {

using bridge::Kind;

TEST_F(BridgeProcess, ListsTheSourcesAsTheLibraryRecordsThem) {
    ASSERT_TRUE(client_->request(Kind::Register, registration("Bridge")).flag());
    const BridgeAnswer listed = client_->request(Kind::ListSources);
    ASSERT_TRUE(listed.flag());
    ASSERT_TRUE(registerAsNative());
    const auto expected = sourcesRecord();
    EXPECT_TRUE(unregister());
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(std::vector<std::uint8_t>(listed.payload.begin() + 1, listed.payload.end()),
              *expected);
}

// Each sheet gives its front, then its back (the chart in negative), and the feeder then is empty.
TEST_F(BridgeProcess, TheDuplexFeederDeliversBothSidesOfEverySheet) {
    startBridgeWithKnob("feeder.sheets=2");
    openListed("Virtual Duplex Feeder");
    showInterface(true);
    ASSERT_TRUE(
        client_->request(Kind::SetCapability, oneValue(CAP_DUPLEXENABLED, TWTY_BOOL, 1)).flag());
    ASSERT_TRUE(client_->request(Kind::PrepareTransfer).flag());
    std::vector<std::vector<std::uint8_t>> pages;
    for (int side = 0; side < 4; ++side) {
        const BridgeAnswer page = client_->request(Kind::AcquireImage);
        ASSERT_TRUE(page.flag() && page.pageCame) << "side " << side << " did not come";
        pages.push_back(page.page);
    }
    const BridgeAnswer empty = client_->request(Kind::AcquireImage);
    ASSERT_TRUE(empty.came);
    EXPECT_FALSE(empty.flag());
    EXPECT_FALSE(empty.pageCame);
    EXPECT_TRUE(pages[0] == pages[2]) << "the fronts differ";
    EXPECT_TRUE(pages[1] == pages[3]) << "the backs differ";
    EXPECT_EQ(pages[0].size(), pages[1].size());
    EXPECT_FALSE(pages[0] == pages[1]) << "a back is its front";
}

TEST_F(BridgeProcess, RefusesArgumentsItCannotUseAndGoesOn) {
    RecordWriter cut;
    cut.u32(1);
    const BridgeAnswer refused = client_->request(Kind::Register, cut);
    ASSERT_TRUE(refused.came);
    EXPECT_EQ(refused.outcome, bridge::Outcome::Refused);
    EXPECT_EQ(refused.text, "the request's arguments are malformed");
    EXPECT_EQ(refused.state, kStateLoaded);
    const BridgeAnswer notRead =
        client_->request(Kind::ReadCapability, capabilityRead(ICAP_PIXELTYPE, MSG_SET));
    EXPECT_EQ(notRead.outcome, bridge::Outcome::Refused);
    EXPECT_TRUE(client_->request(Kind::Register, registration("Bridge")).flag());
    EXPECT_TRUE(client_->request(Kind::Unregister).flag());
}

// A parent that is gone: the bridge takes its session down and ends, also from inside a wait.
TEST_F(BridgeProcess, EndsWhenItsParentCloses) {
    openTheSource();
    ASSERT_TRUE(client_->request(Kind::PrepareTransfer).flag());
    child_->closeInput();
    EXPECT_EQ(child_->exitCode(kExitBound), bridge::kExitDone);
}

struct GarbageCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    bool thenClose;  // a message cut short shows only once the channel ends
    const char* fault;
};

void PrintTo(const GarbageCase& garbage, std::ostream* out) { *out << garbage.name; }

std::vector<std::uint8_t> header(std::uint32_t length, std::uint16_t kind) {
    return {static_cast<std::uint8_t>(length),       static_cast<std::uint8_t>(length >> 8),
            static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 24),
            static_cast<std::uint8_t>(kind),         static_cast<std::uint8_t>(kind >> 8)};
}

class Garbage : public BridgeProcess, public ::testing::WithParamInterface<GarbageCase> {};

TEST_P(Garbage, EndsTheBridgeWithAFault) {
    ASSERT_TRUE(client_->request(Kind::Register, registration("Bridge")).flag());
    const std::vector<std::uint8_t>& bytes = GetParam().bytes;
    ASSERT_TRUE(child_->channel().writeAll(bytes.data(), bytes.size()));
    if (GetParam().thenClose) {
        child_->closeInput();
    }
    bridge::Message message;
    ASSERT_EQ(bridge::readMessage(child_->channel(), bridge::kMostRequestBytes, message),
              bridge::ReadResult::Read);
    ASSERT_EQ(message.kind, static_cast<std::uint16_t>(Kind::Fault));
    RecordReader reader(std::move(message.payload));
    std::string fault;
    ASSERT_TRUE(reader.text(fault));
    EXPECT_EQ(fault, GetParam().fault);
    EXPECT_EQ(child_->exitCode(kExitBound), bridge::kExitBadMessage);
}

INSTANTIATE_TEST_SUITE_P(
    Bridge, Garbage,
    ::testing::Values(
        GarbageCase{"UnknownKind", header(0, 999), false, "message kind 999 is no request"},
        GarbageCase{"AnswerSentToTheBridge", header(0, 2), false, "message kind 2 is no request"},
        GarbageCase{"HeaderCut", {1, 0, 0}, true, "the channel ended inside a message"},
        GarbageCase{
            "PayloadCut", {8, 0, 0, 0, 16, 0, 1, 0}, true, "the channel ended inside a message"},
        GarbageCase{"OnePastTheBound", header(bridge::kMostRequestBytes + 1, 16), false,
                    "a message announced more bytes than any request has"}),
    [](const auto& info) { return std::string(info.param.name); });

// The largest request the bridge reads is read, and answered.
TEST_F(BridgeProcess, ReadsARequestAtTheBound) {
    RecordWriter largest;
    for (std::uint32_t i = 0; i < bridge::kMostRequestBytes; ++i) {
        largest.u8(0);
    }
    const BridgeAnswer answer = client_->request(Kind::TraceLine, largest);
    ASSERT_TRUE(answer.came);
    EXPECT_EQ(answer.outcome, bridge::Outcome::Refused);
}

}  // namespace
