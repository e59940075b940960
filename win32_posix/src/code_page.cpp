#include <windows.h>

#include <cstring>

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

// Every byte of Windows-1252 has a character, so the conversion back never fails; a count of -1
// converts up to and with the terminator.
extern "C" int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multi, int multiCount,
                                   LPWSTR wide, int wideSize) {
    if ((codePage != CP_ACP && codePage != 1252) || flags != 0 || multi == nullptr ||
        multiCount == 0 || wideSize < 0 || (wideSize > 0 && wide == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t count =
        multiCount < 0 ? std::strlen(multi) + 1 : static_cast<std::size_t>(multiCount);
    if (wideSize > 0 && count > static_cast<std::size_t>(wideSize)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    for (std::size_t i = 0; wideSize > 0 && i < count; ++i) {
        wide[i] = win32posix::fromWindows1252(static_cast<unsigned char>(multi[i]));
    }
    return static_cast<int>(count);
}
