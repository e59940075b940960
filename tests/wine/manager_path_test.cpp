// Which manager a 64-bit library binds: TWAINDSM.dll from the system folder, by its full path. In
// this prefix that is the virtual manager, the very module this program imports its controls from.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>

#include "scenario.h"
#include "session/dsm_binding.h"
#include "session/manager_path.h"
#include "session/twain_session.h"

namespace {

std::string systemFolder() {
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder, length);
}

std::string lowerCase(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string moduleFileName(HMODULE module) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    return std::string(path, length);
}

TEST(ManagerPaths, TwainDsmThenTwain32InTheSystemFolderAndNothingElse) {
    char path[kManagerPathSize] = {};
    ASSERT_TRUE(managerPath(0, path));
    EXPECT_EQ(std::string(path), systemFolder() + "\\TWAINDSM.dll");
    ASSERT_TRUE(managerPath(1, path));
    EXPECT_EQ(std::string(path), systemFolder() + "\\twain_32.dll");
    EXPECT_FALSE(managerPath(2, path));
    EXPECT_FALSE(managerPath(-1, path));
}

TEST(ManagerPaths, ADriveRootGetsNoSecondBackslash) {
    char path[kManagerPathSize] = "C:\\";
    ASSERT_TRUE(appendFileName(path, 3, "TWAINDSM.dll"));
    EXPECT_EQ(std::string(path), "C:\\TWAINDSM.dll");
}

TEST(ManagerPaths, APathThatDoesNotFitIsRefused) {
    char path[kManagerPathSize] = {};
    const std::string folder(kManagerPathSize - 13, 'f');  // with "\TWAINDSM.dll" and the zero
    folder.copy(path, folder.size());
    EXPECT_FALSE(appendFileName(path, static_cast<UINT>(folder.size()), "TWAINDSM.dll"));
    const std::string shorter(kManagerPathSize - 14, 'f');
    std::fill(std::begin(path), std::end(path), '\0');
    shorter.copy(path, shorter.size());
    EXPECT_TRUE(appendFileName(path, static_cast<UINT>(shorter.size()), "TWAINDSM.dll"));
}

using ManagerBinding = Scenario;

TEST_F(ManagerBinding, TheSystemFoldersTwainDsmIsBoundByItsFullPath) {
    ASSERT_TRUE(loadSourceManager());
    EXPECT_EQ(lowerCase(moduleFileName(twainSession.dsmModule)),
              lowerCase(systemFolder() + "\\TWAINDSM.dll"));
    EXPECT_EQ(twainSession.dsmModule, GetModuleHandleA("TWAINDSM.dll"));
}

}  // namespace
