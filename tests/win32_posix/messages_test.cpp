#include <gtest/gtest.h>
#include <win32_posix_test_hooks.h>
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

struct Delivered {
    HWND window;
    UINT message;
    WPARAM wParam;
};
thread_local std::vector<Delivered> delivered;

LRESULT recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    delivered.push_back({window, message, wParam});
    return 42;
}

class Messages : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        WNDCLASSA cls = {};
        cls.lpfnWndProc = recordingProc;
        cls.lpszClassName = "RecordingWindow";
        RegisterClassA(&cls);
    }
    void SetUp() override { delivered.clear(); }
    static HWND makeWindow() {
        return CreateWindowExA(0, "RecordingWindow", "test", WS_POPUPWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, 0, nullptr);
    }
};

TEST_F(Messages, PostedMessageReachesOwnersQueueAndDispatchRunsItsProcedure) {
    HWND window = makeWindow();
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(PostMessageA(window, WM_USER + 1, 7, 0));
    MSG msg = {};
    ASSERT_TRUE(GetMessageA(&msg, 0, 0, 0));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(DispatchMessageA(&msg), 42);
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].wParam, 7u);
    EXPECT_TRUE(DestroyWindow(window));
}

TEST_F(Messages, MessagePostedFromAnotherThreadGoesToTheWindowsThread) {
    HWND window = makeWindow();
    std::thread poster([window] { PostMessageA(window, WM_APP, 3, 0); });
    poster.join();
    // The poster's own queue got nothing; ours did.
    MSG msg = {};
    ASSERT_TRUE(GetMessageA(&msg, 0, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP));
    EXPECT_EQ(msg.hwnd, window);
    DestroyWindow(window);
}

TEST_F(Messages, GetMessageBlocksUntilSomethingIsPosted) {
    const DWORD self = GetCurrentThreadId();
    std::atomic<bool> posted = false;
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        posted = true;
        PostThreadMessageA(self, WM_USER, 0, 0);
    });
    MSG msg = {};
    EXPECT_TRUE(GetMessageA(&msg, 0, 0, 0));
    EXPECT_TRUE(posted);
    EXPECT_EQ(msg.hwnd, 0u);
    poster.join();
}

TEST_F(Messages, QuitComesAfterPendingMessagesAndOnlyOnce) {
    PostQuitMessage(5);
    PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0);
    MSG msg = {};
    EXPECT_TRUE(GetMessageA(&msg, 0, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_FALSE(GetMessageA(&msg, 0, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_EQ(win32posix_queuedMessages(), 0u);
}

TEST_F(Messages, OnlyTheOwningThreadDestroysAWindow) {
    HWND window = makeWindow();
    BOOL destroyedElsewhere = TRUE;
    std::thread other([&] { destroyedElsewhere = DestroyWindow(window); });
    other.join();
    EXPECT_FALSE(destroyedElsewhere);
    EXPECT_TRUE(IsWindow(window));
    PostMessageA(window, WM_USER, 0, 0);
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(win32posix_queuedMessages(), 0u);  // its queued message went with it
    EXPECT_FALSE(PostMessageA(window, WM_USER, 0, 0));
}

TEST_F(Messages, EnableWindowReportsThePreviousState) {
    HWND window = makeWindow();
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_FALSE(EnableWindow(window, FALSE));
    EXPECT_FALSE(IsWindowEnabled(window));
    EXPECT_TRUE(EnableWindow(window, TRUE));
    EXPECT_TRUE(IsWindowEnabled(window));
    DestroyWindow(window);
}

TEST_F(Messages, AWindowBelongsToItsThreadAndGoesWithIt) {
    const size_t before = win32posix_liveWindows();
    HWND window = 0;
    DWORD creator = 0;
    std::thread owner([&] {
        window = makeWindow();
        creator = GetCurrentThreadId();
    });
    owner.join();
    EXPECT_NE(creator, GetCurrentThreadId());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), 0u);
    EXPECT_EQ(win32posix_liveWindows(), before);

    HWND mine = makeWindow();
    DWORD process = 0;
    EXPECT_EQ(GetWindowThreadProcessId(mine, &process), GetCurrentThreadId());
    EXPECT_NE(process, 0u);
    DestroyWindow(mine);
}

// EnableWindow announces the change with WM_ENABLE on the window's own thread, so a caller on
// another thread waits until the owner takes messages.
TEST_F(Messages, EnableWindowFromAnotherThreadWaitsForTheOwnersMessageLoop) {
    HWND window = makeWindow();
    const DWORD self = GetCurrentThreadId();
    std::atomic<bool> returned = false;
    std::thread other([&] {
        EnableWindow(window, FALSE);
        returned = true;
        PostThreadMessageA(self, WM_USER, 0, 0);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(returned) << "the window's thread has not taken a message yet";
    MSG msg = {};
    ASSERT_TRUE(GetMessageA(&msg, 0, 0, 0));  // runs the sent WM_ENABLE, then gets WM_USER
    other.join();
    EXPECT_TRUE(returned);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].message, static_cast<UINT>(WM_ENABLE));
    EXPECT_EQ(delivered[0].wParam, 0u);
    EXPECT_FALSE(IsWindowEnabled(window));
    DestroyWindow(window);
}

TEST_F(Messages, ASenderIsReleasedWhenTheWindowsThreadEnds) {
    HWND window = 0;
    std::atomic<bool> created = false;
    std::atomic<bool> sent = false;
    std::thread owner([&] {
        window = makeWindow();
        created = true;
        while (!sent) {
            std::this_thread::yield();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    });
    while (!created) {
        std::this_thread::yield();
    }
    std::thread sender([&] {
        sent = true;
        EnableWindow(window, FALSE);
    });
    sender.join();  // would never return if the owner's end left the sender waiting
    owner.join();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(Messages, UnknownClassCreatesNoWindow) {
    const size_t before = win32posix_liveWindows();
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 0, 0, 0, 0, 0, nullptr), 0u);
    EXPECT_EQ(win32posix_liveWindows(), before);
    // Class names are not case-sensitive.
    HWND window = CreateWindowExA(0, "static", "", 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
    EXPECT_NE(window, 0u);
    DestroyWindow(window);
}

}  // namespace
