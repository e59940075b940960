// Which manager the library binds, by its full path: a 64-bit library TWAINDSM.dll from the system
// folder, else twain_32.dll from there; a 32-bit one Twain_32.dll from the Windows folder. In this
// prefix the first is the virtual manager, the very module this program imports its controls from.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>
#include <vector>

#include "prefix_layout.h"
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

// The managers of this width, in the order they are tried.
std::vector<std::string> expectedManagers() {
    if (sizeof(void*) == 8) {
        return {systemFolder() + "\\TWAINDSM.dll", systemFolder() + "\\twain_32.dll"};
    }
    return {windowsFile("Twain_32.dll")};
}

TEST(ManagerPaths, TheManagersOfThisWidthInOrderAndNothingElse) {
    const std::vector<std::string> expected = expectedManagers();
    char path[kManagerPathSize] = {};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_TRUE(managerPath(static_cast<int>(i), path)) << i;
        EXPECT_EQ(std::string(path), expected[i]);
    }
    EXPECT_FALSE(managerPath(static_cast<int>(expected.size()), path));
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

TEST_F(ManagerBinding, TheVirtualManagerIsBoundByItsFullPath) {
    ASSERT_TRUE(loadSourceManager());
    const std::string file = windowsFile(kPrefixLayout.virtualManager);
    EXPECT_EQ(lowerCase(moduleFileName(twainSession.dsmModule)), lowerCase(file));
    EXPECT_EQ(twainSession.dsmModule, GetModuleHandleA(file.c_str()));
}

}  // namespace
