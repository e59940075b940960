#include "scanner_module.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "prefix_layout.h"

HMODULE loadScannerModule(const char* pathInWindowsFolder) {
    const std::string path = windowsFile(pathInWindowsFolder);
    const HMODULE loaded = LoadLibraryA(path.c_str());
    if (loaded == nullptr) {
        std::fprintf(stderr, "%s cannot be loaded (error %lu)\n", path.c_str(), GetLastError());
        std::abort();
    }
    return loaded;
}
