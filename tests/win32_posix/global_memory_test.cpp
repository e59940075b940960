#include <gtest/gtest.h>
#include <win32_posix_test_hooks.h>
#include <windows.h>

#include <cstring>

namespace {

TEST(GlobalMemory, HandlesAreNonZeroCountedAndReleased) {
    const size_t before = win32posix_liveGlobalHandles();
    HGLOBAL a = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 6);
    HGLOBAL b = GlobalAlloc(GMEM_FIXED, 0);
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    EXPECT_NE(a, b);
    EXPECT_EQ(win32posix_liveGlobalHandles(), before + 2);
    EXPECT_EQ(GlobalSize(a), 6u);
    EXPECT_EQ(GlobalSize(b), 0u);
    EXPECT_EQ(GlobalFree(a), 0u);
    EXPECT_EQ(GlobalFree(b), 0u);
    EXPECT_EQ(win32posix_liveGlobalHandles(), before);
}

TEST(GlobalMemory, ZeroInitAndLockCounting) {
    HGLOBAL mem = GlobalAlloc(GHND, 16);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(mem));
    ASSERT_NE(bytes, nullptr);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], 0) << i;
    std::memcpy(bytes, "scan", 4);
    EXPECT_EQ(GlobalLock(mem), bytes);  // moveable blocks do not move while locked
    EXPECT_TRUE(GlobalUnlock(mem));     // still locked once
    EXPECT_FALSE(GlobalUnlock(mem));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_FALSE(GlobalUnlock(mem));  // not locked any more: an error
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(std::memcmp(GlobalLock(mem), "scan", 4), 0);
    GlobalUnlock(mem);
    GlobalFree(mem);
}

TEST(GlobalMemory, AMoveableBlockOfNoBytesCannotBeLocked) {
    HGLOBAL empty = GlobalAlloc(GHND, 0);
    ASSERT_NE(empty, 0u);
    EXPECT_EQ(GlobalSize(empty), 0u);
    EXPECT_EQ(GlobalLock(empty), nullptr);
    EXPECT_EQ(GlobalFree(empty), 0u);
}

TEST(GlobalMemory, BadHandlesAreRefused) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 4);
    GlobalFree(mem);
    EXPECT_EQ(GlobalLock(mem), nullptr);
    EXPECT_EQ(GlobalLock(0), nullptr);
    EXPECT_EQ(GlobalFree(mem), mem);
    EXPECT_EQ(GlobalSize(mem), 0u);
    // A window is not a memory block.
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
    EXPECT_EQ(GlobalLock(window), nullptr);
    DestroyWindow(window);
}

TEST(GlobalMemory, ImpossibleSizeFailsCleanly) {
    const size_t before = win32posix_liveGlobalHandles();
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_MAX / 2), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(win32posix_liveGlobalHandles(), before);
}

}  // namespace
