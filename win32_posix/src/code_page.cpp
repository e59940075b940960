#include <windows.h>

#include <array>
#include <cstdint>

namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> kHighControlRange = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr char kDefaultChar = '?';

// The Windows-1252 byte for a UTF-16 unit, or -1 when the code page lacks it.
int toWindows1252(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return unit;
    }
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
        if (kHighControlRange[i] != 0 && kHighControlRange[i] == unit) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

// CP_ACP is Windows-1252 here, the ANSI code page of western Windows installations. A character
// that the code page lacks (a surrogate pair counts as one character) becomes the default
// character, the caller's or the code page's own '?'.
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
        int byte = toWindows1252(wide[i]);
        if (byte < 0) {
            byte = static_cast<unsigned char>(fallback);
            if (usedDefaultChar) {
                *usedDefaultChar = TRUE;
            }
            if (isHighSurrogate(wide[i]) && i + 1 < count && isLowSurrogate(wide[i + 1])) {
                ++i;
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
