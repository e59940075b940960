#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

class WindowsDirectory : public ::testing::Test {
  protected:
    void TearDown() override { unsetenv("WINDIR"); }
};

TEST_F(WindowsDirectory, DefaultsToTheStandInFolderAndFollowsWindir) {
    unsetenv("WINDIR");
    char path[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(path, MAX_PATH);
    EXPECT_EQ(std::string(path, length), STANDIN_WINDOWS_DIR);

    setenv("WINDIR", "C:\\WINDOWS", 1);
    EXPECT_EQ(GetWindowsDirectoryA(path, MAX_PATH), 10u);
    EXPECT_STREQ(path, "C:\\WINDOWS");
    // Too small a buffer: the size needed, terminator included, and nothing written.
    char small[4] = "xyz";
    EXPECT_EQ(GetWindowsDirectoryA(small, sizeof(small)), 11u);
    EXPECT_STREQ(small, "xyz");
}

TEST(Modules, LoadsByWindowsPathBindsAndReleases) {
    const std::string path = std::string(STANDIN_WINDOWS_DIR) + "\\Twain_32.dll";
    HMODULE module = LoadLibraryA(path.c_str());
    ASSERT_NE(module, 0u);
    EXPECT_NE(GetProcAddress(module, "DSM_Entry"), nullptr);
    EXPECT_EQ(GetProcAddress(module, "NoSuchExport"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    // Loading again gives the same handle and counts a reference.
    EXPECT_EQ(LoadLibraryA(path.c_str()), module);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_FALSE(FreeLibrary(module));
    EXPECT_EQ(GetProcAddress(module, "DSM_Entry"), nullptr);
}

TEST(Modules, MissingFileGivesNoHandle) {
    EXPECT_EQ(LoadLibraryA("/nonexistent\\Twain_32.dll"), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

}  // namespace
