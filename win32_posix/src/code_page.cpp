#include <windows.h>

#include "windows_1252.h"

namespace {

constexpr char kDefaultChar = '?';

}  // namespace

// CP_ACP is Windows-1252 here, the ANSI code page of western Windows installations, converted as
// Windows converts it (windows_1252.h). A unit it has no byte for becomes the default character,
// the caller's or the code page's own '?': each half of a surrogate pair too, as on Windows.
extern "C" int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount,
                                   LPSTR multi, int multiSize, LPCSTR defaultChar,
                                   LPBOOL usedDefaultChar) {
    if ((codePage != CP_ACP && codePage != 1252) || flags != 0 || wide == nullptr ||
        wideCount == 0 || multiSize < 0 || (multiSize > 0 && multi == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::size_t count = 0;
    if (wideCount < 0) {
        while (wide[count] != 0) {
            ++count;
        }
        ++count;  // the terminator is converted too
    } else {
        count = static_cast<std::size_t>(wideCount);
    }
    const char fallback = defaultChar ? *defaultChar : kDefaultChar;
    if (usedDefaultChar) {
        *usedDefaultChar = FALSE;
    }
    int written = 0;
    for (std::size_t i = 0; i < count; ++i) {
        int byte = win32posix::toWindows1252(wide[i]);
        if (byte < 0) {
            byte = static_cast<unsigned char>(fallback);
            if (usedDefaultChar) {
                *usedDefaultChar = TRUE;
            }
        }
        if (multiSize > 0) {
            if (written == multiSize) {
                SetLastError(ERROR_INSUFFICIENT_BUFFER);
                return 0;
            }
            multi[written] = static_cast<char>(byte);
        }
        ++written;
    }
    return written;
}
