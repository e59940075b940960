#include "bridge_session.h"

#include <windows.h>

#include "build_version.h"
#include "jni/device_records.h"
#include "session/acquisition.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"

namespace {

using bridge::Kind;

struct ListedSource {
    std::uint32_t id = 0;
    std::string manufacturer;
    std::string family;
    std::string product;
};

// The identities of a ListSources answer: its flag, the count, then each identity.
std::optional<std::vector<ListedSource>> listedSources(const std::vector<std::uint8_t>& answer) {
    if (answer.empty() || answer[0] == 0) {
        return std::nullopt;
    }
    RecordReader reader(std::vector<std::uint8_t>(answer.begin() + 1, answer.end()));
    std::uint32_t count = 0;
    if (!reader.u32(count)) {
        return std::nullopt;
    }
    std::vector<ListedSource> sources;
    for (std::uint32_t i = 0; i < count; ++i) {
        ListedSource source;
        std::uint32_t number = 0;
        std::string info;
        if (!reader.u32(source.id) || !reader.u16(number) || !reader.u16(number) ||
            !reader.u16(number) || !reader.u16(number) || !reader.text(info) ||
            !reader.u16(number) || !reader.u16(number) || !reader.u32(number) ||
            !reader.text(source.manufacturer) || !reader.text(source.family) ||
            !reader.text(source.product)) {
            return std::nullopt;
        }
        sources.push_back(std::move(source));
    }
    if (!reader.atEnd()) {
        return std::nullopt;
    }
    return sources;
}

}  // namespace

void BridgeProcess::SetUp() {
    Scenario::SetUp();
    startBridge();
}

void BridgeProcess::TearDown() {
    client_.reset();
    child_.reset();
    Scenario::TearDown();
}

void BridgeProcess::startBridgeWithKnob(const char* knob) {
    client_.reset();
    child_.reset();
    const std::string before = childEnvironment("VIRTUAL_SCANNER_KNOBS");
    setChildEnvironment("VIRTUAL_SCANNER_KNOBS", before.empty() ? knob : before + "," + knob);
    startBridge();
    setChildEnvironment("VIRTUAL_SCANNER_KNOBS", before);
}

void BridgeProcess::startBridge() {
    child_ = BridgeChild::start(BRIDGE_PROGRAM);
    ASSERT_NE(child_, nullptr) << "the bridge could not be started";
    client_.emplace(child_->channel());
    std::uint32_t protocol = 0;
    std::uint32_t bits = 0;
    std::string version;
    ASSERT_TRUE(client_->hello(protocol, bits, version));
    EXPECT_EQ(protocol, bridge::kProtocolVersion);
    EXPECT_EQ(bits, BRIDGE_BITS);
    EXPECT_EQ(version, SCANLINK_VERSION);
}

void BridgeProcess::showInterface(bool shown) {
    RecordWriter visible;
    visible.u8(shown ? 1 : 0);
    ASSERT_TRUE(client_->request(Kind::SetVisible, visible).flag());
}

void BridgeProcess::openTheSource() {
    ASSERT_TRUE(client_->request(Kind::Register, registration("Bridge")).flag());
    showInterface(false);
    ASSERT_TRUE(client_->request(Kind::OpenDefaultSource).flag());
}

void BridgeProcess::openListed(const char* product) {
    ASSERT_TRUE(client_->request(Kind::Register, registration("Bridge")).flag());
    showInterface(false);
    const auto sources = listedSources(client_->request(Kind::ListSources).payload);
    ASSERT_TRUE(sources.has_value()) << "no list of sources came";
    for (const ListedSource& source : *sources) {
        if (source.product == product) {
            RecordWriter identity;
            identity.u32(source.id);
            identity.text(source.manufacturer);
            identity.text(source.family);
            identity.text(source.product);
            const BridgeAnswer opened = client_->request(Kind::OpenSource, identity);
            ASSERT_TRUE(opened.flag()) << "condition code " << opened.conditionCode;
            EXPECT_EQ(opened.state, kStateSourceOpen);
            return;
        }
    }
    FAIL() << product << " is not listed";
}

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
