#include "scanner_module.h"

#include <cstdio>
#include <cstdlib>
#include <string>

HMODULE loadScannerModule(const char* pathInWindowsFolder) {
    char folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    const std::string path = std::string(folder, length) + "\\" + pathInWindowsFolder;
    const HMODULE loaded = LoadLibraryA(path.c_str());
    if (loaded == nullptr) {
        std::fprintf(stderr, "%s cannot be loaded (error %lu)\n", path.c_str(), GetLastError());
        std::abort();
    }
    return loaded;
}
