// The POSIX stand-in converts to the ANSI code page with its own table of Windows-1252; here that
// table is judged against Windows' own conversion, for every UTF-16 unit.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "windows_1252.h"

namespace {

TEST(StandInCodePage, EveryUtf16UnitConvertsAsWindowsConvertsIt) {
    std::string differences;
    int counted = 0;
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        const WCHAR wide = static_cast<WCHAR>(unit);
        char byte = 0;
        BOOL usedDefault = FALSE;
        const char noByte = '\0';
        ASSERT_EQ(WideCharToMultiByte(1252, 0, &wide, 1, &byte, 1, &noByte, &usedDefault), 1);
        const int windows = usedDefault ? -1 : static_cast<unsigned char>(byte);
        const int standIn = win32posix::toWindows1252(static_cast<char16_t>(unit));
        if (windows != standIn && counted++ < 10) {
            char difference[64] = {};
            std::snprintf(difference, sizeof(difference), " U+%04X: Windows %d, the stand-in %d;",
                          unit, windows, standIn);
            differences += difference;
        }
    }
    EXPECT_EQ(counted, 0) << differences;
}

}  // namespace
