// Where the prefix keeps the files of this program's width, each by its path in the Windows folder,
// as a Windows of that width keeps them: the virtual manager where the library looks for its
// manager first, the virtual source in the folder of sources of that width, and Wine's own manager.
#ifndef SCANLINK_TESTS_WINE_PREFIX_LAYOUT_H
#define SCANLINK_TESTS_WINE_PREFIX_LAYOUT_H

#include <windows.h>

#include <string>

struct PrefixLayout {
    const char* virtualManager;
    const char* virtualSource;
    const char* winesManager;
};

inline constexpr PrefixLayout kPrefixLayout =
    sizeof(void*) == 8
        ? PrefixLayout{"system32\\TWAINDSM.dll", "twain_64\\sane.ds", "system32\\twain_32.dll"}
        : PrefixLayout{"Twain_32.dll", "twain_32\\sane.ds", "twain_32.dll"};

// The full path of a file of the Windows folder.
inline std::string windowsFile(const char* pathInWindowsFolder) {
    char folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder, length) + "\\" + pathInWindowsFolder;
}

#endif
