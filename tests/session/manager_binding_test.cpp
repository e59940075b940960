#include <win32_posix_test_hooks.h>

#include <cstdlib>
#include <string>

#include "scenario.h"
#include "session/dsm_binding.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"

namespace {

using ManagerBinding = Scenario;

TEST_F(ManagerBinding, MissingManagerLeavesStateOneAndTheCodesAlone) {
    setenv("WINDIR", "/nonexistent-windows", 1);
    twainSession.resultCode = 7;
    twainSession.conditionCode = 9;
    EXPECT_FALSE(registerDemo());
    EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
    EXPECT_EQ(twainSession.dsmModule, 0u);
    EXPECT_EQ(twainSession.resultCode, 7);
    EXPECT_EQ(twainSession.conditionCode, 9);
    EXPECT_EQ(vscan_logSize(), 0u);
}

TEST_F(ManagerBinding, ManagerWithoutEntryPointIsReleasedAgain) {
    setenv("WINDIR", WINDOWS_DIR_WITHOUT_ENTRY, 1);
    EXPECT_FALSE(loadSourceManager());
    EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
    EXPECT_EQ(twainSession.dsmModule, 0u);
    EXPECT_EQ(twainSession.dsmEntry, nullptr);
}

TEST_F(ManagerBinding, PathGetsExactlyOneBackslashBeforeTheFileName) {
    ASSERT_TRUE(loadSourceManager());
    EXPECT_EQ(std::string(win32posix_lastLoadLibraryName()),
              std::string(STANDIN_WINDOWS_DIR) + "\\Twain_32.dll");
    unregister();

    // A folder that already ends in a backslash, as a drive root does.
    setenv("WINDIR", (std::string(STANDIN_WINDOWS_DIR) + "\\").c_str(), 1);
    ASSERT_TRUE(loadSourceManager());
    EXPECT_EQ(std::string(win32posix_lastLoadLibraryName()),
              std::string(STANDIN_WINDOWS_DIR) + "\\Twain_32.dll");
}

TEST_F(ManagerBinding, FolderTooLongForThePathBufferIsALoadFailure) {
    setenv("WINDIR", ("/" + std::string(250, 'w')).c_str(), 1);
    EXPECT_FALSE(loadSourceManager());
    EXPECT_EQ(twainSession.state, kStateManagerNotLoaded);
}

TEST_F(ManagerBinding, LoadingTwiceBindsOnce) {
    ASSERT_TRUE(loadSourceManager());
    const HMODULE first = twainSession.dsmModule;
    ASSERT_TRUE(loadSourceManager());
    EXPECT_EQ(twainSession.dsmModule, first);
    EXPECT_EQ(twainSession.state, kStateManagerLoaded);
}

}  // namespace
