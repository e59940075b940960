// A session through the bridge program as any parent meets it, whichever bridge and manager serve
// it: the sources listed and opened, pages of every pixel type as the library takes them in its
// own process, the feeder, a cancel, and a bridge killed while a page streams.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "bridge/message.h"
#include "bridge_session.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"

namespace {

using bridge::Kind;

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
    EXPECT_EQ(page.page.size(), expected.size());
    EXPECT_TRUE(page.page == expected) << "the page through the bridge differs from the library's";
}

INSTANTIATE_TEST_SUITE_P(Bridge, PixelTypes, ::testing::Values(TWPT_BW, TWPT_GRAY, TWPT_RGB));

TEST_F(BridgeProcess, OpensTheVirtualScannerByTheIdentityListed) {
    openListed("Virtual Scanner");
    EXPECT_EQ(client_->request(Kind::CloseSource).state, kStateManagerOpen);
    EXPECT_TRUE(client_->request(Kind::Unregister).flag());
}

TEST_F(BridgeProcess, TheFeederDeliversEverySheetAndThenIsEmpty) {
    startBridgeWithKnob("feeder.sheets=3");
    openTheSource();
    showInterface(true);
    ASSERT_TRUE(client_->request(Kind::SetCapability, oneUint16(ICAP_PIXELTYPE, TWPT_RGB)).flag());
    ASSERT_TRUE(
        client_->request(Kind::SetCapability, oneValue(CAP_FEEDERENABLED, TWTY_BOOL, 1)).flag());
    ASSERT_TRUE(client_->request(Kind::PrepareTransfer).flag());
    std::vector<std::vector<std::uint8_t>> pages;
    while (pages.size() < 4) {
        const BridgeAnswer page = client_->request(Kind::AcquireImage);
        ASSERT_TRUE(page.came) << "the bridge did not answer";
        if (!page.flag()) {
            EXPECT_FALSE(page.pageCame);
            EXPECT_EQ(page.state, kStateSourceOpen);
            break;
        }
        ASSERT_TRUE(page.pageCame);
        pages.push_back(page.page);
    }
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_TRUE(client_->request(Kind::Unregister).flag());
    const std::vector<std::uint8_t> expected = pageInProcess(TWPT_RGB);
    for (const auto& page : pages) {
        EXPECT_TRUE(page == expected) << "a sheet differs from the page the library takes";
    }
}

// The virtual user presses nothing in the source's dialog: a source that showed it would wait for
// ever, one told not to scans at once. A cancel after a bound ends the wait should it show.
TEST_F(BridgeProcess, ASourceToldToHideItsInterfaceScansWithoutItsUser) {
    startBridgeWithKnob("ui.dialog=1,ui.manual=1");
    openTheSource();
    ASSERT_TRUE(client_->request(Kind::PrepareTransfer).flag());
    std::mutex lock;
    std::condition_variable answered;
    bool done = false;
    std::thread bound([&] {
        std::unique_lock<std::mutex> held(lock);
        if (!answered.wait_for(held, std::chrono::seconds(30), [&] { return done; })) {
            bridge::writeMessage(child_->channel(), static_cast<std::uint16_t>(Kind::Cancel),
                                 nullptr, 0);
        }
    });
    const BridgeAnswer page = client_->request(Kind::AcquireImage);
    {
        const std::lock_guard<std::mutex> held(lock);
        done = true;
    }
    answered.notify_one();
    bound.join();
    EXPECT_TRUE(page.pageCame) << "the source waited for its user: its interface was shown";
    EXPECT_TRUE(client_->request(Kind::StopTransfer).flag());
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

// A bridge that dies while a page is on its way: the parent's read ends without an answer, and
// the bridge is gone with the code it was killed with.
TEST_F(BridgeProcess, KilledWhileAPageStreamsTheParentGetsNoAnswerAndItsExitCode) {
    openTheSource();
    // A colour page at 300 dpi: many pieces, so that the bridge is still writing when it is killed.
    for (TW_UINT16 axis : {ICAP_XRESOLUTION, ICAP_YRESOLUTION}) {
        ASSERT_TRUE(
            client_->request(Kind::SetCapability, oneValue(axis, TWTY_FIX32, 300 << 16)).flag());
    }
    ASSERT_TRUE(client_->request(Kind::SetCapability, oneUint16(ICAP_PIXELTYPE, TWPT_RGB)).flag());
    ASSERT_TRUE(client_->request(Kind::PrepareTransfer).flag());
    ASSERT_TRUE(client_->send(Kind::AcquireImage));
    bridge::Message first;
    ASSERT_EQ(bridge::readMessage(child_->channel(), bridge::kPageChunkBytes, first),
              bridge::ReadResult::Read);
    ASSERT_EQ(first.kind, static_cast<std::uint16_t>(Kind::PageStart));
    child_->kill();
    const BridgeAnswer cut = client_->answer();
    EXPECT_FALSE(cut.came);
    EXPECT_EQ(child_->exitCode(kExitBound), BridgeChild::kKilledExitCode);
}

}  // namespace
