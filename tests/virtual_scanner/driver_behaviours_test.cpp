// The behaviours of real drivers that the virtual scanner takes on when its knobs say so: windows
// of its own on the thread that enabled it, a modal loop inside MSG_ENABLEDS, a progress window,
// the application's window disabled while enabled, messages to its own windows from inside
// triplets, a strict thread, and the manager's modal selection dialog. Each knob is set both ways
// here, since the test run may switch them on for every test.
#include <gtest/gtest.h>
#include <win32_posix_test_hooks.h>

#include <future>
#include <thread>

#include "app.h"
#include "app_window.h"

namespace {

using namespace std::chrono_literals;

// An application with a real window, on this thread, and the source open.
class DriverBehaviours : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* knob :
             {"threads.strict", "ui.dialog", "ui.modal", "ui.manual", "ui.progress",
              "ui.disable_parent", "ui.send_messages", "manager.dialog"}) {
            vscan_setKnob(knob, 0);
        }
        app.window = parent.handle();
        ASSERT_EQ(app.openManager(), TWRC_SUCCESS);
        ASSERT_EQ(app.openSource(), TWRC_SUCCESS);
    }
    void TearDown() override { vscan_powerCycle(); }

    TW_UINT16 userInterface(TW_UINT16 msg) {
        return app.toSource(DG_CONTROL, DAT_USERINTERFACE, msg, &ui);
    }
    // Takes the next message of this thread's queue and offers it to the source.
    TW_UINT16 offerNextMessage(TW_EVENT& event) {
        MSG msg = {};
        EXPECT_TRUE(GetMessageA(&msg, {}, 0, 0));
        message = msg;
        event = {&message, MSG_NULL};
        return app.toSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    }
    static HWND window(const char* which) { return static_cast<HWND>(vscan_window(which)); }
    static bool awaitWindow(const char* which) {
        for (int i = 0; i < 10000 && !vscan_window(which); ++i) {
            std::this_thread::sleep_for(1ms);
        }
        return vscan_window(which) != 0;
    }

    AppWindow parent;
    App app;
    TW_USERINTERFACE ui = {1, 1, {}};
    MSG message = {};
};

TEST_F(DriverBehaviours, TheDialogIsMadeOnTheEnablingThreadAndGoesAtTheDisable) {
    vscan_setKnob("ui.dialog", 1);
    ui.hParent = parent.handle();
    ASSERT_EQ(userInterface(MSG_ENABLEDS), TWRC_SUCCESS);
    const HWND dialog = window("source.dialog");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(GetWindowThreadProcessId(dialog, nullptr), GetCurrentThreadId());
    ASSERT_EQ(userInterface(MSG_DISABLEDS), TWRC_SUCCESS);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(window("source.dialog"));
}

TEST_F(DriverBehaviours, WithoutItsInterfaceTheSourceShowsNoDialog) {
    vscan_setKnob("ui.dialog", 1);
    ui.ShowUI = 0;
    ASSERT_EQ(userInterface(MSG_ENABLEDS), TWRC_SUCCESS);
    EXPECT_FALSE(window("source.dialog"));
}

// A dialog made on one thread and destroyed from another stays, as under Windows.
TEST_F(DriverBehaviours, ADisableFromAnotherThreadCannotDestroyTheDialog) {
    vscan_setKnob("ui.dialog", 1);
    ASSERT_EQ(userInterface(MSG_ENABLEDS), TWRC_SUCCESS);
    const HWND dialog = window("source.dialog");
    std::async(std::launch::async, [this] { userInterface(MSG_DISABLEDS); }).get();
    EXPECT_TRUE(IsWindow(dialog));
    DestroyWindow(dialog);
}

TEST_F(DriverBehaviours, ScanAndCancelPressedInTheDialogReachTheSourceThroughTheQueue) {
    vscan_setKnob("ui.dialog", 1);
    vscan_setKnob("ui.manual", 1);
    ui.hParent = parent.handle();
    ASSERT_EQ(userInterface(MSG_ENABLEDS), TWRC_SUCCESS);
    EXPECT_EQ(win32posix_queuedMessages(), 0u) << "the source waits for the user";
    ASSERT_TRUE(vscan_press("source.dialog", IDOK));
    TW_EVENT event = {};
    EXPECT_EQ(offerNextMessage(event), TWRC_DSEVENT);
    EXPECT_EQ(message.hwnd, window("source.dialog"));
    EXPECT_EQ(event.TWMessage, MSG_NULL);
    EXPECT_EQ(offerNextMessage(event), TWRC_DSEVENT);
    EXPECT_EQ(event.TWMessage, MSG_XFERREADY);

    // Back from the transfer, the user presses Cancel.
    TW_HANDLE image = {};
    ASSERT_EQ(app.toSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image), TWRC_XFERDONE);
    GlobalFree(image);
    TW_PENDINGXFERS pending = {};
    ASSERT_EQ(app.toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
    EXPECT_EQ(win32posix_queuedMessages(), 0u) << "no scan without the user";
    ASSERT_TRUE(vscan_press("source.dialog", IDCANCEL));
    EXPECT_EQ(offerNextMessage(event), TWRC_DSEVENT);
    EXPECT_EQ(offerNextMessage(event), TWRC_DSEVENT);
    EXPECT_EQ(event.TWMessage, MSG_CLOSEDSREQ);
}

TEST_F(DriverBehaviours, AModalDialogKeepsTheEnableUntilScanIsPressed) {
    vscan_setKnob("ui.modal", 1);
    vscan_setKnob("ui.manual", 1);
    ui.hParent = parent.handle();
    auto user = std::async(std::launch::async, [] {
        EXPECT_TRUE(awaitWindow("source.dialog"));
        EXPECT_EQ(vscan_sourceState(), 5) << "inside MSG_ENABLEDS";
        vscan_press("source.dialog", IDOK);
    });
    ASSERT_EQ(userInterface(MSG_ENABLEDS), TWRC_SUCCESS);
    user.get();
    TW_EVENT event = {};
    EXPECT_EQ(offerNextMessage(event), TWRC_DSEVENT);
    EXPECT_EQ(event.TWMessage, MSG_XFERREADY);
}

TEST_F(DriverBehaviours, CancelInAModalDialogAsksToBeClosed) {
    vscan_setKnob("ui.modal", 1);
    vscan_setKnob("ui.manual", 1);
    ui.hParent = parent.handle();
    auto user = std::async(std::launch::async, [] {
        EXPECT_TRUE(awaitWindow("source.dialog"));
        vscan_press("source.dialog", IDCANCEL);
    });
    ASSERT_EQ(userInterface(MSG_ENABLEDS), TWRC_SUCCESS);
    user.get();
    TW_EVENT event = {};
    EXPECT_EQ(offerNextMessage(event), TWRC_DSEVENT);
    EXPECT_EQ(event.TWMessage, MSG_CLOSEDSREQ);
}

// The modal loop dispatches what the thread's other windows receive meanwhile.
TEST_F(DriverBehaviours, AModalDialogDispatchesTheApplicationsMessages) {
    vscan_setKnob("ui.modal", 1);
    bool dispatched = false;
    parent.on(WM_USER, [&] { dispatched = true; });
    PostMessageA(parent.handle(), WM_USER, 0, 0);
    ASSERT_EQ(userInterface(MSG_ENABLEDS), TWRC_SUCCESS);
    EXPECT_TRUE(dispatched);
}

TEST_F(DriverBehaviours, AProgressWindowShowsFromTheTransferToItsEnd) {
    vscan_setKnob("ui.progress", 1);
    ui.ShowUI = 0;
    ASSERT_EQ(userInterface(MSG_ENABLEDS), TWRC_SUCCESS);
    TW_EVENT event = {};
    ASSERT_EQ(offerNextMessage(event), TWRC_DSEVENT);
    const long before = vscan_deviceMessages();
    TW_HANDLE image = {};
    ASSERT_EQ(app.toSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image), TWRC_XFERDONE);
    GlobalFree(image);
    const HWND progress = window("source.progress");
    ASSERT_TRUE(progress);
    EXPECT_EQ(GetWindowThreadProcessId(progress, nullptr), GetCurrentThreadId());
    TW_PENDINGXFERS pending = {};
    ASSERT_EQ(app.toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
    EXPECT_FALSE(IsWindow(progress));
    EXPECT_EQ(vscan_deviceMessages(), before + 2) << "0 and 100 percent";
}

TEST_F(DriverBehaviours, NoProgressWindowWithoutIndicators) {
    vscan_setKnob("ui.progress", 1);
    const HGLOBAL container = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
    auto* off = static_cast<TW_ONEVALUE*>(GlobalLock(container));
    off->ItemType = TWTY_BOOL;
    off->Item = FALSE;
    GlobalUnlock(container);
    TW_CAPABILITY indicators = {CAP_INDICATORS, TWON_ONEVALUE, container};
    ASSERT_EQ(app.toSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &indicators), TWRC_SUCCESS);
    GlobalFree(container);
    ui.ShowUI = 0;
    ASSERT_EQ(userInterface(MSG_ENABLEDS), TWRC_SUCCESS);
    TW_EVENT event = {};
    ASSERT_EQ(offerNextMessage(event), TWRC_DSEVENT);
    TW_HANDLE image = {};
    ASSERT_EQ(app.toSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image), TWRC_XFERDONE);
    GlobalFree(image);
    EXPECT_FALSE(window("source.progress"));
}

TEST_F(DriverBehaviours, TheApplicationsWindowIsDisabledWhileTheSourceIsEnabled) {
    vscan_setKnob("ui.disable_parent", 1);
    ui.hParent = parent.handle();
    ASSERT_EQ(userInterface(MSG_ENABLEDS), TWRC_SUCCESS);
    EXPECT_FALSE(IsWindowEnabled(parent.handle()));
    ASSERT_EQ(userInterface(MSG_DISABLEDS), TWRC_SUCCESS);
    EXPECT_TRUE(IsWindowEnabled(parent.handle()));
}

// From another thread, enabling the window is a message that only its own thread can take.
TEST_F(DriverBehaviours, ADisableFromAnotherThreadWaitsForTheParentsThread) {
    vscan_setKnob("ui.disable_parent", 1);
    ui.hParent = parent.handle();
    ASSERT_EQ(userInterface(MSG_ENABLEDS), TWRC_SUCCESS);
    auto disable = std::async(std::launch::async, [this] { return userInterface(MSG_DISABLEDS); });
    while (win32posix_sentMessagesWaiting(GetCurrentThreadId()) == 0) {
        std::this_thread::yield();
    }
    EXPECT_EQ(disable.wait_for(50ms), std::future_status::timeout);
    MSG msg;
    PeekMessageA(&msg, {}, 0, 0, PM_NOREMOVE);  // takes the sent message
    EXPECT_EQ(disable.get(), TWRC_SUCCESS);
    EXPECT_TRUE(IsWindowEnabled(parent.handle()));
}

TEST_F(DriverBehaviours, TheSourceSendsMessagesToItsOwnWindowsInsideItsTriplets) {
    vscan_setKnob("ui.dialog", 1);
    vscan_setKnob("ui.send_messages", 1);
    const long before = vscan_deviceMessages();
    ASSERT_EQ(userInterface(MSG_ENABLEDS), TWRC_SUCCESS);
    EXPECT_EQ(vscan_deviceMessages(), before + 1);
    TW_EVENT event = {};
    ASSERT_EQ(offerNextMessage(event), TWRC_DSEVENT);  // its own event: it tells its dialog
    EXPECT_EQ(vscan_deviceMessages(), before + 2);
    TW_PENDINGXFERS pending = {};
    ASSERT_EQ(app.toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), TWRC_SUCCESS);
    ASSERT_EQ(userInterface(MSG_DISABLEDS), TWRC_SUCCESS);
    EXPECT_EQ(vscan_deviceMessages(), before + 3);
}

TEST_F(DriverBehaviours, AStrictDriverRefusesEveryThreadButTheOneThatOpenedIt) {
    vscan_setKnob("threads.strict", 1);
    vscan_clearLog();
    DWORD other = 0;
    TW_UINT16 result = 0;
    TW_UINT16 condition = 0;
    std::thread([&] {
        other = GetCurrentThreadId();
        result = userInterface(MSG_ENABLEDS);
        condition = app.sourceStatus();  // answered on any thread, so that it learns why
    }).join();
    EXPECT_EQ(result, TWRC_FAILURE);
    EXPECT_EQ(condition, TWCC_SEQERROR);
    EXPECT_EQ(vscan_sourceState(), 4);
    VscanTriplet refused{};
    ASSERT_TRUE(vscan_logEntry(0, &refused));
    EXPECT_EQ(refused.thread, other);
    EXPECT_EQ(refused.refusedForThread, 1);
    VscanTriplet status{};
    ASSERT_TRUE(vscan_logEntry(1, &status));
    EXPECT_EQ(status.refusedForThread, 0);
    // The thread that opened it is served.
    EXPECT_EQ(userInterface(MSG_ENABLEDS), TWRC_SUCCESS);
}

TEST_F(DriverBehaviours, TheSelectionDialogIsModalAndDisablesTheApplicationsWindow) {
    vscan_setKnob("manager.dialog", 1);
    vscan_setKnob("ui.manual", 1);
    for (const int button : {IDOK, IDCANCEL}) {
        bool parentDisabled = false;
        auto user = std::async(std::launch::async, [&] {
            EXPECT_TRUE(awaitWindow("manager.dialog"));
            parentDisabled = !IsWindowEnabled(parent.handle());
            vscan_press("manager.dialog", button);
        });
        TW_IDENTITY chosen = {};
        const TW_UINT16 result = app.toManager(DAT_IDENTITY, MSG_USERSELECT, &chosen);
        user.get();
        EXPECT_TRUE(parentDisabled);
        EXPECT_TRUE(IsWindowEnabled(parent.handle()));
        EXPECT_FALSE(window("manager.dialog"));
        if (button == IDOK) {
            EXPECT_EQ(result, TWRC_SUCCESS);
            EXPECT_STREQ(chosen.ProductName, "Virtual Scanner");
        } else {
            EXPECT_EQ(result, TWRC_CANCEL);
        }
    }
}

}  // namespace

namespace {

// A driver that announces its page inside MSG_ENABLEDS: its event is in the application's queue
// and the source in state 6 before MSG_ENABLEDS returns, so it refuses to be disabled until the
// transfer is taken or reset.
TEST_F(DriverBehaviours, APageAnnouncedInsideTheEnableLeavesTheSourceInStateSix) {
    struct Case {
        const char* what;
        TW_UINT16 (*takeDown)(App& app);
    };
    const Case cases[] = {
        {"reset",
         [](App& app) {
             TW_PENDINGXFERS pending = {};
             return app.toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
         }},
        {"transferred",
         [](App& app) {
             TW_HANDLE image = {};
             TW_PENDINGXFERS pending = {};
             const TW_UINT16 result = app.toSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image);
             GlobalFree(image);
             return result == TWRC_XFERDONE
                        ? app.toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending)
                        : result;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        vscan_setKnob("enable.announce", 1);
        vscan_setKnob("endxfer.count", 0);
        ui = {0, 1, parent.handle()};
        ASSERT_EQ(userInterface(MSG_ENABLEDS), TWRC_SUCCESS);
        EXPECT_EQ(vscan_sourceState(), 6);
        EXPECT_EQ(win32posix_queuedMessages(), 1u) << "the announcement is queued already";
        EXPECT_EQ(userInterface(MSG_DISABLEDS), TWRC_FAILURE);
        EXPECT_EQ(app.sourceStatus(), TWCC_SEQERROR);
        TW_EVENT event = {};
        EXPECT_EQ(offerNextMessage(event), TWRC_DSEVENT);
        EXPECT_EQ(event.TWMessage, MSG_XFERREADY);
        EXPECT_EQ(c.takeDown(app), TWRC_SUCCESS);
        EXPECT_EQ(vscan_sourceState(), 5);
        EXPECT_EQ(userInterface(MSG_DISABLEDS), TWRC_SUCCESS);
        // The source asked to be closed after its one scan; nothing of it is left queued.
        MSG stale;
        while (PeekMessageA(&stale, {}, 0, 0, PM_REMOVE)) {
        }
    }
}

}  // namespace
