#include "base/path_rules.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

using namespace tv;

namespace {
std::wstring FakeEnv(const std::wstring& name) {
    if (name == L"WINDIR") return L"C:\\Windows";
    if (name == L"EMPTY") return L"";
    return L"";
}
}  // namespace

TEST(PathRules, OnlyTheFirstKnownVariableIsExpanded) {
    EXPECT_EQ(ExpandFirstVariable(L"%WINDIR%\\a %WINDIR%", FakeEnv), L"C:\\Windows\\a %WINDIR%");
    EXPECT_EQ(ExpandFirstVariable(L"%UNKNOWN%\\a", FakeEnv), L"%UNKNOWN%\\a");
    EXPECT_EQ(ExpandFirstVariable(L"100% sure", FakeEnv), L"100% sure");
    EXPECT_EQ(ExpandFirstVariable(L"  ", FakeEnv), L"  ");
}

TEST(PathRules, CommandLineProgramPathDropsQuotesAndArguments) {
    EXPECT_EQ(CommandLineProgramPath(L"C:\\WINDOWS\\system32\\NOTEPAD.EXE %1", FakeEnv),
              L"C:\\WINDOWS\\system32\\NOTEPAD.EXE");
    EXPECT_EQ(CommandLineProgramPath(L"\"C:\\Program Files\\App\\app.exe\" -x \"%1\"", FakeEnv),
              L"C:\\Program Files\\App\\app.exe");
    EXPECT_EQ(CommandLineProgramPath(L"%WINDIR%\\notepad.exe /p", FakeEnv),
              L"C:\\Windows\\notepad.exe");
    EXPECT_EQ(CommandLineProgramPath(L"C:\\a.txt", FakeEnv), L"C:\\a.txt");
}

TEST(PathRules, CommandLineProgramPathLeavesWhatHasNoExtension) {
    EXPECT_EQ(CommandLineProgramPath(L"HTTP://Example.com/a b", FakeEnv), L"HTTP://Example.com/a b");
    EXPECT_EQ(CommandLineProgramPath(L"C:\\dir.d\\file", FakeEnv), L"C:\\dir.d\\file");
    EXPECT_EQ(CommandLineProgramPath(L"C:\\folder\\", FakeEnv), L"C:\\folder\\");
    EXPECT_EQ(CommandLineProgramPath(L".profile", FakeEnv), L".profile");
    EXPECT_EQ(CommandLineProgramPath(L"", FakeEnv), L"");
    EXPECT_EQ(CommandLineProgramPath(L"\"unclosed.exe", FakeEnv), L"unclosed.exe");
}

TEST(PathRules, NormalisedFolderEndsWithExactlyOneBackslash) {
    EXPECT_EQ(NormaliseFolder(L"C:\\Data"), L"C:\\Data\\");
    EXPECT_EQ(NormaliseFolder(L" C:\\Data\\ "), L"C:\\Data\\");
    EXPECT_EQ(NormaliseFolder(L"C:\\Data\\\\"), L"C:\\Data\\");
    EXPECT_EQ(NormaliseFolder(L"C:\\Data\\\\\\"), L"C:\\Data\\");
    EXPECT_EQ(NormaliseFolder(L"C:\\\\a\\\\b"), L"C:\\a\\b\\");
    EXPECT_EQ(NormaliseFolder(L"\\\\server\\share"), L"\\\\server\\share");
    EXPECT_EQ(NormaliseFolder(L"   "), L"");
}

TEST(PathRules, FolderArgumentsSurviveTheShellsQuotes) {
    const struct {
        const wchar_t* folder;
        const wchar_t* argument;
    } cases[] = {
        {L"C:\\Users\\ann\\Documents\\TolVane\\", L"C:\\Users\\ann\\Documents\\TolVane"},
        {L"C:\\Program Files\\TolVane", L"C:\\Program Files\\TolVane"},
        {L"C:\\Data\\\\", L"C:\\Data"},
        {L"C:\\", L"C:\\."},
        {L"d:", L"d:\\."},
        {L"\\\\server\\share\\", L"\\\\server\\share"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FolderArgument(c.folder), c.argument) << c.folder;
        EXPECT_EQ(tvtest::ArgumentAsReceived(FolderArgument(c.folder)), c.argument) << c.folder;
    }
}

TEST(PathRules, WebAddressesAreKnownByTheirScheme) {
    EXPECT_TRUE(IsWebAddress(L"Https://x"));
    EXPECT_TRUE(IsWebAddress(L"http:x"));
    EXPECT_FALSE(IsWebAddress(L"ftp://x"));
    EXPECT_FALSE(IsWebAddress(L" http://x"));
}
