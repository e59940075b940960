// The virtual manager unloads its source at MSG_CLOSEDS, and at MSG_CLOSEDSM when the application
// left it open, as the released TWAINDSM.dll does. Closed from every state a hundred times over,
// the source's module is gone each time and none of its threads is left behind.
#include <windows.h>
// After windows.h, whose types it uses.
#include <tlhelp32.h>

#include <gtest/gtest.h>
#include <virtual_scanner_control.h>

#include <cstring>
#include <set>
#include <string>

#include "prefix_layout.h"
#include "twain/twain.h"

extern "C" TW_UINT16 PASCAL DSM_Entry(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg,
                                      TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

namespace {

constexpr int kCycles = 100;

enum class Closing { Source, Manager };

std::string sourcePath() { return windowsFile(kPrefixLayout.virtualSource); }

bool sourceLoaded() { return GetModuleHandleA(sourcePath().c_str()) != nullptr; }

std::set<DWORD> processThreadIds() {
    std::set<DWORD> ids;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "no snapshot of the threads (error " << GetLastError() << ")";
        return ids;
    }
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) {
            ids.insert(entry.th32ThreadID);
        }
    }
    CloseHandle(snapshot);
    return ids;
}

size_t processThreads() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "no snapshot of the threads (error " << GetLastError() << ")";
        return 0;
    }
    size_t count = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        count += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    }
    CloseHandle(snapshot);
    return count;
}

class SourceUnload : public testing::Test {
  protected:
    void SetUp() override {
        vscan_powerCycle();
        vscan_reset();
        window_ = CreateWindowExA(0, "STATIC", "Unload test", WS_POPUP, 0, 0, 10, 10, {}, {}, {},
                                  nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        vscan_powerCycle();
        DestroyWindow(window_);
    }

    TW_UINT16 call(pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                   TW_MEMREF data) {
        return DSM_Entry(&application_, destination, dg, dat, msg, data);
    }

    void openManager() {
        application_ = {};
        application_.ProtocolMajor = 2;
        application_.SupportedGroups = DG_CONTROL | DG_IMAGE;
        std::strcpy(application_.ProductName, "Unload test");
        ASSERT_EQ(call(nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &window_), TWRC_SUCCESS);
    }

    // The default source, brought to `state`.
    void openSource(int32_t state) {
        source_ = {};
        ASSERT_EQ(call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &source_), TWRC_SUCCESS);
        ASSERT_TRUE(sourceLoaded());
        if (state >= 5) {
            TW_USERINTERFACE ui = {};
            ui.ShowUI = FALSE;
            ui.hParent = window_;
            ASSERT_EQ(call(&source_, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui),
                      TWRC_SUCCESS);
        }
        if (state >= 6) {
            ASSERT_EQ(waitForNotice(), MSG_XFERREADY);
        }
        if (state >= 7) {
            TW_HANDLE image = {};
            ASSERT_EQ(call(&source_, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image),
                      TWRC_XFERDONE);
            GlobalFree(image);
        }
        ASSERT_EQ(vscan_sourceState(), state);
    }

    // The source's first notice, which comes to the window's queue from its thread.
    TW_UINT16 waitForNotice() {
        MSG msg = {};
        while (GetMessageA(&msg, {}, 0, 0) > 0) {
            TW_EVENT event = {&msg, MSG_NULL};
            if (call(&source_, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event) == TWRC_DSEVENT) {
                return event.TWMessage;
            }
            DispatchMessageA(&msg);
        }
        ADD_FAILURE() << "the message loop ended before the source's notice";
        return MSG_NULL;
    }

    void close(Closing closing) {
        if (closing == Closing::Source) {
            ASSERT_EQ(call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source_), TWRC_SUCCESS);
            ASSERT_FALSE(sourceLoaded());
        }
        ASSERT_EQ(call(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &window_), TWRC_SUCCESS);
        // An announcement posted before the close means nothing to the next session.
        MSG msg = {};
        while (PeekMessageA(&msg, {}, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }

    void cycle(int32_t state, Closing closing) {
        openManager();
        openSource(state);
        close(closing);
    }

    // Every cycle leaves the process as the first left it: the source unloaded, no thread of its
    // own, the manager closed. The first cycle is the baseline, since Wine starts threads of its
    // own on first use.
    void closeFromState(int32_t state, Closing closing) {
        ASSERT_NO_FATAL_FAILURE(cycle(state, closing));
        const size_t threads = processThreads();
        for (int i = 0; i < kCycles; ++i) {
            ASSERT_NO_FATAL_FAILURE(cycle(state, closing)) << "cycle " << i;
            ASSERT_FALSE(sourceLoaded()) << "cycle " << i;
            ASSERT_EQ(processThreads(), threads) << "cycle " << i;
            ASSERT_EQ(vscan_sourceState(), 0) << "cycle " << i;
            ASSERT_EQ(vscan_managerState(), 2) << "cycle " << i;
        }
    }

    HWND window_ = {};
    TW_IDENTITY application_ = {};
    TW_IDENTITY source_ = {};
};

TEST_F(SourceUnload, ListingLoadsEachSourceOnlyToAskItsIdentity) {
    openManager();
    bool found = false;
    TW_IDENTITY listed = {};
    for (TW_UINT16 msg = MSG_GETFIRST;
         call(nullptr, DG_CONTROL, DAT_IDENTITY, msg, &listed) == TWRC_SUCCESS; msg = MSG_GETNEXT) {
        found = found || std::strcmp(listed.ProductName, "Virtual Scanner") == 0;
        EXPECT_FALSE(sourceLoaded()) << listed.ProductName;
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &listed), TWRC_ENDOFLIST);
    EXPECT_EQ(call(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &window_), TWRC_SUCCESS);
}

TEST_F(SourceUnload, KnobsSetBeforeTheSourceIsLoadedReachIt) {
    vscan_setKnob("source.close_request", 1);
    openManager();
    ASSERT_NO_FATAL_FAILURE(openSource(5));
    EXPECT_EQ(waitForNotice(), MSG_CLOSEDSREQ);
    close(Closing::Source);
}

TEST_F(SourceUnload, ClosedWhenOpened) { closeFromState(4, Closing::Source); }

TEST_F(SourceUnload, ClosedWhenEnabled) { closeFromState(5, Closing::Source); }

TEST_F(SourceUnload, ClosedWhenEnabledWithThePageStillToCome) {
    vscan_setKnob("page.delay_ms", 20);
    closeFromState(5, Closing::Source);
}

TEST_F(SourceUnload, ClosedWhenTransferReady) { closeFromState(6, Closing::Source); }

TEST_F(SourceUnload, ClosedAfterTheTransfer) { closeFromState(7, Closing::Source); }

TEST_F(SourceUnload, ManagerClosedWithTheSourceOpened) { closeFromState(4, Closing::Manager); }

TEST_F(SourceUnload, ManagerClosedWithTheSourceEnabled) { closeFromState(5, Closing::Manager); }

TEST_F(SourceUnload, ManagerClosedWithTheSourceTransferReady) {
    closeFromState(6, Closing::Manager);
}

TEST_F(SourceUnload, ManagerClosedAfterTheTransfer) { closeFromState(7, Closing::Manager); }

// A manager that unloads the source without closing it, while a page is still to come: the source's
// thread holds the module until it has posted its message, and the source closes as the module
// goes. The test waits for the module to go and for every thread that was not there before to
// end; one that never does keeps it waiting until ctest gives up on it.
TEST_F(SourceUnload, UnloadedWhileEnabledWithoutBeingClosed) {
    using Entry = TW_UINT16(PASCAL*)(pTW_IDENTITY, TW_UINT32, TW_UINT16, TW_UINT16, TW_MEMREF);
    vscan_setKnob("page.delay_ms", 20);
    openManager();
    std::set<DWORD> before;
    for (int i = 0; i <= kCycles; ++i) {
        const HMODULE module = LoadLibraryA(sourcePath().c_str());
        ASSERT_NE(module, nullptr);
        const auto entry = reinterpret_cast<Entry>(
            reinterpret_cast<void (*)()>(GetProcAddress(module, "DS_Entry")));
        ASSERT_NE(entry, nullptr);
        TW_IDENTITY identity = {};
        identity.Id = 99;
        ASSERT_EQ(entry(&application_, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity),
                  TWRC_SUCCESS);
        TW_USERINTERFACE ui = {};
        ui.hParent = window_;
        ASSERT_EQ(entry(&application_, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui),
                  TWRC_SUCCESS);
        FreeLibrary(module);
        while (sourceLoaded()) {
            SwitchToThread();
        }
        // The first cycle sets the baseline, since Wine starts threads of its own on first use.
        if (i == 0) {
            before = processThreadIds();
            continue;
        }
        for (const DWORD id : processThreadIds()) {
            if (before.count(id) == 0) {
                const HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, id);
                if (thread != nullptr) {
                    WaitForSingleObject(thread, INFINITE);
                    CloseHandle(thread);
                }
            }
        }
    }
    EXPECT_EQ(call(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &window_), TWRC_SUCCESS);
}

}  // namespace
