#include <windows.h>

#include <cstdlib>
#include <cstring>

// The Windows folder is WINDIR when it is set, else the build tree's stand-in folder, which holds
// the stand-in Twain_32.dll: nothing has to be configured to run from the build tree.
extern "C" UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    const char* windir = std::getenv("WINDIR");
    const char* path = windir ? windir : WIN32_POSIX_DEFAULT_WINDIR;
    const std::size_t length = std::strlen(path);
    if (buffer == nullptr || length + 1 > size) {
        return static_cast<UINT>(length + 1);  // the size needed, terminator included
    }
    std::memcpy(buffer, path, length + 1);
    return static_cast<UINT>(length);
}
