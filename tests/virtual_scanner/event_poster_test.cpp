// The source's worker thread on its own: a message scheduled earlier than the one it waits for
// goes out at its new time, and a cancel returns only once the thread has ended, so that nothing
// of the source runs on after its disable or close.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "event_poster.h"
#include "wait_bound.h"

namespace {

using namespace std::chrono_literals;

constexpr UINT kMessage = WM_APP + 7;

class EventPosterTest : public testing::Test {
  protected:
    void SetUp() override {
        window_ =
            CreateWindowExA(0, "STATIC", "Poster test", WS_POPUP, 0, 0, 1, 1, {}, {}, {}, nullptr);
        ASSERT_TRUE(window_);
    }
    void TearDown() override { DestroyWindow(window_); }

    // Until the worker waits for the time of the message it was given, within a bound.
    bool awaitWorkerWaiting() {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!poster_.waiting()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::yield();
        }
        return true;
    }

    // The tag of the message that arrives within the bound; 0 when none does.
    WPARAM nextMessage() {
        WaitBound bound(5s);
        MSG msg = {};
        while (GetMessageA(&msg, {}, 0, 0)) {
            if (msg.message == kMessage) {
                return msg.wParam;
            }
        }
        return 0;
    }

    HWND window_ = {};
    vscan::EventPoster poster_;
};

TEST_F(EventPosterTest, AnEarlierTimeWakesTheWaitingWorker) {
    poster_.schedule(window_, kMessage, 1, 1h);
    ASSERT_TRUE(awaitWorkerWaiting()) << "the worker never waited for the first message";
    poster_.schedule(window_, kMessage, 2, 0ms);
    EXPECT_EQ(nextMessage(), 2u) << "the worker slept on until the first message's time";
    poster_.cancel();
}

TEST_F(EventPosterTest, ACancelReturnsOnceTheWorkerHasEnded) {
    struct Case {
        const char* what;
        std::chrono::milliseconds delay;
    };
    const Case cases[] = {
        {"waiting for its message's time", 1h},
        {"with its message posted", 0ms},
    };
    for (const Case& c : cases) {
        poster_.schedule(window_, kMessage, 1, c.delay);
        if (c.delay.count() > 0) {
            ASSERT_TRUE(awaitWorkerWaiting()) << c.what;
        } else {
            ASSERT_EQ(nextMessage(), 1u) << c.what;
        }
        poster_.cancel();
        EXPECT_FALSE(poster_.workerStarted()) << "a worker " << c.what << " outlived the cancel";
        EXPECT_FALSE(poster_.waiting()) << c.what;
    }
}

}  // namespace
