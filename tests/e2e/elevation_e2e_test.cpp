// The elevation program under Wine: the restart it makes, the documents it opens and what its
// exit code tells the program.
#include "e2e/e2e_support.h"

#include <winternl.h>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "base/constants.h"
#include "base/handles.h"
#include "support/scoped_reg_value.h"
#include "ui/main/menus/main_menus.h"

using namespace tvtest;

namespace {

// The command line another process of this build's width was started with, read from its
// process block.
std::wstring CommandLineOf(DWORD pid) {
    tv::UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    using Query = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess"));
    PROCESS_BASIC_INFORMATION basic{};
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!process.get() || !query || query(process.get(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0 ||
        !ReadProcessMemory(process.get(), basic.PebBaseAddress, &peb, sizeof(peb), nullptr) ||
        !ReadProcessMemory(process.get(), peb.ProcessParameters, &parameters, sizeof(parameters), nullptr))
        return L"(unreadable)";
    std::wstring text(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (!ReadProcessMemory(process.get(), parameters.CommandLine.Buffer, &text[0], parameters.CommandLine.Length, nullptr))
        return L"(unreadable)";
    return text;
}

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The real elevation program beside the test's copy of the program.
void AddRealElevationProgram(ProgramFolder& program) {
    ASSERT_TRUE(CopyFileW((ExeFolder() + L"\\" + tv::kElevationProgram).c_str(),
                          program.file(tv::kElevationProgram).c_str(), FALSE));
}

long RunHelper(const std::wstring& helper, const std::wstring& params, Process& process) {
    if (!process.Start(helper, params)) return -2;
    return process.Wait(30000);
}

}  // namespace

TEST(Elevation, RestartFromTheWindowEndsThisInstanceAndStartsTheElevatedOne) {
    ScopedDataFolders folders;
    ProgramFolder program;
    AddRealElevationProgram(program);
    Process first;
    HWND old = StartProgram(first, program.exe(), L"");
    ASSERT_NE(old, nullptr);
    PostMessageW(old, WM_COMMAND, MAKEWPARAM(tv::kCmdRunAsAdmin, 0), 0);
    EXPECT_EQ(first.Wait(30000), 0);

    HWND elevated = WaitForWindow(L"TTolvaneWindow", 0);
    ASSERT_NE(elevated, nullptr);
    DWORD pid = 0;
    GetWindowThreadProcessId(elevated, &pid);
    EXPECT_NE(pid, first.pid());
    EXPECT_TRUE(EndsWith(CommandLineOf(pid), L"/runasadmin")) << CommandLineOf(pid);
    tv::SettingsStore user(folders.dataFolder() + L"\\defualt.ini");
    EXPECT_TRUE(user.ReadBool(tv::keys::kDefault, tv::keys::kRunAsAdmin, false));

    if (HWND question = WaitForRecordQuestion(pid, 10000)) PostMessageW(question, WM_CLOSE, 0, 0);
    tv::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    PostMessageW(elevated, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
}

TEST(Elevation, RestartWithTheHelperMissingKeepsTheWindowAndItsSettings) {
    ScopedDataFolders folders;
    ProgramFolder program;  // no elevation program beside it
    Process p;
    HWND w = StartProgram(p, program.exe(), L"");
    ASSERT_NE(w, nullptr);
    tv::SettingsStore user(folders.dataFolder() + L"\\defualt.ini");
    // The restart writes it true only once it has started.
    const bool before = user.ReadBool(tv::keys::kDefault, tv::keys::kRunAsAdmin, false);
    PostMessageW(w, WM_COMMAND, MAKEWPARAM(tv::kCmdRunAsAdmin, 0), 0);
    // The program says why, once, in a message box of its own.
    HWND told = WaitForWindow(L"#32770", p.pid(), 10000);
    ASSERT_NE(told, nullptr);
    PostMessageW(told, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(told); }, 10000));
    Sleep(300);
    EXPECT_EQ(FindWindows(L"#32770").size(), 0u);
    EXPECT_TRUE(IsWindow(w));
    EXPECT_EQ(p.Wait(0), -1);  // still running
    EXPECT_EQ(user.ReadBool(tv::keys::kDefault, tv::keys::kRunAsAdmin, false), before);
    EXPECT_EQ(CloseAndWait(w, p), 0);
}

TEST(Elevation, HelperOpensADocumentWithItsProgramAndTellsWhatItCouldNotStart) {
    TempFolder folder;
    const std::wstring opener = folder.file(L"start_note.exe"), helper = folder.file(tv::kElevationProgram);
    ASSERT_TRUE(CopyFileW((ExeFolder() + L"\\start_note.exe").c_str(), opener.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((ExeFolder() + L"\\" + tv::kElevationProgram).c_str(), helper.c_str(), FALSE));
    // A document type of the test's own, opened by the note-taking program.
    const std::wstring classes = L"Software\\Classes\\";
    ScopedRegValue type(HKEY_LOCAL_MACHINE, classes + L".tvelevated", L"");
    ScopedRegValue command(HKEY_LOCAL_MACHINE, classes + L"TvElevatedDoc\\shell\\open\\command", L"");
    ASSERT_TRUE(type.SetText(L"TvElevatedDoc"));
    ASSERT_TRUE(command.SetText(L"\"" + opener + L"\" \"%1\""));
    const std::wstring document = folder.file(L"my notes.tvelevated");
    ASSERT_TRUE(tv::WriteFileAtomic(document, "x"));

    Process open;
    EXPECT_EQ(RunHelper(helper, L"\"" + document + L"\"", open), tv::kElevationStarted);
    std::string notes;
    EXPECT_TRUE(WaitUntil([&] { return !(notes = ReadAll(folder.file(L"starts.txt"))).empty(); }, 10000));
    EXPECT_EQ(notes, Utf16(L"\"" + document + L"\"\r\n"));

    // A path that does not exist: said once, nothing opened.
    Process missing;
    ASSERT_TRUE(missing.Start(helper, L"\"" + folder.file(L"gone.tvelevated") + L"\""));
    HWND told = WaitForWindow(L"#32770", missing.pid(), 10000);
    ASSERT_NE(told, nullptr);
    PostMessageW(told, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(missing.Wait(10000), tv::kElevationImpossible);

    // No program beside the helper: it cannot start one, and says so by its exit code.
    Process noProgram;
    EXPECT_EQ(RunHelper(helper, L"", noProgram), tv::kElevationImpossible);
    EXPECT_EQ(notes, ReadAll(folder.file(L"starts.txt")));
}
