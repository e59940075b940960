// Pages taken by memory transfer from the virtual scanner, against the chart it scans: strips and
// tiles of every size the source is told to use, at each pixel type, in buffers given as pointers
// and as handles; and the ways a transfer ends early, each ending it as the states say.
#include <string>
#include <thread>

#include "image/messages.h"
#include "mechanism_scenario.h"
#include "page_rows.h"
#include "session/acquisition.h"
#include "session/lifecycle.h"
#include "session/memory_transfer.h"
#include "session/session_thread.h"
#include "session/twain_session.h"
#include "settings/capability_access.h"

namespace {

using Outcome = MemoryTransfer::Outcome;

class MemoryTransferTest : public MechanismScenario {
  protected:
    static void scanIn(TW_UINT16 pixelType) { enableFor(pixelType, TWSX_MEMORY); }
};

TEST_F(MemoryTransferTest, StripsAndTilesOfEverySizeGiveTheChartAtEachPixelType) {
    const struct {
        const char* name;
        const char* knob;
        int64_t value;
    } buffers[] = {
        {"strips as the buffer holds", nullptr, 0},
        {"strips of one row", "memory.strip_rows", 1},
        {"strips of 7 rows", "memory.strip_rows", 7},
        {"the whole page in one strip", "memory.preferred_buffer", 1 << 24},
        {"tiles of 16", "memory.tile", 16},
        {"tiles of 20", "memory.tile", 20},
        {"tiles of 512", "memory.tile", 512},
    };
    const TW_UINT16 pixelTypes[] = {TWPT_BW, TWPT_GRAY, TWPT_RGB};
    const MemoryBuffer::Kind kinds[] = {MemoryBuffer::Kind::Pointer, MemoryBuffer::Kind::Handle};
    for (const auto& buffer : buffers) {
        for (const TW_UINT16 pixelType : pixelTypes) {
            for (const MemoryBuffer::Kind kind : kinds) {
                const std::string what = std::string(buffer.name) + ", pixel type " +
                                         std::to_string(pixelType) +
                                         (kind == MemoryBuffer::Kind::Handle ? ", handle" : "");
                ASSERT_TRUE(disableSource());
                resetScanner();
                if (buffer.knob != nullptr) {
                    vscan_setKnob(buffer.knob, buffer.value);
                    vscan_setKnob("memory.max_buffer", 1 << 24);
                }
                scanIn(pixelType);
                PageRows page;
                MemoryTransfer transfer(page, kind);
                ASSERT_TRUE(acquireNextPage(transfer)) << what;
                EXPECT_EQ(transfer.outcome(), Outcome::Page) << what;
                EXPECT_TRUE(page.ended) << what;
                EXPECT_EQ(page.differenceFromExpectedPage(), "") << what;
                EXPECT_EQ(twainSession.state, kStateSourceEnabled) << what;
            }
        }
    }
}

TEST_F(MemoryTransferTest, TheRowsThatCameMakeTheHeightWhateverTheImageInfoSays) {
    for (const int64_t stated : {-1, 100, 1000}) {
        ASSERT_TRUE(disableSource());
        resetScanner();
        vscan_setKnob("imageinfo.length", stated);
        scanIn(TWPT_GRAY);
        PageRows page;
        MemoryTransfer transfer(page, MemoryBuffer::Kind::Pointer);
        ASSERT_TRUE(acquireNextPage(transfer)) << stated;
        EXPECT_EQ(page.heightHint, stated > 0 ? static_cast<std::uint32_t>(stated) : 0u);
        EXPECT_EQ(page.height, 825u) << stated;
        EXPECT_EQ(page.differenceFromExpectedPage(), "") << stated;
    }
}

TEST_F(MemoryTransferTest, ABufferWhoseCountsOverrunItIsRefusedAndTheTransferEnded) {
    vscan_setKnob("memory.overrun", 3);
    scanIn(TWPT_RGB);
    resetScanner();
    vscan_setKnob("memory.overrun", 3);
    PageRows page;
    MemoryTransfer transfer(page, MemoryBuffer::Kind::Pointer);
    EXPECT_FALSE(acquireNextPage(transfer));
    EXPECT_EQ(transfer.outcome(), Outcome::Refused);
    EXPECT_STREQ(transfer.refusal(), kStripOutsideBuffer);
    EXPECT_EQ(countOf(DAT_IMAGEMEMXFER, MSG_GET), 3u);
    EXPECT_EQ(countOf(DAT_PENDINGXFERS, MSG_ENDXFER), 1u) << requestNames();
    EXPECT_FALSE(page.ended);
}

TEST_F(MemoryTransferTest, ATransferThatFailsBeforeItsFirstBufferSaysSo) {
    const struct {
        const char* knob;
        const char* refusal;
    } cases[] = {{"memory.fail_first", nullptr}, {"imageinfo.planar", kPlanarRefused}};
    for (const auto& c : cases) {
        ASSERT_TRUE(disableSource());
        resetScanner();
        vscan_setKnob(c.knob, 1);
        scanIn(TWPT_RGB);
        PageRows page;
        MemoryTransfer transfer(page, MemoryBuffer::Kind::Pointer);
        EXPECT_FALSE(acquireNextPage(transfer)) << c.knob;
        EXPECT_EQ(transfer.outcome(), Outcome::NoFirstStrip) << c.knob;
        if (c.refusal != nullptr) {
            EXPECT_STREQ(transfer.refusal(), c.refusal);
        }
        // The page was never taken: the transfer is reset, not ended.
        EXPECT_EQ(countOf(DAT_PENDINGXFERS, MSG_ENDXFER), 0u) << c.knob << ": " << requestNames();
        EXPECT_EQ(countOf(DAT_PENDINGXFERS, MSG_RESET), 1u) << c.knob << ": " << requestNames();
        EXPECT_LE(twainSession.state, kStateSourceEnabled);
    }
}

TEST_F(MemoryTransferTest, ASinkThatStopsEndsTheTransferBetweenBuffers) {
    vscan_setKnob("memory.strip_rows", 10);
    scanIn(TWPT_GRAY);
    PageRows page;
    page.beforeRows = [](std::uint32_t batch) { return batch < 2; };
    MemoryTransfer transfer(page, MemoryBuffer::Kind::Handle);
    EXPECT_FALSE(acquireNextPage(transfer));
    EXPECT_EQ(transfer.outcome(), Outcome::NoPage);
    EXPECT_EQ(countOf(DAT_IMAGEMEMXFER, MSG_GET), 3u);
    EXPECT_EQ(countOf(DAT_PENDINGXFERS, MSG_ENDXFER), 1u) << requestNames();
}

// A teardown made from the rows' own callback, as a consumer on the session's thread would, or a
// cancel from another thread while a strip is on its way: the transfer ends there, and no buffer
// is asked for after it.
TEST_F(MemoryTransferTest, ATeardownOrACancelDuringAStripEndsTheTransferCleanly) {
    const struct {
        const char* name;
        std::function<void()> during;
        int32_t stateAfter;
    } cases[] = {
        {"closeSource from the callback",
         [] {
             runSessionCall("closeSource", CallKind::Teardown,
                            {kStateSourceOpen, kStateTransferring}, [] { closeSource(); });
         },
         kStateManagerOpen},
        {"cancel from another thread", [] { std::thread(cancelPageWait).join(); },
         kStateSourceOpen},
    };
    for (const auto& c : cases) {
        if (twainSession.state < kStateSourceOpen) {
            ASSERT_TRUE(openSource());
        }
        ASSERT_TRUE(disableSource());
        resetScanner();
        vscan_setKnob("memory.strip_rows", 10);
        scanIn(TWPT_RGB);
        PageRows page;
        page.beforeRows = [&c](std::uint32_t batch) {
            if (batch == 1) {
                c.during();
            }
            return true;
        };
        MemoryTransfer transfer(page, MemoryBuffer::Kind::Pointer);
        EXPECT_FALSE(acquireNextPage(transfer)) << c.name;
        EXPECT_EQ(transfer.outcome(), Outcome::NoPage) << c.name;
        EXPECT_EQ(countOf(DAT_IMAGEMEMXFER, MSG_GET), 2u) << c.name << ": " << requestNames();
        EXPECT_EQ(countOf(DAT_PENDINGXFERS, MSG_ENDXFER), 1u) << c.name << ": " << requestNames();
        if (twainSession.state == kStateSourceEnabled) {
            ASSERT_TRUE(disableSource());
        }
        EXPECT_EQ(twainSession.state, c.stateAfter) << c.name;
    }
}

}  // namespace
