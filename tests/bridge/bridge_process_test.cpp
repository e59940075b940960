// The bridge program as its parent meets it: started with the channel as its standard input and
// output, serving a session of the virtual scanner, and ending as it should when the channel
// carries something that is no request or closes.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "bridge/message.h"
#include "bridge_child.h"
#include "bridge_client.h"
#include "build_version.h"
#include "jni/device_records.h"
#include "scenario.h"
#include "session/acquisition.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"

namespace {

using bridge::Kind;

constexpr int kExitBound = 10000;

class BridgeProcess : public Scenario {
  protected:
    void SetUp() override {
        Scenario::SetUp();
        startBridge();
    }

    // The knobs reach the bridge's own scanner through its environment.
    void startBridgeWithKnob(const char* knob) {
        client_.reset();
        child_.reset();
        const char* knobs = std::getenv("VIRTUAL_SCANNER_KNOBS");
        const std::string before = knobs ? knobs : "";
        setenv("VIRTUAL_SCANNER_KNOBS", (before.empty() ? knob : before + "," + knob).c_str(), 1);
        startBridge();
        setenv("VIRTUAL_SCANNER_KNOBS", before.c_str(), 1);
    }

    void startBridge() {
        child_ = BridgeChild::start(BRIDGE_PROGRAM);
        ASSERT_NE(child_, nullptr) << "the bridge could not be started";
        client_.emplace(child_->channel());
        std::uint32_t protocol = 0;
        std::uint32_t bits = 0;
        std::string version;
        ASSERT_TRUE(client_->hello(protocol, bits, version));
        EXPECT_EQ(protocol, bridge::kProtocolVersion);
        EXPECT_EQ(bits, sizeof(void*) * 8);
        EXPECT_EQ(version, SCANLINK_VERSION);
    }

    void TearDown() override {
        client_.reset();
        child_.reset();
        Scenario::TearDown();
    }

    void openTheSource() {
        ASSERT_TRUE(client_->request(Kind::Register, registration("Bridge")).flag());
        RecordWriter hidden;
        hidden.u8(0);
        ASSERT_TRUE(client_->request(Kind::SetVisible, hidden).flag());
        ASSERT_TRUE(client_->request(Kind::OpenDefaultSource).flag());
    }

    // Sends raw bytes: what a parent that is not this library's could write.
    void sendRaw(const std::vector<std::uint8_t>& bytes) {
        ASSERT_TRUE(child_->channel().writeAll(bytes.data(), bytes.size()));
    }

    std::unique_ptr<BridgeChild> child_;
    std::optional<BridgeClient> client_;
};

// The same page, taken by the library in this process with the same settings.
std::vector<std::uint8_t> pageInProcess(TW_UINT16 pixelType) {
    std::vector<std::uint8_t> page;
    EXPECT_TRUE(registerAsNative());
    EXPECT_TRUE(openSource());
    RecordReader setting(oneUint16(ICAP_PIXELTYPE, pixelType).bytes());
    std::uint32_t capability = 0;
    setting.u32(capability);
    std::vector<std::uint8_t> container(setting.left());
    for (auto& byte : container) {
        setting.u8(byte);
    }
    EXPECT_TRUE(setCapabilityByRecord(ICAP_PIXELTYPE, container).value);
    twainSession.userInterface.ShowUI = 0;
    EXPECT_TRUE(prepareTransfer());
    if (const TW_HANDLE image = acquireNextImage()) {
        const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(image));
        page.assign(bytes, bytes + GlobalSize(image));
        GlobalUnlock(image);
        GlobalFree(image);
    }
    EXPECT_TRUE(unregister());
    return page;
}

class PixelTypes : public BridgeProcess, public ::testing::WithParamInterface<TW_UINT16> {};

TEST_P(PixelTypes, PageIsTheOneTakenInProcess) {
    openTheSource();
    ASSERT_TRUE(
        client_->request(Kind::SetCapability, oneUint16(ICAP_PIXELTYPE, GetParam())).flag());
    ASSERT_TRUE(client_->request(Kind::PrepareTransfer).flag());
    const BridgeAnswer page = client_->request(Kind::AcquireImage);
    ASSERT_TRUE(page.flag());
    ASSERT_TRUE(page.pageCame);
    EXPECT_TRUE(page.pageLocked);
    EXPECT_EQ(page.state, kStateSourceEnabled);
    EXPECT_TRUE(client_->request(Kind::StopTransfer).flag());
    EXPECT_TRUE(client_->request(Kind::Unregister).flag());
    const std::vector<std::uint8_t> expected = pageInProcess(GetParam());
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(page.page == expected) << "the page through the bridge differs from the library's";
}

INSTANTIATE_TEST_SUITE_P(Bridge, PixelTypes, ::testing::Values(TWPT_BW, TWPT_GRAY, TWPT_RGB));

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

TEST_F(BridgeProcess, CancelEndsTheWaitForAPage) {
    startBridgeWithKnob("page.delay_ms=600000");
    openTheSource();
    ASSERT_TRUE(client_->request(Kind::PrepareTransfer).flag());
    ASSERT_TRUE(bridge::writeMessage(child_->channel(), static_cast<std::uint16_t>(Kind::Cancel),
                                     nullptr, 0));
    const BridgeAnswer page = client_->request(Kind::AcquireImage);
    ASSERT_TRUE(page.came) << "the wait did not end";
    EXPECT_FALSE(page.flag());
    EXPECT_FALSE(page.pageCame);
    EXPECT_TRUE(client_->request(Kind::StopTransfer).flag());
    EXPECT_EQ(client_->request(Kind::CloseSource).state, kStateManagerOpen);
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
    sendRaw(GetParam().bytes);
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
