// Calls from several threads: none sees the session half changed, a teardown from another thread
// ends the owner's wait, the proxy window is destroyed on its own thread, and a thread that cannot
// receive the source's events is refused instead of waiting.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "platform_probe.h"
#include "scenario.h"
#include "session/acquisition.h"
#include "session/lifecycle.h"
#include "session/session_lock.h"
#include "session/twain_session.h"
#include "twain_natives.h"
#include "wait_bound.h"

namespace {

using Threads = Scenario;

bool lockedRegister() {
    SessionLock lock;
    return registerDemo();
}

HWND proxy() { return static_cast<HWND>(twainSession.userInterface.hParent); }

// Runs `work` on another thread and tells whether it finished within the bound while this thread
// took no message; if it did not, this thread takes messages until it does.
bool finishesWithoutTheOwner(const std::function<void()>& work) {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread other([&] {
        work();
        std::lock_guard lock(mutex);
        done = true;
        finished.notify_all();
    });
    bool inTime = false;
    {
        std::unique_lock lock(mutex);
        inTime = finished.wait_for(lock, std::chrono::seconds(5), [&] { return done; });
    }
    while (!inTime && !done) {
        MSG msg;
        PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
        GetMessageA(&msg, 0, 0, 0);
    }
    other.join();
    return inTime;
}

TEST_F(Threads, AcquireOnAThreadThatOwnsNoSessionWindowIsRefusedAtOnce) {
    ASSERT_TRUE(lockedRegister());
    ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_openSource(nullptr, nullptr));
    ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_prepareTransfer(nullptr, nullptr));
    resetScanner();
    TW_HANDLE image = {};
    bool bounded = false;
    std::thread other([&] {
        SessionLock lock;
        WaitBound bound;
        image = waitForImage(lock);
        bounded = !bound.exceeded();
    });
    other.join();
    EXPECT_TRUE(bounded);
    EXPECT_FALSE(image);
    EXPECT_EQ(twainSession.resultCode, TWRC_FAILURE);
    EXPECT_EQ(twainSession.conditionCode, TWCC_SEQERROR);
    EXPECT_EQ(twainSession.state, kStateSourceEnabled);
    EXPECT_EQ(vscan_logSize(), 0u);
}

// The source will not announce anything within the test; only the other thread's teardown can
// end the wait.
void expectTeardownFromAnotherThreadToEndTheWait(jboolean (*teardown)(JNIEnv*, jclass),
                                                 int32_t stateAfter) {
    const size_t windowsBefore = liveWindows();
    vscan_setKnob("page.delay_ms", 600000);
    ASSERT_TRUE(lockedRegister());
    ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_openSource(nullptr, nullptr));
    ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_prepareTransfer(nullptr, nullptr));
    const DWORD owner = GetCurrentThreadId();
    jboolean tornDown = JNI_FALSE;
    std::thread other([&] {
        awaitMessageWait(owner);
        tornDown = teardown(nullptr, nullptr);
    });
    TW_HANDLE image = {};
    {
        SessionLock lock;
        WaitBound bound;
        image = waitForImage(lock);
        EXPECT_FALSE(bound.exceeded()) << "the owner went on waiting after the teardown";
    }
    other.join();
    EXPECT_TRUE(tornDown);
    EXPECT_FALSE(image);
    EXPECT_EQ(twainSession.state, stateAfter);
    // Back on its own thread, the proxy window is as the teardown left it: enabled, or gone.
    if (stateAfter <= kStateManagerNotLoaded) {
        EXPECT_EQ(liveWindows(), windowsBefore);
    } else {
        EXPECT_TRUE(IsWindowEnabled(proxy()));
    }
}

TEST_F(Threads, StopTransferFromAnotherThreadEndsTheOwnersWait) {
    expectTeardownFromAnotherThreadToEndTheWait(Java_QZ_korvel_twain_TwainEx_stopTransfer,
                                                kStateSourceOpen);
}

TEST_F(Threads, CloseSourceFromAnotherThreadEndsTheOwnersWait) {
    expectTeardownFromAnotherThreadToEndTheWait(Java_QZ_korvel_twain_TwainEx_closeSource,
                                                kStateManagerOpen);
}

TEST_F(Threads, UnregisterFromAnotherThreadEndsTheOwnersWait) {
    expectTeardownFromAnotherThreadToEndTheWait(Java_QZ_korvel_twain_TwainEx_unregister,
                                                kStateManagerNotLoaded);
}

// From another thread, enabling the proxy window would wait for an owner that takes no messages.
TEST_F(Threads, StopTransferFromAnotherThreadDoesNotWaitForTheOwnersMessages) {
    ASSERT_TRUE(lockedRegister());
    ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_openSource(nullptr, nullptr));
    ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_prepareTransfer(nullptr, nullptr));
    EXPECT_TRUE(finishesWithoutTheOwner(
        [] { EXPECT_TRUE(Java_QZ_korvel_twain_TwainEx_stopTransfer(nullptr, nullptr)); }));
    EXPECT_EQ(Java_QZ_korvel_twain_TwainEx_getState(nullptr, nullptr), kStateSourceOpen);
    EXPECT_TRUE(IsWindowEnabled(proxy()));
}

TEST_F(Threads, UnregisterOnAnotherThreadLeavesTheWindowToItsOwnThread) {
    const size_t windowsBefore = liveWindows();
    ASSERT_TRUE(lockedRegister());
    const HWND window = proxy();
    EXPECT_TRUE(finishesWithoutTheOwner(
        [] { EXPECT_TRUE(Java_QZ_korvel_twain_TwainEx_unregister(nullptr, nullptr)); }));
    EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
    EXPECT_TRUE(IsWindow(window)) << "only its own thread may destroy it";
    // The owner's next call into the session destroys it.
    EXPECT_EQ(Java_QZ_korvel_twain_TwainEx_getState(nullptr, nullptr), kStateManagerNotLoaded);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(liveWindows(), windowsBefore);
}

TEST_F(Threads, TheWindowOfARegisteringThreadThatEndedGoesWithIt) {
    const size_t windowsBefore = liveWindows();
    std::thread registering([] { ASSERT_TRUE(lockedRegister()); });
    registering.join();
    EXPECT_EQ(liveWindows(), windowsBefore);
    EXPECT_TRUE(Java_QZ_korvel_twain_TwainEx_unregister(nullptr, nullptr));
    EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
    EXPECT_EQ(liveWindows(), windowsBefore);
}

// The manager is released and bound again while other threads send capability requests: none
// may call through an entry point that is being cleared.
TEST_F(Threads, CapabilityCallsDuringRegisterAndUnregisterOnOtherThreads) {
    std::atomic<bool> stop = false;
    std::atomic<int> served = 0;
    auto caller = [&](int seed) {
        for (int i = seed; !stop; ++i) {
            if (i % 3 == 0) {
                Java_QZ_korvel_twain_TwainEx_setXResolution(nullptr, nullptr, 150.0);
            } else if (i % 3 == 1) {
                Java_QZ_korvel_twain_TwainEx_getXResolution(nullptr, nullptr);
            } else {
                Java_QZ_korvel_twain_TwainEx_isFeederLoaded(nullptr, nullptr);
            }
            ++served;
        }
    };
    std::thread first(caller, 0);
    std::thread second(caller, 1);
    // Until the other threads have been served a good many times, whoever was scheduled first.
    for (int round = 0; round < 200 || served < 2000; ++round) {
        ASSERT_TRUE(lockedRegister());
        ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_openSource(nullptr, nullptr));
        ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_unregister(nullptr, nullptr));
    }
    stop = true;
    first.join();
    second.join();
    EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
}

}  // namespace
