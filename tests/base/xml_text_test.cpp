#include "base/xml_text.h"

#include <gtest/gtest.h>

using namespace tv;

TEST(XmlText, ControlCharactersOtherThanTabCrLfAreForbidden) {
    for (wchar_t c = 0; c < 0x20; ++c) {
        bool allowed = c == L'\t' || c == L'\r' || c == L'\n';
        EXPECT_EQ(HasCharacterXmlForbids(std::wstring(L"C:\\a") + c + L"b.txt"), !allowed) << int(c);
    }
    EXPECT_TRUE(HasCharacterXmlForbids(std::wstring(1, L'\0')));
    EXPECT_FALSE(HasCharacterXmlForbids(L""));
    EXPECT_FALSE(HasCharacterXmlForbids(L"\x7F\x80\x9F"));  // allowed, if discouraged
}

TEST(XmlText, TheTwoNonCharactersAtTheEndOfThePlaneAreForbidden) {
    EXPECT_TRUE(HasCharacterXmlForbids(L"a\xFFFF"));
    EXPECT_TRUE(HasCharacterXmlForbids(L"\xFFFE" L"a"));
    EXPECT_FALSE(HasCharacterXmlForbids(L"\xFFFD\xFDD0\xE000"));
}

TEST(XmlText, OnlyWholeSurrogatePairsAreAllowed) {
    EXPECT_FALSE(HasCharacterXmlForbids(L"x\xD83D\xDE00y"));      // one emoji
    EXPECT_FALSE(HasCharacterXmlForbids(L"\xDBFF\xDFFF\xD800\xDC00"));
    EXPECT_TRUE(HasCharacterXmlForbids(L"x\xD83Dy"));             // high half alone
    EXPECT_TRUE(HasCharacterXmlForbids(L"x\xD83D"));              // high half at the end
    EXPECT_TRUE(HasCharacterXmlForbids(L"x\xDE00y"));             // low half alone
    EXPECT_TRUE(HasCharacterXmlForbids(L"\xD83D\xDE00\xDE00"));   // a pair, then a stray low half
    EXPECT_TRUE(HasCharacterXmlForbids(L"\xD83D\xD83D\xDE00"));   // a stray high half before a pair
}

TEST(XmlText, WithoutForbiddenKeepsEveryAllowedCharacterInOrder) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"plain", L"plain"},
        {L"a\x01" L"b\tc\r\n", L"ab\tc\r\n"},
        {L"x\xFFFF" L"y\xFFFE", L"xy"},
        {L"\xD83D\xDE00 ok", L"\xD83D\xDE00 ok"},          // a whole pair stays
        {L"\xD83D" L"a\xDE00" L"b\xD83D", L"ab"},          // halves alone go
        {std::wstring(L"\0z", 2), L"z"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithoutXmlForbidden(c.first), c.second);
        EXPECT_FALSE(HasCharacterXmlForbids(WithoutXmlForbidden(c.first)));
    }
}
