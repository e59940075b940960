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
    const std::u16string text = u"\u0100\u4E2D\u0081";
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text.data(), 3, out, 8, nullptr, &usedDefault), 3);
    EXPECT_STREQ(out, "???");
    EXPECT_TRUE(usedDefault);
    // A surrogate pair is one character, so one default character.
    EXPECT_EQ(toAnsi(u"a\U0001F600b", 4), "a?b");
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
