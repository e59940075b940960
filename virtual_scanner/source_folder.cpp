#include "source_folder.h"

#include <windows.h>

#include <algorithm>

namespace vscan {
namespace {

bool endsWithDs(const std::string& name) {
    return name.size() > 3 && lstrcmpiA(name.c_str() + name.size() - 3, ".ds") == 0;
}

void collect(const std::string& folder, std::vector<std::string>& found) {
    WIN32_FIND_DATAA entry = {};
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        const std::string path = folder + "\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            collect(path, found);
        } else if (endsWithDs(name)) {
            found.push_back(path);
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

}  // namespace

std::vector<std::string> sourceFiles() {
    char windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    std::vector<std::string> found;
    collect(std::string(windows, length) + "\\" + kSourceFolderName, found);
    std::sort(found.begin(), found.end());
    return found;
}

uint64_t lastWritten(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) {
        return 0;
    }
    return static_cast<uint64_t>(attributes.ftLastWriteTime.dwHighDateTime) << 32 |
           attributes.ftLastWriteTime.dwLowDateTime;
}

}  // namespace vscan
