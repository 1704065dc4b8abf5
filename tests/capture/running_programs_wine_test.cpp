// The scan against real processes of the test prefix.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "base/file_util.h"
#include "base/strings.h"
#include "base/handles.h"
#include "base/process_services.h"
#include "capture/program_arguments.h"
#include "capture/running_programs.h"
#include "support/test_support.h"

using namespace tv;
using namespace tvtest;

namespace {

// The scan's pairs whose path is `path`, ignoring case.
std::vector<ProgramPair> PairsOf(const std::wstring& path, const std::wstring& ownPath = L"") {
    RealDesktopWindows desktop;
    std::vector<ProgramPair> out;
    for (const auto& p : ScanRunningPrograms(desktop, ownPath))
        if (EqualsNoCase(p.path, path)) out.push_back(p);
    return out;
}

}  // namespace

TEST(RunningProgramsUnderWine, NotepadWindowsGiveOnePairWithItsFullPath) {
    Process first, second;
    ASSERT_TRUE(first.Start(SystemNotepad(), L""));
    ASSERT_NE(WaitForWindow(L"Notepad", first.pid()), nullptr);
    std::vector<ProgramPair> pairs = PairsOf(SystemNotepad());
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].title, L"Notepad");

    ASSERT_TRUE(second.Start(SystemNotepad(), L""));
    ASSERT_NE(WaitForWindow(L"Notepad", second.pid()), nullptr);
    EXPECT_EQ(PairsOf(SystemNotepad()).size(), 1u);
}

TEST(RunningProgramsUnderWine, AProgramNamedExplorerFollowsTheShellTable) {
    TempFolder dir;
    Process shell;
    std::wstring fake = StartHelperAs(dir, L"explorer.exe", shell,
                                      L"\"Control Panel\" \"My Computer\" \"C:\\Temp\" \"Windows Update\"", 4);
    ASSERT_FALSE(fake.empty());
    std::vector<ProgramPair> pairs = PairsOf(fake);
    ASSERT_EQ(pairs.size(), 2u);
    std::vector<std::wstring> titles{pairs[0].title, pairs[1].title};
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"Control Panel", L"My Computer"}));
    std::vector<ProgramPair> update = PairsOf(L"Windows Update");
    ASSERT_EQ(update.size(), 1u);
    EXPECT_EQ(update[0].title, L"Windows Update");
}

TEST(RunningProgramsUnderWine, TheProgramsOwnWindowIsNeverListed) {
    TempFolder dir;
    Process own;
    std::wstring self = StartHelperAs(dir, L"tolvane.exe", own, L"\"TolVane Free 3.1\"", 1);
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(PairsOf(self).size(), 1u);        // seen by anybody else
    EXPECT_TRUE(PairsOf(self, ToUpper(self)).empty());  // but never by itself
}

TEST(PathTestsUnderWine, FilesAndFoldersOnRealDrivesOnly) {
    ProcessServices& s = ProcessServices::Instance();
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_TRUE(s.FolderExists(windows));
    EXPECT_FALSE(s.FileExists(windows));
    EXPECT_TRUE(s.FileExists(SystemNotepad()));
    EXPECT_FALSE(s.FolderExists(SystemNotepad()));
    EXPECT_FALSE(s.FileExists(SystemNotepad() + L".missing"));
    EXPECT_FALSE(s.FolderExists(L"\\\\server\\share"));
    EXPECT_FALSE(s.FileExists(L"\\\\server\\share\\a.txt"));
    EXPECT_FALSE(s.FolderExists(L"A:\\"));
}

// A notepad of each build on 64-bit Windows, whichever build of this program asks: the 64-bit
// one from the system folder (started past redirection, as 64-bit Explorer starts it), the
// 32-bit one from the WOW64 folder. Both are one program, named by the system folder's path.
TEST(Wow64UnderWine, NotepadOfEitherBuildIsOneProgramInTheSystemFolder) {
    wchar_t wow64[MAX_PATH] = {};
    if (!GetSystemWow64DirectoryW(wow64, MAX_PATH)) GTEST_SKIP() << "no WOW64 folder: not 64-bit Windows";
    Process native, wow;
    ASSERT_TRUE(ProcessServices::Instance().WithoutRedirection([&] { return native.Start(SystemNotepad(), L""); }));
    ASSERT_NE(WaitForWindow(L"Notepad", native.pid()), nullptr);
    // The test script says whether the machine runs 32-bit programs; where it does not, Wine
    // cannot start the 32-bit notepad at all.
    const bool runs32 = GetEnvironmentVariableW(L"TOLVANE_32BIT_RUNS", nullptr, 0) > 0;
    const bool wowUp = wow.Start(std::wstring(wow64) + L"\\notepad.exe", L"") && WaitForWindow(L"Notepad", wow.pid());
    if (!wowUp && !runs32 && sizeof(void*) == 8)
        GTEST_SKIP() << "this machine cannot start 32-bit programs, so no 32-bit notepad runs";
    ASSERT_TRUE(wowUp) << "the 32-bit notepad did not come up";
    for (Process* p : {&native, &wow}) {
        UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, p->pid()));
        ASSERT_TRUE(process.valid());
        EXPECT_TRUE(EqualsNoCase(ProcessServices::Instance().ProgramPathOfProcess(process.get()), SystemNotepad()));
    }
    EXPECT_EQ(PairsOf(SystemNotepad()).size(), 1u);
    EXPECT_TRUE(PairsOf(std::wstring(wow64) + L"\\notepad.exe").empty());
}

// These need the 32-bit build running as a 32-bit process on 64-bit Windows.
TEST(Wow64UnderWine, ProcessPathsComeThroughTheDevicePathWithALowerCaseDrive) {
    if (!ProcessServices::Instance().IsWow64Mode())
        GTEST_SKIP() << "the device-path branch is the 32-bit build's on 64-bit Windows; this is the "
                     << (sizeof(void*) == 8 ? "64-bit build" : "32-bit build on 32-bit Windows");
    // A 64-bit notepad: its modules are out of a 32-bit process's reach. Windows documents
    // GetModuleFileNameEx failing there with ERROR_PARTIAL_COPY (299); Wine 8 fails with
    // ERROR_NOACCESS (998). Both fail, and the image name answers on both.
    Process notepad;
    ASSERT_TRUE(ProcessServices::Instance().WithoutRedirection([&] { return notepad.Start(SystemNotepad(), L""); }));
    ASSERT_NE(WaitForWindow(L"Notepad", notepad.pid()), nullptr);
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, notepad.pid()));
    ASSERT_TRUE(process.valid());
    wchar_t module[MAX_PATH] = {};
    EXPECT_EQ(GetModuleFileNameExW(process.get(), nullptr, module, MAX_PATH), 0u) << "read " << ToUtf8(module);
    std::wstring path = ProcessServices::Instance().ProgramPathOfProcess(process.get());
    ASSERT_GE(path.size(), 3u);
    EXPECT_TRUE(iswlower(path[0])) << path;
    EXPECT_EQ(path.substr(1, 2), L":\\");
    EXPECT_TRUE(EqualsNoCase(path, SystemNotepad())) << ToUtf8(path);
}

TEST(Wow64UnderWine, TheRedirectionGuardSeesThe64BitSystemFolder) {
    if (!ProcessServices::Instance().IsWow64Mode())
        GTEST_SKIP() << "only a 32-bit process on 64-bit Windows is redirected; this is the "
                     << (sizeof(void*) == 8 ? "64-bit build" : "32-bit build on 32-bit Windows");
    // Placed in the 64-bit system folder from outside Wine by the test script.
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    std::wstring only64 = std::wstring(windows) + L"\\system32\\tolvane-64bit-only.txt";
    EXPECT_TRUE(ProcessServices::Instance().FileExists(only64));
    EXPECT_FALSE(tv::FileExists(only64));  // redirected to syswow64 without the guard
}

TEST(RunningProgramsUnderWine, AWindowTitleIsReadUpTo128Characters) {
    const struct {
        size_t length, read;
    } cases[] = {{127, 127}, {128, 128}, {129, 128}, {600, 128}};
    for (const auto& c : cases) {
        const std::wstring title = L"tolvane title " + std::wstring(c.length - 14, L'x');
        HWND w = CreateWindowExW(0, L"STATIC", title.c_str(), WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(w, nullptr);
        RealDesktopWindows desktop;
        std::wstring read = L"(not listed)";
        for (const WindowEntry& e : desktop.TopLevelWindows())
            if (e.window == w) read = e.title;
        DestroyWindow(w);
        EXPECT_EQ(read, title.substr(0, c.read)) << c.length;
    }
}

// The process's own command line, read back through the system's process query.
TEST(RunningProgramsUnderWine, ANotepadsCommandLineNamesItsDocument) {
    TempFolder dir;
    const std::wstring document = dir.file(L"read back.txt");
    ASSERT_TRUE(WriteAll(document, "x"));
    Process notepad;
    ASSERT_TRUE(notepad.Start(SystemNotepad(), L"\"" + document + L"\""));
    ASSERT_NE(WaitForWindow(L"Notepad", notepad.pid()), nullptr);
    RealDesktopWindows desktop;
    const std::wstring line = desktop.CommandLineOf(notepad.pid());
    EXPECT_NE(line.find(document), std::wstring::npos) << line;
    EXPECT_EQ(DocumentArguments(line, SystemNotepad(), [&](const std::wstring& p) { return p == document; }),
              std::vector<std::wstring>{document});
    EXPECT_TRUE(desktop.CommandLineOf(0).empty());
}
