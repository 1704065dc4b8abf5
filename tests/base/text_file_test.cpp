#include "base/text_file.h"

#include <gtest/gtest.h>

#include "base/file_util.h"
#include "base/strings.h"
#include "support/test_support.h"

using namespace tv;
using tvtest::Utf16;

namespace {
std::string Bytes(std::initializer_list<unsigned char> b) { return std::string(b.begin(), b.end()); }
std::string Utf16BE(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s) {
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
        out.push_back(static_cast<char>(c & 0xFF));
    }
    return out;
}
using Lines = std::vector<std::wstring>;
}  // namespace

TEST(TextFile, DecodesEveryByteOrderMark) {
    std::wstring text = L"C:\\Dокументы\\a.txt";
    EXPECT_EQ(DecodeText(Bytes({0xFF, 0xFE}) + Utf16(text)), text);
    EXPECT_EQ(DecodeText(Bytes({0xFE, 0xFF}) + Utf16BE(text)), text);
    EXPECT_EQ(DecodeText(Bytes({0xEF, 0xBB, 0xBF}) + ToUtf8(text)), text);
    EXPECT_EQ(DecodeText("plain ansi"), L"plain ansi");
}

TEST(TextFile, MarkAloneOrNothingGivesNoLines) {
    EXPECT_TRUE(SplitLines(DecodeText("")).empty());
    EXPECT_TRUE(SplitLines(DecodeText(Bytes({0xFF, 0xFE}))).empty());
    EXPECT_TRUE(SplitLines(DecodeText(Bytes({0xEF, 0xBB, 0xBF}))).empty());
}

TEST(TextFile, HostileBytesDoNotBreakTheReader) {
    // An odd byte after UTF-16 text, a lone high surrogate, bytes that are no UTF-8.
    EXPECT_EQ(DecodeText(Bytes({0xFF, 0xFE, 'a', 0, 'b'})), L"a");
    EXPECT_EQ(DecodeText(Bytes({0xFF, 0xFE, 0x00, 0xD8})).size(), 1u);
    std::wstring bad = DecodeText(Bytes({0xEF, 0xBB, 0xBF, 'x', 0xC3, 0x28, 0xFF, 'y'}));
    ASSERT_FALSE(bad.empty());
    EXPECT_EQ(bad.front(), L'x');
    EXPECT_EQ(bad.back(), L'y');
}

TEST(TextFile, EveryLineEndingSplitsAndAFinalEndingAddsNoLine) {
    EXPECT_EQ(SplitLines(L"a\r\nb\rc\nd"), (Lines{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(SplitLines(L"a\r\n"), (Lines{L"a"}));
    EXPECT_EQ(SplitLines(L"a\n\r\nb"), (Lines{L"a", L"", L"b"}));
    EXPECT_EQ(SplitLines(L"\r\n\r\n"), (Lines{L"", L""}));
    EXPECT_EQ(SplitLines(L"a\n\rb"), (Lines{L"a", L"", L"b"}));  // LF then CR is two endings
}

TEST(TextFile, WriterPutsMarkAndCrLfAfterEveryLine) {
    EXPECT_EQ(EncodeLines({}), Bytes({0xFF, 0xFE}));
    EXPECT_EQ(EncodeLines({L"C:\\a.txt"}), Bytes({0xFF, 0xFE}) + Utf16(L"C:\\a.txt\r\n"));
    EXPECT_EQ(EncodeLines({L"", L"x"}), Bytes({0xFF, 0xFE}) + Utf16(L"\r\nx\r\n"));
}

TEST(TextFile, FilesRoundTripIncludingAMillionCharacterLine) {
    tvtest::TempFolder dir;
    std::wstring path = dir.file(L"lines.txt");
    Lines lines{L"first", std::wstring(1000000, L'ж'), L"", L"last ✓"};
    ASSERT_TRUE(WriteTextLines(path, lines));
    Lines back;
    ASSERT_TRUE(ReadTextLines(path, back));
    EXPECT_EQ(back, lines);
}

TEST(TextFile, RewritingReplacesTheOldFileAndLeavesNoTemporaryFile) {
    tvtest::TempFolder dir;
    std::wstring path = dir.file(L"sendparam.txt");
    ASSERT_TRUE(WriteTextLines(path, {L"one", L"two", L"three"}));
    ASSERT_TRUE(WriteTextLines(path, {}));
    EXPECT_EQ(tvtest::ReadAll(path), Bytes({0xFF, 0xFE}));
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir.path() + L"\\*").c_str(), &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    int files = 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    EXPECT_EQ(files, 1);
}

TEST(TextFile, MissingFileOrFolderIsReportedNotCreated) {
    tvtest::TempFolder dir;
    Lines lines{L"stale"};
    EXPECT_FALSE(ReadTextLines(dir.file(L"none.txt"), lines));
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(WriteTextLines(dir.file(L"no\\such\\folder.txt"), {L"x"}));
}
