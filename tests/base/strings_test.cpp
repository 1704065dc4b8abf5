#include "base/strings.h"

#include <windows.h>

#include <gtest/gtest.h>

using namespace tv;

TEST(Strings, TrimDropsBlanksAndControlCharactersAtBothEnds) {
    EXPECT_EQ(Trim(L" \t\r\n a b \x01"), L"a b");
    EXPECT_EQ(Trim(L"   "), L"");
    EXPECT_EQ(Trim(L""), L"");
}

TEST(Strings, ReplaceAllScansLeftToRightWithoutRescanningReplacements) {
    EXPECT_EQ(ReplaceAll(L"a?|?b?|?", L"?|?", L" "), L"a b ");
    EXPECT_EQ(ReplaceAll(L"aaaa", L"aa", L"a"), L"aa");
    EXPECT_EQ(ReplaceAll(L"abc", L"", L"x"), L"abc");
}

TEST(Strings, CaseRulesIgnoreCaseBeyondAscii) {
    EXPECT_TRUE(StartsWithNoCase(L"HTTPS://x", L"https:"));
    EXPECT_FALSE(StartsWithNoCase(L"htt", L"http:"));
    EXPECT_TRUE(EqualsNoCase(L"C:\\ÄÖ", L"c:\\äö"));
    EXPECT_EQ(ToLower(L"ÉCOLE"), L"école");
    EXPECT_EQ(ToUpper(L"c:\\école"), L"C:\\ÉCOLE");  // ASCII first, then beyond it
    // Plain ASCII maps exactly as the system maps it, every character of it.
    std::wstring ascii;
    for (wchar_t c = 1; c < 0x80; ++c) ascii += c;
    for (DWORD flag : {LCMAP_LOWERCASE, LCMAP_UPPERCASE}) {
        std::wstring system(ascii.size(), L'\0');
        LCMapStringW(LOCALE_INVARIANT, flag, ascii.data(), static_cast<int>(ascii.size()), &system[0],
                     static_cast<int>(system.size()));
        EXPECT_EQ(flag == LCMAP_LOWERCASE ? ToLower(ascii) : ToUpper(ascii), system);
    }
}

TEST(Strings, CodePageConversionsRoundTripAndSubstitute) {
    std::wstring text = L"Grüße 日本";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    // Characters outside the ANSI code page come back as the substitute, never lost silently
    // into an empty string.
    std::wstring viaAnsi = FromAnsi(ToAnsi(L"a日b"));
    EXPECT_EQ(viaAnsi.size(), 3u);
    EXPECT_EQ(viaAnsi.front(), L'a');
    EXPECT_EQ(viaAnsi.back(), L'b');
}

TEST(Strings, FormatWritesOneDecimal) {
    EXPECT_EQ(Format(L"%ls Free %1.1f", L"TolVane", 3.1), L"TolVane Free 3.1");
}
