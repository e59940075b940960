// One thread speaks TWAIN. Calls made on other threads while the registering thread waits for a
// page are carried out by it; otherwise they are refused, or answered where they send nothing; the
// owner's own window procedures and modal loops may call back; the state and the codes answer at
// once. Each case meets a source that behaves as real drivers do: it shows windows on the thread
// that enabled it, disables the application's window, sends messages to its own windows, and
// refuses a triplet from any thread other than the one that opened it.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "app_window.h"
#include "deadline.h"
#include "one_time_signal.h"
#include "platform_probe.h"
#include "scenario.h"
#include "session/acquisition.h"
#include "session/native_calls.h"
#include "session/refusal.h"
#include "session/session_thread.h"
#include "session/twain_session.h"
#include "twain_natives.h"
#include "wait_bound.h"
#include "worker.h"

namespace {

using namespace std::chrono_literals;

jint getState() { return Java_QZ_korvel_twain_TwainEx_getState(nullptr, nullptr); }
TW_UINT16 resultCode() {
    return static_cast<TW_UINT16>(Java_QZ_korvel_twain_TwainEx_getResultCode(nullptr, nullptr));
}
TW_UINT16 conditionCode() {
    return static_cast<TW_UINT16>(Java_QZ_korvel_twain_TwainEx_getConditionCode(nullptr, nullptr));
}
bool selectSource() { return Java_QZ_korvel_twain_TwainEx_selectSource(nullptr, nullptr); }
bool openSource() { return Java_QZ_korvel_twain_TwainEx_openSource(nullptr, nullptr); }
bool prepareTransfer() { return Java_QZ_korvel_twain_TwainEx_prepareTransfer(nullptr, nullptr); }
bool stopTransfer() { return Java_QZ_korvel_twain_TwainEx_stopTransfer(nullptr, nullptr); }
bool closeSource() { return Java_QZ_korvel_twain_TwainEx_closeSource(nullptr, nullptr); }
bool unregister() { return Java_QZ_korvel_twain_TwainEx_unregister(nullptr, nullptr); }
bool setVisible(bool visible) {
    return Java_QZ_korvel_twain_TwainEx_setVisible(nullptr, nullptr, visible);
}
bool getVisible() { return Java_QZ_korvel_twain_TwainEx_getVisible(nullptr, nullptr); }
double getXResolution() { return Java_QZ_korvel_twain_TwainEx_getXResolution(nullptr, nullptr); }

HWND proxy() { return static_cast<HWND>(twainSession.userInterface.hParent); }

// A window handle as the number a knob holds.
template <class Handle>
int64_t knobValue(Handle window) {
    if constexpr (std::is_pointer_v<HWND>) {
        return static_cast<int64_t>(reinterpret_cast<std::intptr_t>(window));
    } else {
        return static_cast<int64_t>(window);
    }
}

template <class Work>
auto onAnotherThread(Work work) {
    return std::async(std::launch::async, std::move(work));
}

// Waits until the device shows the window, within a bound.
bool awaitDeviceWindow(const char* which) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (vscan_window(which) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Runs `work` on another thread and tells whether it finished within the bound while this thread
// took no message; if it did not, this thread takes messages until it does.
bool finishesWithoutTheOwner(const std::function<void()>& work) {
    Signal finished;
    std::thread other([&] {
        work();
        finished.set();
    });
    const bool inTime = finished.waitFor(5s);
    while (!finished.waitFor(1ms)) {
        MSG msg;
        if (PeekMessageA(&msg, {}, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }
    other.join();
    return inTime;
}

class Threads : public Scenario {
  protected:
    void SetUp() override {
        Scenario::SetUp();
        vscan_setKnob("threads.strict", 1);
    }

    // Registers on this thread, opens the source and enables it; no page comes within the test.
    void openAndEnable() {
        vscan_setKnob("page.delay_ms", 600000);
        ASSERT_TRUE(registerAsNative());
        ASSERT_TRUE(openSource());
        windowsBeforeEnable_ = liveWindows();
        ASSERT_TRUE(prepareTransfer());
    }

    // The wait for a page, bounded: a wait that had to be ended from outside fails the test.
    TW_HANDLE waitForPage(const char* whatShouldEndIt) {
        WaitBound bound;
        const TW_HANDLE image = acquireNextImage();
        EXPECT_FALSE(bound.exceeded()) << "the wait for a page went on after " << whatShouldEndIt;
        return image;
    }

    // Every triplet the device received came from this thread, and none was refused for its
    // thread.
    void expectEveryTripletFromTheOwner() {
        for (std::size_t i = 0; i < vscan_logSize(); ++i) {
            VscanTriplet entry{};
            vscan_logEntry(i, &entry);
            EXPECT_EQ(entry.thread, owner_) << "DAT " << entry.dat << " MSG " << entry.msg;
            EXPECT_EQ(entry.refusedForThread, 0) << "DAT " << entry.dat << " MSG " << entry.msg;
        }
    }

    const DWORD owner_ = GetCurrentThreadId();
    std::size_t windowsBeforeEnable_ = 0;
};

// The owner has just taken a message of its own window when another thread cancels. The source,
// disabled, enables the application's window again and tells its dialog, both messages that only
// the owner's thread can take.
TEST_F(Threads, ACancelWhileTheOwnerDispatchesDoesNotDeadlock) {
    // A driver that takes triplets from any thread, so that only its windows decide.
    vscan_setKnob("threads.strict", 0);
    vscan_setKnob("ui.disable_parent", 1);
    vscan_setKnob("ui.dialog", 1);
    vscan_setKnob("ui.send_messages", 1);
    openAndEnable();
    AppWindow app;
    Signal dispatching;
    app.on(WM_USER, [&] {
        dispatching.set();
        awaitSentMessage(owner_, 500ms);
    });
    PostMessageA(app.handle(), WM_USER, 0, 0);
    auto cancel = onAnotherThread([&] {
        dispatching.waitFor(10s);
        return stopTransfer();
    });
    TW_HANDLE image = {};
    {
        const Deadline deadline("the owner's wait and another thread's stopTransfer");
        image = waitForPage("the other thread's stopTransfer");
        EXPECT_TRUE(cancel.get());
    }
    EXPECT_FALSE(image);
    EXPECT_EQ(getState(), kStateSourceOpen);
    EXPECT_TRUE(IsWindowEnabled(proxy()));
    EXPECT_EQ(liveWindows(), windowsBeforeEnable_ + 1)
        << "the source's dialog or the application's";
    expectEveryTripletFromTheOwner();
}

// A dialog disables its owner window, the proxy window: from another thread that waits for the
// proxy window's thread to take the message.
TEST_F(Threads, SelectSourceOnAnotherThreadDoesNotWaitForTheOwner) {
    vscan_setKnob("manager.dialog", 1);
    ASSERT_TRUE(registerAsNative());
    vscan_clearLog();
    bool selected = true;
    EXPECT_TRUE(finishesWithoutTheOwner([&] { selected = selectSource(); }))
        << "selectSource on another thread waited for the owner to take messages";
    EXPECT_FALSE(selected);
    EXPECT_EQ(resultCode(), TWRC_FAILURE);
    EXPECT_EQ(conditionCode(), TWCC_SEQERROR);
    EXPECT_EQ(requestNames(), "");
    EXPECT_TRUE(IsWindowEnabled(proxy()));
}

TEST_F(Threads, PrepareTransferOnAnotherThreadDoesNotWaitForTheOwner) {
    vscan_setKnob("ui.disable_parent", 1);
    vscan_setKnob("ui.dialog", 1);
    ASSERT_TRUE(registerAsNative());
    ASSERT_TRUE(openSource());
    vscan_clearLog();
    bool enabled = true;
    EXPECT_TRUE(finishesWithoutTheOwner([&] { enabled = prepareTransfer(); }))
        << "prepareTransfer on another thread waited for the owner to take messages";
    EXPECT_FALSE(enabled);
    EXPECT_EQ(conditionCode(), TWCC_SEQERROR);
    EXPECT_EQ(getState(), kStateSourceOpen);
    EXPECT_EQ(requestNames(), "");
    // The owner enables it.
    EXPECT_TRUE(prepareTransfer());
    expectEveryTripletFromTheOwner();
}

// The source's dialog belongs to the thread that enabled it; only that thread can destroy it, so
// a teardown made elsewhere is carried out by the owner.
TEST_F(Threads, ATeardownDuringTheWaitIsCarriedOutByTheOwner) {
    vscan_setKnob("threads.strict", 0);
    vscan_setKnob("ui.dialog", 1);
    openAndEnable();
    EXPECT_NE(vscan_window("source.dialog"), 0u);
    auto close = onAnotherThread([this] {
        awaitMessageWait(owner_);
        return closeSource();
    });
    EXPECT_FALSE(waitForPage("the other thread's closeSource"));
    EXPECT_TRUE(close.get());
    EXPECT_EQ(getState(), kStateManagerOpen);
    EXPECT_EQ(liveWindows(), windowsBeforeEnable_) << "the source's dialog outlived it";
    expectEveryTripletFromTheOwner();
}

// A window procedure of the owner's thread runs inside the manager's modal dialog and calls the
// session: no triplet can go out inside another, but nothing waits either.
TEST_F(Threads, CallsFromAWindowProcedureInsideTheSelectionDialogAreAnswered) {
    vscan_setKnob("manager.dialog", 1);
    vscan_setKnob("ui.manual", 1);
    ASSERT_TRUE(registerAsNative());
    AppWindow app;
    struct {
        jint state = 0;
        bool opened = true;
        TW_UINT16 condition = 0;
        bool nestedSelection = true;
        bool visible = false;
    } seen;
    Signal answered;
    app.on(WM_USER, [&] {
        seen.state = getState();
        seen.opened = openSource();
        seen.condition = conditionCode();
        seen.nestedSelection = selectSource();
        seen.visible = setVisible(false);
        answered.set();
    });
    auto user = onAnotherThread([&] {
        EXPECT_TRUE(awaitDeviceWindow("manager.dialog"));
        PostMessageA(app.handle(), WM_USER, 0, 0);
        EXPECT_TRUE(answered.waitFor(10s)) << "the window procedure's calls did not return";
        vscan_press("manager.dialog", IDOK);
    });
    bool selected = false;
    {
        const Deadline deadline("a call from a window procedure inside the selection dialog");
        selected = selectSource();
        user.get();
    }
    EXPECT_TRUE(selected);
    EXPECT_EQ(seen.state, kStateManagerOpen);
    EXPECT_FALSE(seen.opened);
    EXPECT_EQ(seen.condition, TWCC_SEQERROR);
    EXPECT_FALSE(seen.nestedSelection);
    EXPECT_TRUE(seen.visible);
    EXPECT_EQ(requestNames(), "MSG_OPENDSM, MSG_USERSELECT");
    EXPECT_TRUE(IsWindowEnabled(proxy())) << "the dialog gave the proxy window back";
}

// The same inside a source that runs its dialog modally within MSG_ENABLEDS.
TEST_F(Threads, CallsFromAWindowProcedureInsideAModalEnableAreAnswered) {
    vscan_setKnob("ui.modal", 1);
    vscan_setKnob("ui.manual", 1);
    ASSERT_TRUE(registerAsNative());
    ASSERT_TRUE(openSource());
    AppWindow app;
    struct {
        double resolution = -1;
        TW_UINT16 condition = 0;
        bool stopped = false;
        jint state = 0;
    } seen;
    Signal answered;
    app.on(WM_USER, [&] {
        seen.resolution = getXResolution();
        seen.condition = conditionCode();
        seen.stopped = stopTransfer();
        seen.state = getState();
        answered.set();
    });
    auto user = onAnotherThread([&] {
        EXPECT_TRUE(awaitDeviceWindow("source.dialog"));
        PostMessageA(app.handle(), WM_USER, 0, 0);
        EXPECT_TRUE(answered.waitFor(10s)) << "the window procedure's calls did not return";
        vscan_press("source.dialog", IDOK);
    });
    bool enabled = false;
    {
        const Deadline deadline("a call from a window procedure inside a modal enable");
        enabled = prepareTransfer();
        user.get();
    }
    EXPECT_TRUE(enabled);
    EXPECT_EQ(seen.resolution, 0.0) << "a refused getter answers its default";
    EXPECT_EQ(seen.condition, TWCC_SEQERROR);
    EXPECT_TRUE(seen.stopped) << "in state 4 a teardown to state 4 sends nothing";
    EXPECT_EQ(seen.state, kStateSourceOpen);
    // The user pressed Scan: the page comes.
    const TW_HANDLE image = waitForPage("the page the user scanned");
    EXPECT_TRUE(image);
    GlobalFree(image);
    expectEveryTripletFromTheOwner();
}

// The source refuses to be disabled: the waiter still learns it, and the caller gets the refusal.
TEST_F(Threads, ARefusedTeardownFromAnotherThreadStillEndsTheWait) {
    openAndEnable();
    vscan_script(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, TWRC_FAILURE, TWCC_OPERATIONERROR,
                 1);
    auto cancel = onAnotherThread([this] {
        awaitMessageWait(owner_);
        return stopTransfer();
    });
    EXPECT_FALSE(waitForPage("the other thread's refused stopTransfer"));
    EXPECT_FALSE(cancel.get());
    EXPECT_EQ(getState(), kStateSourceEnabled);
    EXPECT_EQ(conditionCode(), TWCC_OPERATIONERROR);
    EXPECT_TRUE(stopTransfer());
    EXPECT_EQ(getState(), kStateSourceOpen);
    expectEveryTripletFromTheOwner();
}

// Another thread sends the owner a message whose procedure runs a modal loop, which takes whatever
// is posted meanwhile. A teardown made then must still end the wait once the loop is over.
TEST_F(Threads, AModalLoopInsideASentMessageCannotTakeTheWakeUp) {
    openAndEnable();
    AppWindow app;
    std::atomic<bool> endModal = false;
    Signal modalRunning;
    app.on(WM_USER, [&] {
        modalRunning.set();
        MSG msg;
        while (!endModal && GetMessageA(&msg, {}, 0, 0)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    });
    app.on(WM_USER + 1, [&] { endModal = true; });
    auto sender = onAnotherThread([&] {
        awaitMessageWait(owner_);
        SendMessageA(app.handle(), WM_USER, 0, 0);
    });
    auto cancel = onAnotherThread([&] {
        modalRunning.waitFor(10s);
        return stopTransfer();
    });
    auto ender = onAnotherThread([&] {
        modalRunning.waitFor(10s);
        // The teardown has been made by now, and whatever it posted, the modal loop took.
        std::this_thread::sleep_for(300ms);
        PostMessageA(app.handle(), WM_USER + 1, 0, 0);
    });
    EXPECT_FALSE(waitForPage("a teardown made during a modal loop"));
    EXPECT_TRUE(cancel.get());
    sender.get();
    ender.get();
    EXPECT_EQ(getState(), kStateSourceOpen);
    expectEveryTripletFromTheOwner();
}

// A wait for a page started inside the wait, from a message sent to the owner: refused, and the
// outer wait still takes the teardown that ends it.
TEST_F(Threads, ANestedWaitIsRefusedAndTheOuterWaitStillEnds) {
    openAndEnable();
    AppWindow app;
    TW_HANDLE nested = {};
    TW_UINT16 nestedCondition = 0;
    Signal nestedReturned;
    app.on(WM_USER, [&] {
        nested = acquireNextImage();
        nestedCondition = conditionCode();
        nestedReturned.set();
    });
    auto sender = onAnotherThread([&] {
        awaitMessageWait(owner_);
        SendMessageA(app.handle(), WM_USER, 0, 0);
    });
    // A nested wait that did start is ended from outside, so that the outer one is seen.
    auto rescuer = onAnotherThread([&] {
        if (!nestedReturned.waitFor(1s)) {
            PostThreadMessageA(owner_, WM_QUIT, 0, 0);
        }
    });
    auto cancel = onAnotherThread([&] {
        nestedReturned.waitFor(10s);
        awaitMessageWait(owner_);
        return stopTransfer();
    });
    EXPECT_FALSE(waitForPage("a teardown made after a nested wait"));
    sender.get();
    rescuer.get();
    EXPECT_TRUE(cancel.get());
    EXPECT_FALSE(nested);
    EXPECT_EQ(nestedCondition, TWCC_SEQERROR);
    EXPECT_EQ(getState(), kStateSourceOpen);
}

// Threads of a pool register one after another while the first owner idles: the session stays
// with that owner, no thread takes its window from it, and its own unregister ends it.
TEST_F(Threads, IdleOwnersKeepTheirSessionAndNoWindowIsLeftPerCycle) {
    const std::size_t before = liveWindows();
    std::vector<std::unique_ptr<Worker>> pool;
    for (int cycle = 0; cycle < 4; ++cycle) {
        pool.push_back(std::make_unique<Worker>());
        EXPECT_TRUE(pool.back()->run([] { return registerAsNative(); }));
        EXPECT_FALSE(unregister()) << "cycle " << cycle << ": the owner does not wait";
        EXPECT_EQ(conditionCode(), TWCC_SEQERROR);
        EXPECT_EQ(getState(), kStateManagerOpen);
        EXPECT_EQ(liveWindows(), before + 1) << "cycle " << cycle;
    }
    EXPECT_TRUE(pool.front()->run([] { return unregister(); }));
    EXPECT_EQ(getState(), kStateManagerNotLoaded);
    EXPECT_EQ(liveWindows(), before);
}

// The thread that enabled the source waits for its pages, proxy window or not.
TEST_F(Threads, TheEnablingThreadWaitsEvenWithoutAProxyWindow) {
    if (!failNextWindowCreation()) {
        GTEST_SKIP() << "this platform cannot make a window creation fail";
    }
    ASSERT_TRUE(registerAsNative());
    EXPECT_FALSE(proxy());
    // The source's events go to a window of the application's instead.
    AppWindow events;
    vscan_setKnob("event.window", knobValue(events.handle()));
    ASSERT_TRUE(openSource());
    ASSERT_TRUE(prepareTransfer());
    const TW_HANDLE image = waitForPage("the page");
    EXPECT_TRUE(image) << "condition " << conditionCode();
    GlobalFree(image);
}

// The state and the codes are read while the owner has the manager's dialog open.
TEST_F(Threads, TheStateAndCodesAnswerWhileTheOwnerIsInADialog) {
    vscan_setKnob("manager.dialog", 1);
    vscan_setKnob("ui.manual", 1);
    ASSERT_TRUE(registerAsNative());
    jint state = 0;
    bool answered = false;
    auto reader = onAnotherThread([&] {
        EXPECT_TRUE(awaitDeviceWindow("manager.dialog"));
        answered = finishesWithoutTheOwner([&] {
            state = getState();
            resultCode();
            conditionCode();
        });
        vscan_press("manager.dialog", IDCANCEL);
    });
    bool selected = true;
    {
        const Deadline deadline("the selection dialog");
        selected = selectSource();
        reader.get();
    }
    EXPECT_TRUE(answered) << "getState waited for the selection dialog";
    EXPECT_EQ(state, kStateManagerOpen);
    EXPECT_FALSE(selected);
    EXPECT_EQ(resultCode(), TWRC_CANCEL);
}

// While the owner waits, any thread's call is carried out by it, one after another.
TEST_F(Threads, CallsOfManyThreadsDuringTheWaitAreCarriedOutByTheOwner) {
    openAndEnable();
    std::atomic<int> answered = 0;
    std::vector<std::future<void>> callers;
    for (int i = 0; i < 8; ++i) {
        callers.push_back(onAnotherThread([&] {
            awaitMessageWait(owner_);
            for (int call = 0; call < 20; ++call) {
                // An enabled source answers reads of its capabilities: its default resolution.
                if (getXResolution() == 100.0) {
                    ++answered;
                }
            }
        }));
    }
    auto cancel = onAnotherThread([&] {
        for (auto& caller : callers) {
            caller.get();
        }
        return stopTransfer();
    });
    EXPECT_FALSE(waitForPage("the teardown after the others' calls"));
    EXPECT_TRUE(cancel.get());
    EXPECT_EQ(answered, 160);
    expectEveryTripletFromTheOwner();
}

// The interface setting sends nothing, so another thread changes it itself, but never while the
// owner's call reads or sends it (the thread sanitizer's build watches for that).
TEST_F(Threads, TheInterfaceSettingOfAnotherThreadNeverRunsDuringTheOwnersCalls) {
    std::atomic<bool> stop = false;
    std::atomic<long> changes = 0;
    auto other = onAnotherThread([&] {
        for (bool visible = false; !stop; visible = !visible) {
            setVisible(visible);
            Java_QZ_korvel_twain_TwainEx_getVisible(nullptr, nullptr);
            ++changes;
        }
    });
    for (int round = 0; round < 50 || changes < 200; ++round) {
        ASSERT_TRUE(registerAsNative());
        ASSERT_TRUE(openSource());
        ASSERT_TRUE(prepareTransfer());
        ASSERT_TRUE(stopTransfer());
        ASSERT_TRUE(unregister());
    }
    stop = true;
    other.get();
    expectEveryTripletFromTheOwner();
}

// The codes a refusal writes for its caller never change what the owner decides about its own
// triplets: whether a step succeeded, an event was the source's, a transfer ended in state 7.
TEST_F(Threads, RefusalsOnAnotherThreadNeverChangeTheOwnersSteps) {
    std::atomic<bool> stop = false;
    std::atomic<long> refused = 0;
    auto other = onAnotherThread([&] {
        while (!stop) {
            if (getXResolution() == 0.0 && conditionCode() == TWCC_SEQERROR) {
                ++refused;
            }
        }
    });
    for (int round = 0; round < 30 || refused < 100; ++round) {
        ASSERT_TRUE(registerAsNative()) << "round " << round;
        ASSERT_TRUE(openSource()) << "round " << round;
        ASSERT_TRUE(setVisible(false));
        ASSERT_TRUE(prepareTransfer()) << "round " << round;
        const TW_HANDLE image = waitForPage("the page");
        ASSERT_TRUE(image) << "round " << round;
        GlobalFree(image);
        ASSERT_TRUE(unregister()) << "round " << round;
    }
    stop = true;
    other.get();
}

// A thread that ended without taking its session down leaves it to the next caller.
TEST_F(Threads, TheSessionOfAnOwnerThatEndedIsTakenDownByAnother) {
    const std::size_t before = liveWindows();
    std::thread registering([] {
        ASSERT_TRUE(registerAsNative());
        ASSERT_TRUE(openSource());
    });
    registering.join();
    EXPECT_EQ(liveWindows(), before) << "the proxy window went with its thread";
    vscan_setKnob("threads.strict", 0);  // the thread that opened them is gone
    EXPECT_TRUE(unregister());
    EXPECT_EQ(getState(), kStateManagerNotLoaded);
    EXPECT_EQ(vscan_managerState(), 2);
}

}  // namespace

namespace {

struct TeardownCase {
    const char* name;
    bool (*call)();
    jint stateAfter;
};

const TeardownCase kTeardowns[] = {
    {"stopTransfer", stopTransfer, kStateSourceOpen},
    {"closeSource", closeSource, kStateManagerOpen},
    {"unregister", unregister, kStateManagerNotLoaded},
};

// Another thread sends (not posts) a message to a window of the owner's, as a toolkit's shutdown
// does with WM_CLOSE, and its procedure, which calls Java, takes the session down. The message is
// handled inside the wait's own look at the queue, where nothing is left to wake the wait after.
TEST_F(Threads, ATeardownInAMessageSentFromAnotherThreadEndsTheWait) {
    for (const TeardownCase& teardown : kTeardowns) {
        SCOPED_TRACE(teardown.name);
        openAndEnable();
        AppWindow app;
        bool tornDown = false;
        app.on(WM_CLOSE, [&] { tornDown = teardown.call(); });
        auto sender = onAnotherThread([&] {
            awaitMessageWait(owner_);
            SendMessageA(app.handle(), WM_CLOSE, 0, 0);
        });
        {
            const Deadline deadline("a teardown sent from another thread during the wait");
            EXPECT_FALSE(waitForPage("a teardown in a message sent from another thread"));
            sender.get();
        }
        EXPECT_TRUE(tornDown);
        EXPECT_EQ(getState(), teardown.stateAfter);
        expectEveryTripletFromTheOwner();
        unregister();
    }
}

// The owner is in the manager's selection dialog, a call that lasts as long as its user likes.
// Calls that send nothing answer at once on their own threads, and send nothing.
TEST_F(Threads, CallsThatSendNothingDoNotWaitForTheOwnersDialog) {
    vscan_setKnob("manager.dialog", 1);
    vscan_setKnob("ui.manual", 1);
    ASSERT_TRUE(registerAsNative());
    struct Case {
        const char* what;
        std::function<bool()> call;
        bool answer;
    };
    const Case cases[] = {
        {"setVisible(false)", [] { return setVisible(false); }, true},
        {"getVisible after setVisible(false)", [] { return getVisible(); }, false},
        {"setVisible(true)", [] { return setVisible(true); }, true},
        {"getVisible after setVisible(true)", [] { return getVisible(); }, true},
        {"stopTransfer with no source", [] { return stopTransfer(); }, true},
        {"closeSource with no source", [] { return closeSource(); }, true},
    };
    std::vector<std::string> late;
    std::vector<std::string> wrong;
    auto user = onAnotherThread([&] {
        EXPECT_TRUE(awaitDeviceWindow("manager.dialog"));
        vscan_clearLog();
        for (const Case& c : cases) {
            auto answer = onAnotherThread(c.call);
            if (answer.wait_for(5s) != std::future_status::ready) {
                late.push_back(c.what);
                // Freed when the dialog closes, below.
                vscan_press("manager.dialog", IDCANCEL);
            }
            if (answer.get() != c.answer) {
                wrong.push_back(c.what);
            }
        }
        vscan_press("manager.dialog", IDCANCEL);
    });
    {
        const Deadline deadline("the selection dialog");
        selectSource();
        user.get();
    }
    EXPECT_TRUE(late.empty()) << late.front() << " waited for the selection dialog";
    EXPECT_TRUE(wrong.empty()) << wrong.front() << " answered wrongly";
    EXPECT_EQ(requestNames(), "MSG_USERSELECT");
    EXPECT_EQ(getState(), kStateManagerOpen);
}

// A cancel ends the next wait, or the wait under way; one made before the enable is forgotten.
TEST_F(Threads, ACancelEndsTheNextWaitUnlessAnEnableCameBetween) {
    struct Case {
        const char* what;
        bool cancelBeforeEnable;
        int64_t pageDelay;
        bool page;
    };
    const Case cases[] = {
        {"cancelled after the enable, before the wait", false, 600000, false},
        {"cancelled before the enable", true, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        vscan_setKnob("page.delay_ms", c.pageDelay);
        ASSERT_TRUE(registerAsNative());
        ASSERT_TRUE(openSource());
        if (c.cancelBeforeEnable) {
            cancelPageWait();
        }
        ASSERT_TRUE(prepareTransfer());
        if (!c.cancelBeforeEnable) {
            onAnotherThread(cancelPageWait).get();
        }
        const TW_HANDLE image = waitForPage(c.page ? "the page" : "the cancel");
        EXPECT_EQ(image != TW_HANDLE{}, c.page);
        EXPECT_EQ(getState(), kStateSourceEnabled) << "a cancel sends nothing";
        GlobalFree(image);
        ASSERT_TRUE(unregister());
    }
}

// A call's work that throws, on the owner's own thread or handed to the owner by another thread:
// the call fails with the session's unknown failure, its caller is released, and the session goes
// on.
TEST_F(Threads, ACallThatThrowsFailsAndTheSessionGoesOn) {
    const auto throwing = [] {
        return runSessionCall("throwing", CallKind::Step, {kStateSourceOpen, kStateTransferring},
                              [] { throw std::runtime_error("out of luck"); });
    };
    openAndEnable();
    EXPECT_FALSE(throwing()) << "on the owner's own thread";
    EXPECT_EQ(resultCode(), TWRC_FAILURE);
    EXPECT_EQ(conditionCode(), TWCC_BUMMER);
    bool handedOver = true;
    TW_UINT16 condition = 0;
    auto other = onAnotherThread([&] {
        awaitMessageWait(owner_);
        handedOver = throwing();
        condition = conditionCode();
        return stopTransfer();
    });
    {
        const Deadline deadline("a call that threw while handed to the owner");
        EXPECT_FALSE(waitForPage("the teardown after the call that threw"));
        EXPECT_TRUE(other.get());
    }
    EXPECT_FALSE(handedOver) << "handed to the owner";
    EXPECT_EQ(condition, TWCC_BUMMER);
    EXPECT_EQ(getState(), kStateSourceOpen);
    expectEveryTripletFromTheOwner();
}

// A refusal keeps its reason until a later call of the session is carried out.
TEST_F(Threads, TheReasonOfARefusalIsKeptUntilACallIsCarriedOut) {
    ASSERT_TRUE(registerAsNative());
    ASSERT_TRUE(openSource());
    EXPECT_EQ(onAnotherThread(getXResolution).get(), 0.0);
    const std::string reason = lastRefusal();
    EXPECT_NE(reason.find("getXResolution: the owner, thread " + std::to_string(owner_) +
                          ", does not wait"),
              std::string::npos)
        << reason;
    EXPECT_EQ(onAnotherThread(lastRefusal).get(), reason) << "read on any thread";
    EXPECT_EQ(getState(), kStateSourceOpen) << "reading the state is no call";
    EXPECT_EQ(lastRefusal(), reason);
    EXPECT_TRUE(setVisible(true));
    EXPECT_EQ(lastRefusal(), "") << "setVisible was carried out";
}

}  // namespace
