#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::string toAnsi(const std::u16string& text, int outputSize, int* result = nullptr) {
    std::string out(static_cast<size_t>(outputSize), '\0');
    const int written = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                            out.data(), outputSize, nullptr, nullptr);
    if (result) *result = written;
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return out;
}

TEST(CodePage, Windows1252CharactersConvertToTheirBytes) {
    EXPECT_EQ(toAnsi(u"Scan", 4), "Scan");
    EXPECT_EQ(toAnsi(u"caf\u00E9 \u00FF", 6), "caf\xE9 \xFF");
    // The range 0x80-0x9F holds typographic characters in this code page.
    EXPECT_EQ(toAnsi(u"\u20AC\u201C\u2122\u0178", 4), "\x80\x93\x99\x9F");
}

TEST(CodePage, MissingCharactersBecomeTheDefaultCharacter) {
    BOOL usedDefault = FALSE;
    char out[8] = {};
    const std::u16string text = u"\u4E2D\u0394";
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text.data(), 2, out, 8, nullptr, &usedDefault), 2);
    EXPECT_STREQ(out, "??");
    EXPECT_TRUE(usedDefault);
    // Each half of a surrogate pair becomes one, as on Windows.
    EXPECT_EQ(toAnsi(u"a\U0001F600b", 4), "a??b");
    const char hash = '#';
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"x\xD800", 2, out, 8, &hash, nullptr), 2);
    EXPECT_EQ(std::string(out, 2), "x#");
}

TEST(CodePage, WindowsWritesSimilarCharactersAndKeepsItsUndefinedBytes) {
    BOOL usedDefault = TRUE;
    char out[8] = {};
    // Letters without their accent, the full-width A as the plain one.
    const std::u16string text = u"\u0100\u0142\uFF21";
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text.data(), 3, out, 8, nullptr, &usedDefault), 3);
    EXPECT_STREQ(out, "AlA");
    EXPECT_FALSE(usedDefault);
    // The five bytes that the code page leaves undefined stand for the controls of that number.
    EXPECT_EQ(toAnsi(u"\u0081\u008D\u008F\u0090\u009D", 5), "\x81\x8D\x8F\x90\x9D");
}

TEST(CodePage, SizeQueryAndShortBuffer) {
    const std::u16string text = u"abcdef";
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text.data(), 6, nullptr, 0, nullptr, nullptr), 6);
    int result = -1;
    toAnsi(text, 3, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text.data(), 0, nullptr, 0, nullptr, nullptr), 0);
}

}  // namespace
