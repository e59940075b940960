// The library through Wine's own manager: binding it, opening its default source, its selection
// dialog, settings, and the teardown from every state.
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "prefix_layout.h"
#include "record_bytes.h"
#include "session/acquisition.h"
#include "session/dsm_binding.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"
#include "settings/capability_access.h"
#include "wine_manager_support.h"

namespace {

using WineManager = Scenario;

TEST_F(WineManager, WithoutTheVirtualManagerTheLibraryBindsWines) {
    ASSERT_TRUE(registerDemo());
    EXPECT_EQ(twainSession.state, kStateManagerOpen);
    EXPECT_TRUE(
        sameFile(moduleFile(twainSession.dsmModule), windowsFile(kPrefixLayout.winesManager)))
        << moduleFile(twainSession.dsmModule);
    // Nothing was sent to the source: opening the manager is the manager's business.
    EXPECT_EQ(requestNames(), "");
}

TEST_F(WineManager, TheVirtualSourceIsTheDefaultAndTakesTheIdentityWinePassesOn) {
    openThroughWine();
    EXPECT_STREQ(twainSession.sourceIdentity.ProductName, "Virtual Scanner");
    EXPECT_STREQ(twainSession.sourceIdentity.Manufacturer, "scanlink32");
    EXPECT_EQ(vscan_sourceState(), 4);
    // Wine's manager passed the library's zeroed identity on with only the Id filled in, and the
    // origin was the application's identity.
    const std::vector<Triplet> sent = requests();
    const Triplet* open = nullptr;
    for (const Triplet& t : sent) {
        if (t.is(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS)) {
            open = &t;
        }
    }
    ASSERT_NE(open, nullptr) << requestNames();
    ASSERT_EQ(open->data.size(), sizeof(TW_IDENTITY));
    EXPECT_EQ(std::vector<uint8_t>(open->data.begin() + 4, open->data.end()),
              std::vector<uint8_t>(sizeof(TW_IDENTITY) - 4, 0));
    EXPECT_EQ(readUint32(open->data, 0), twainSession.sourceIdentity.Id);
    TW_IDENTITY origin = {};
    ASSERT_EQ(open->origin.size(), sizeof(origin));
    std::memcpy(&origin, open->origin.data(), sizeof(origin));
    EXPECT_STREQ(origin.ProductName, "Demo");
    EXPECT_STREQ(origin.Version.Info, "Demo 3.10");
}

// Presses a button of the manager's "Select Source" dialog from another thread, once the dialog is
// shown, and reports the sources it listed.
class SourceDialog {
  public:
    explicit SourceDialog(int button) : thread_([this, button] { press(button); }) {}
    ~SourceDialog() { thread_.join(); }
    SourceDialog(const SourceDialog&) = delete;
    SourceDialog& operator=(const SourceDialog&) = delete;

    bool shown() const { return shown_; }
    const std::vector<std::string>& sources() const { return sources_; }

  private:
    static BOOL CALLBACK findDialog(HWND window, LPARAM found) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char title[32] = {};
        GetWindowTextA(window, title, sizeof(title));
        if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
            std::strcmp(title, "Select Source") == 0) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    void press(int button) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        HWND dialog = nullptr;
        while (dialog == nullptr && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            EnumWindows(findDialog, reinterpret_cast<LPARAM>(&dialog));
        }
        if (dialog == nullptr) {
            return;
        }
        shown_ = true;
        // The dialog's list is its only list box.
        const HWND list = FindWindowExA(dialog, nullptr, "ListBox", nullptr);
        const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char name[256] = {};
            if (SendMessageA(list, LB_GETTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof(name))) {
                SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
            }
            sources_.push_back(name);
        }
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    }

    std::atomic<bool> shown_{false};
    std::vector<std::string> sources_;
    std::thread thread_;
};

TEST_F(WineManager, SelectionDialogListsTheVirtualSourceAndItsOkSelectsIt) {
    ASSERT_TRUE(registerDemo());
    bool selected = false;
    std::vector<std::string> listed;
    {
        SourceDialog dialog(IDOK);
        selected = selectSource();
        EXPECT_TRUE(dialog.shown());
        listed = dialog.sources();
    }
    EXPECT_TRUE(selected);
    EXPECT_EQ(twainSession.resultCode, TWRC_SUCCESS);
    EXPECT_STREQ(twainSession.sourceIdentity.ProductName, "Virtual Scanner");
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(listed.front(), "Virtual Scanner");
    EXPECT_EQ(twainSession.state, kStateManagerOpen);
    ASSERT_TRUE(openSource());
    EXPECT_STREQ(twainSession.sourceIdentity.ProductName, "Virtual Scanner");
}

TEST_F(WineManager, SelectionDialogCancelledIsACancel) {
    ASSERT_TRUE(registerDemo());
    bool selected = true;
    {
        SourceDialog dialog(IDCANCEL);
        selected = selectSource();
        EXPECT_TRUE(dialog.shown());
    }
    EXPECT_FALSE(selected);
    EXPECT_EQ(twainSession.resultCode, TWRC_CANCEL);
    EXPECT_EQ(twainSession.state, kStateManagerOpen);
}

TEST_F(WineManager, EveryKindOfCapabilityIsReadAndWritten) {
    openThroughWine();
    // A flag, an int, a short and a fixed-point value, each set and read back through Wine.
    EXPECT_TRUE(Java_QZ_korvel_twain_TwainEx_getAutoFeed(nullptr, nullptr));
    EXPECT_TRUE(Java_QZ_korvel_twain_TwainEx_setAutoFeed(nullptr, nullptr, JNI_FALSE));
    EXPECT_FALSE(Java_QZ_korvel_twain_TwainEx_getAutoFeed(nullptr, nullptr));
    EXPECT_TRUE(Java_QZ_korvel_twain_TwainEx_setPixelType(nullptr, nullptr, TWPT_GRAY));
    EXPECT_EQ(Java_QZ_korvel_twain_TwainEx_getPixelType(nullptr, nullptr), TWPT_GRAY);
    EXPECT_EQ(Java_QZ_korvel_twain_TwainEx_getBitDepth(nullptr, nullptr), 8);
    EXPECT_FALSE(Java_QZ_korvel_twain_TwainEx_setBitDepth(nullptr, nullptr, 24));
    EXPECT_EQ(twainSession.conditionCode, TWCC_BADVALUE);
    EXPECT_TRUE(Java_QZ_korvel_twain_TwainEx_setXResolution(nullptr, nullptr, 300.0));
    EXPECT_EQ(Java_QZ_korvel_twain_TwainEx_getXResolution(nullptr, nullptr), 300.0);
    EXPECT_TRUE(Java_QZ_korvel_twain_TwainEx_setXResolution(nullptr, nullptr, 280.0));
    EXPECT_EQ(twainSession.resultCode, TWRC_CHECKSTATUS);
    EXPECT_EQ(Java_QZ_korvel_twain_TwainEx_getXResolution(nullptr, nullptr), 300.0);
    EXPECT_EQ(Java_QZ_korvel_twain_TwainEx_getPhysicalWidth(nullptr, nullptr), 8.5);

    // The containers crossed Wine's manager byte for byte, and none was left behind.
    std::vector<std::vector<uint8_t>> containers;
    for (const Triplet& t : requests()) {
        if (t.is(DG_CONTROL, DAT_CAPABILITY, MSG_SET)) {
            containers.push_back(t.container);
        }
    }
    ASSERT_EQ(containers.size(), 5u);
    EXPECT_EQ(containers[0], (std::vector<uint8_t>{4, 0, 0, 0, 0, 0}));
    EXPECT_EQ(containers[1], (std::vector<uint8_t>{4, 0, TWPT_GRAY, 0, 0, 0}));
    EXPECT_EQ(containers[3], (std::vector<uint8_t>{7, 0, 0x2C, 0x01, 0, 0}));
}

TEST_F(WineManager, TheFrameCrossesWineAndTheSourceKeepsIt) {
    openThroughWine();
    EXPECT_TRUE(Java_QZ_korvel_twain_TwainEx_setFrame(nullptr, nullptr, 1.5, 2.0, 5.9, 7.0));
    EXPECT_EQ(twainSession.resultCode, TWRC_SUCCESS);
    TW_IMAGELAYOUT layout = {};
    ASSERT_TRUE(
        dsmCall(&twainSession.sourceIdentity, DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETCURRENT, &layout));
    EXPECT_EQ(fromFix32(layout.Frame.Left), 1.0);
    EXPECT_EQ(fromFix32(layout.Frame.Top), 2.0);
    EXPECT_EQ(fromFix32(layout.Frame.Right), 5.0);
    EXPECT_EQ(fromFix32(layout.Frame.Bottom), 7.0);
}

// Brings the session up to `state` through Wine's manager; 6 and 7 by hand, as the pump would.
void bringUpTo(int32_t state) {
    ASSERT_TRUE(registerDemo());
    if (state >= kStateSourceOpen) {
        ASSERT_TRUE(openSource());
    }
    if (state >= kStateSourceEnabled) {
        ASSERT_TRUE(prepareTransfer());
    }
    if (state >= kStateTransferReady) {
        // The source's announcement, past whatever else the thread's queue holds.
        TW_UINT16 notice = MSG_NULL;
        for (int messages = 0; notice != MSG_XFERREADY && messages < 20; ++messages) {
            MSG msg = {};
            ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
            TW_EVENT event = {&msg, MSG_NULL};
            dsmCall(&twainSession.sourceIdentity, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
            notice = event.TWMessage;
        }
        ASSERT_EQ(notice, MSG_XFERREADY);
        twainSession.state = kStateTransferReady;
    }
    if (state >= kStateTransferring) {
        TW_HANDLE image = {};
        ASSERT_TRUE(
            dsmCall(&twainSession.sourceIdentity, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image));
        GlobalFree(image);
        twainSession.state = kStateTransferring;
    }
}

TEST_F(WineManager, UnregisterTakesTheSessionDownFromEveryState) {
    const struct {
        int32_t state;
        const char* sourceReceives;
    } cases[] = {
        {kStateManagerOpen, ""},
        {kStateSourceOpen, "MSG_CLOSEDS"},
        {kStateSourceEnabled, "MSG_DISABLEDS, MSG_CLOSEDS"},
        {kStateTransferReady, "MSG_RESET, MSG_DISABLEDS, MSG_CLOSEDS"},
        {kStateTransferring, "MSG_ENDXFER, MSG_RESET, MSG_DISABLEDS, MSG_CLOSEDS"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "from state " << c.state);
        bringUpTo(c.state);
        ASSERT_EQ(twainSession.state, c.state);
        resetScanner();
        vscan_setKnob("endxfer.count", 1);  // a page still pending after the one transferred
        EXPECT_TRUE(unregister());
        EXPECT_EQ(requestNames(), c.sourceReceives);
        EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
        EXPECT_FALSE(twainSession.dsmModule);
        EXPECT_EQ(vscan_sourceState(), 0);
    }
}

}  // namespace
