// The start-up entries and the start-up filter: rules over a fake machine, then the registry
// and the Startup folders of the test prefix.
#include "capture/windows_start.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <map>

#include "app/shell_links.h"
#include "base/strings.h"
#include "capture/fake_desktop.h"
#include "capture/fake_machine.h"
#include "capture/startup_filter.h"
#include "support/scoped_reg_value.h"
#include "support/test_support.h"

using namespace tv;
using namespace tvtest;
using Strings = std::vector<std::wstring>;

namespace {

const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t kRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kNotepad[] = L"C:\\Windows\\notepad.exe";
const wchar_t kCommonStartup[] = L"C:\\ProgramData\\Start Menu\\Programs\\StartUp";
const wchar_t kUserStartup[] = L"C:\\Users\\me\\Start Menu\\Programs\\StartUp";

std::wstring RootName(HKEY root) { return root == HKEY_LOCAL_MACHINE ? L"hklm\\" : L"hkcu\\"; }

// The registry and the folder listings as the start-up entries see them.
class FakeStartupMachine : public StartupMachine {
public:
    std::map<std::wstring, std::wstring> strings;                // root\key\name, lower-cased
    std::map<std::wstring, std::vector<RegistryValue>> keys;     // root\key, lower-cased
    std::map<std::wstring, std::vector<StartupFolderEntry>> folders;    // as given
    Strings listed;                                              // every folder asked for
    int keyReads = 0;

    FakeStartupMachine() {
        SetFolder(HKEY_LOCAL_MACHINE, L"Common Startup", kCommonStartup);
        SetFolder(HKEY_CURRENT_USER, L"StartUp", kUserStartup);
    }
    void SetFolder(HKEY root, const std::wstring& name, const std::wstring& path) {
        strings[ToLower(RootName(root) + kShellFolders + L"\\" + name)] = path;
    }
    void AddRunValue(HKEY root, const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ) {
        keys[ToLower(RootName(root) + kRun)].push_back({name, type, text});
    }

    std::wstring StringValue(HKEY root, const std::wstring& key, const std::wstring& name) override {
        auto it = strings.find(ToLower(RootName(root) + key + L"\\" + name));
        return it == strings.end() ? std::wstring() : it->second;
    }
    std::vector<RegistryValue> Values(HKEY root, const std::wstring& key) override {
        ++keyReads;
        auto it = keys.find(ToLower(RootName(root) + key));
        return it == keys.end() ? std::vector<RegistryValue>() : it->second;
    }
    std::vector<StartupFolderEntry> Entries(const std::wstring& folder) override {
        listed.push_back(folder);
        auto it = folders.find(folder);
        return it == folders.end() ? std::vector<StartupFolderEntry>() : it->second;
    }
};

// The paths among `paths` that a reader reports as started with Windows, in their order.
Strings StartedAmong(TWindowsStartMan& man, const Strings& paths) {
    Strings started;
    for (const auto& path : paths)
        if (man.IsStartedWithWindows(path)) started.push_back(path);
    return started;
}

// One start-up entry reader over both fake machines.
struct StartFixture {
    FakeStartupMachine machine;
    FakeMachine resolution;
    TWindowsStartMan Make() { return TWindowsStartMan(machine, resolution); }
};

}  // namespace

TEST(StartupCommands, BothFoldersThenTheUserAndTheMachineRunKeysDuplicatesKept) {
    StartFixture f;
    f.machine.folders[kCommonStartup] = {{L".", FILE_ATTRIBUTE_DIRECTORY},
                                         {L"..", FILE_ATTRIBUTE_DIRECTORY},
                                         {L"Tools", FILE_ATTRIBUTE_DIRECTORY},
                                         {L"desktop.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
                                         {L"Sync.lnk", FILE_ATTRIBUTE_ARCHIVE},
                                         {L"agent.exe", FILE_ATTRIBUTE_READONLY}};
    f.machine.folders[kUserStartup] = {{L"Mail.lnk", FILE_ATTRIBUTE_NORMAL}, {L"secret.lnk", FILE_ATTRIBUTE_HIDDEN}};
    f.machine.AddRunValue(HKEY_CURRENT_USER, L"Chat", L"C:\\Chat\\chat.exe -min");
    f.machine.AddRunValue(HKEY_LOCAL_MACHINE, L"Audio", L"\"C:\\Audio\\mixer.exe\" /tray");
    f.machine.AddRunValue(HKEY_LOCAL_MACHINE, L"Chat", L"C:\\Chat\\chat.exe -min");
    TWindowsStartMan man = f.Make();
    EXPECT_EQ(man.StartupFolder(true), kCommonStartup);
    EXPECT_EQ(man.StartupFolder(false), kUserStartup);
    const std::wstring common = std::wstring(kCommonStartup) + L"\\", user = std::wstring(kUserStartup) + L"\\";
    EXPECT_EQ(man.StartupCommands(), (Strings{common + L"Sync.lnk", common + L"agent.exe", user + L"Mail.lnk",
                                              L"C:\\Chat\\chat.exe -min", L"\"C:\\Audio\\mixer.exe\" /tray",
                                              L"C:\\Chat\\chat.exe -min"}));
}

TEST(StartupCommands, AMissingFolderValueOrRunKeyLeavesOnlyThatPlaceOut) {
    StartFixture f;
    f.machine.strings.clear();
    f.machine.SetFolder(HKEY_CURRENT_USER, L"StartUp", kUserStartup);
    f.machine.folders[kUserStartup] = {{L"Mail.lnk", FILE_ATTRIBUTE_NORMAL}};
    // A folder value ending in a backslash still gives well-formed paths.
    f.machine.folders[L"C:\\Root\\"] = {{L"a.exe", FILE_ATTRIBUTE_NORMAL}};
    f.machine.AddRunValue(HKEY_LOCAL_MACHINE, L"Audio", L"C:\\Audio\\mixer.exe");
    TWindowsStartMan man = f.Make();
    EXPECT_EQ(man.StartupFolder(true), L"");
    EXPECT_EQ(man.StartupCommands(), (Strings{std::wstring(kUserStartup) + L"\\Mail.lnk", L"C:\\Audio\\mixer.exe"}));
    // Nothing stands in for the missing all-users folder: not the drive's root, not another.
    EXPECT_EQ(f.machine.listed, (Strings{kUserStartup}));
    EXPECT_EQ(StartupFolderFiles(L"C:\\Root\\", f.machine.folders[L"C:\\Root\\"]), (Strings{L"C:\\Root\\a.exe"}));
    EXPECT_TRUE(StartupFolderFiles(L"", {{L"a.exe", FILE_ATTRIBUTE_NORMAL}}).empty());
}

TEST(StartupCommands, AValueOfAnotherTypeEndsItsKeyOnly) {
    StartFixture f;
    f.machine.AddRunValue(HKEY_CURRENT_USER, L"A", L"C:\\A\\a.exe");
    f.machine.AddRunValue(HKEY_CURRENT_USER, L"B", L"%ProgramFiles%\\B\\b.exe", REG_EXPAND_SZ);
    f.machine.AddRunValue(HKEY_CURRENT_USER, L"Flags", L"", REG_DWORD);
    f.machine.AddRunValue(HKEY_CURRENT_USER, L"C", L"C:\\C\\c.exe");
    f.machine.AddRunValue(HKEY_LOCAL_MACHINE, L"D", L"C:\\D\\d.exe");
    TWindowsStartMan man = f.Make();
    // Variables stay as stored in the list; only the test expands them.
    EXPECT_EQ(man.StartupCommands(), (Strings{L"C:\\A\\a.exe", L"%ProgramFiles%\\B\\b.exe", L"C:\\D\\d.exe"}));
    EXPECT_EQ(StartedAmong(man, {L"C:\\Program Files\\B\\b.exe", L"C:\\C\\c.exe", L"C:\\D\\d.exe"}),
              (Strings{L"C:\\Program Files\\B\\b.exe", L"C:\\D\\d.exe"}));
}

TEST(StartupTest, ARunValueNamesItsProgramWithoutQuotesArgumentsCaseOrVariables) {
    StartFixture f;
    f.machine.AddRunValue(HKEY_LOCAL_MACHINE, L"Notes", L"\"C:\\windows\\notepad.exe\" /x");
    f.machine.AddRunValue(HKEY_CURRENT_USER, L"Pad", L"%SystemRoot%\\system32\\write.exe /p", REG_EXPAND_SZ);
    TWindowsStartMan man = f.Make();
    EXPECT_EQ(StartedAmong(man, {L"C:\\windows\\notepad.exe", L"  c:\\WINDOWS\\Notepad.EXE ",
                                 L"C:\\windows\\system32\\notepad.exe", L"\"C:\\windows\\notepad.exe\" /x",
                                 L"C:\\windows", L"C:\\Windows\\System32\\WRITE.exe",
                                 L"%SystemRoot%\\system32\\write.exe"}),
              (Strings{L"C:\\windows\\notepad.exe", L"  c:\\WINDOWS\\Notepad.EXE ",
                       L"C:\\Windows\\System32\\WRITE.exe"}));
}

TEST(StartupTest, ShortcutsAndDocumentsCountAsTheProgramTheyStart) {
    StartFixture f;
    const std::wstring user = kUserStartup;
    f.machine.folders[kUserStartup] = {{L"App.lnk", FILE_ATTRIBUTE_ARCHIVE}, {L"Todo.lnk", FILE_ATTRIBUTE_ARCHIVE}};
    f.resolution.AddLink(user + L"\\App.lnk", L"C:\\Tools\\app.exe");
    f.resolution.AddLink(user + L"\\Todo.lnk", L"C:\\Notes\\todo.txt");
    f.resolution.Associate(L".txt", L"txtfile", L"\"C:\\Windows\\system32\\notepad.exe\" \"%1\"");
    f.resolution.Associate(L".pdf", L"pdffile", L"\"C:\\Reader\\reader.exe\" \"%1\"");
    f.machine.AddRunValue(HKEY_CURRENT_USER, L"Manual", L"C:\\Docs\\manual.pdf");
    TWindowsStartMan man = f.Make();
    EXPECT_EQ(StartedAmong(man, {L"C:\\Tools\\app.exe", user + L"\\App.lnk", L"C:\\Windows\\system32\\notepad.exe",
                                 L"C:\\Notes\\todo.txt", L"C:\\Reader\\reader.exe"}),
              (Strings{L"C:\\Tools\\app.exe", L"C:\\Windows\\system32\\notepad.exe", L"C:\\Reader\\reader.exe"}));
}

TEST(StartupTest, EntriesAreReadOnceAndALaterValueNeedsANewReader) {
    StartFixture f;
    f.machine.AddRunValue(HKEY_LOCAL_MACHINE, L"Audio", L"C:\\Audio\\mixer.exe");
    TWindowsStartMan man = f.Make();
    EXPECT_TRUE(man.IsStartedWithWindows(L"C:\\Audio\\mixer.exe"));
    f.machine.AddRunValue(HKEY_CURRENT_USER, L"Chat", L"C:\\Chat\\chat.exe");
    EXPECT_FALSE(man.IsStartedWithWindows(L"C:\\Chat\\chat.exe"));
    EXPECT_EQ(f.machine.keyReads, 2);
    EXPECT_TRUE(f.Make().IsStartedWithWindows(L"C:\\Chat\\chat.exe"));
}

TEST(StartupTest, AnEmptyEntryNeverMatches) {
    StartFixture f;
    f.machine.AddRunValue(HKEY_CURRENT_USER, L"Blank", L"   ");
    f.machine.AddRunValue(HKEY_CURRENT_USER, L"Quotes", L"\"\"");
    TWindowsStartMan man = f.Make();
    EXPECT_EQ(man.StartupCommands().size(), 2u);
    EXPECT_FALSE(man.IsStartedWithWindows(L""));
    EXPECT_FALSE(man.IsStartedWithWindows(L"  "));
}

// ---- the start-up filter -------------------------------------------------------------------

TEST(StartupFilter, AStartupProgramIsListedOnceWhateverItsWindows) {
    StartFixture f;
    f.machine.AddRunValue(HKEY_LOCAL_MACHINE, L"Notes", L"\"C:\\windows\\notepad.exe\" /x");
    TWindowsStartMan man = f.Make();
    StartupFilterList list;
    bool filterOn = true;
    FakeDesktop desktop;
    desktop.Add(L"Untitled - Notepad", kNotepad);
    desktop.Add(L"Calculator", L"C:\\Windows\\calc.exe");
    desktop.Add(L" b.txt - Notepad ", L"c:\\WINDOWS\\notepad.exe");
    StartupFilter filter = MakeStartupFilter([&filterOn] { return filterOn; }, man, list);
    std::vector<ProgramPair> pairs = ScanRunningPrograms(desktop, L"C:\\TolVane\\tolvane.exe", filter);
    EXPECT_EQ(pairs, (std::vector<ProgramPair>{{L"C:\\Windows\\calc.exe", L"Calculator"}}));
    ASSERT_EQ(list.rows().size(), 1u);
    EXPECT_EQ(list.rows()[0].title, L"Untitled - Notepad");
    EXPECT_EQ(list.rows()[0].path, kNotepad);
    EXPECT_TRUE(list.HoldsPath(L" c:\\windows\\NOTEPAD.exe "));
    EXPECT_FALSE(list.HoldsPath(L"C:\\Windows\\calc.exe"));

    // A second recording that keeps the list adds nothing new; with the filter off every
    // window is recorded again and the list stays as it was.
    ScanRunningPrograms(desktop, L"C:\\TolVane\\tolvane.exe", filter);
    EXPECT_EQ(list.rows().size(), 1u);
    filterOn = false;
    EXPECT_EQ(ScanRunningPrograms(desktop, L"C:\\TolVane\\tolvane.exe", filter).size(), 2u);
    EXPECT_EQ(list.rows().size(), 1u);
    list.Clear();
    EXPECT_FALSE(list.HoldsPath(kNotepad));
}

TEST(StartupFilter, ThisProgramAndProgramsNotStartedWithWindowsAreNeverFiltered) {
    StartFixture f;
    // The program's own entry for replaying a record at log-on.
    f.machine.AddRunValue(HKEY_LOCAL_MACHINE, L"TolVane", L"\"C:\\Program Files\\TolVane\\tolvane.exe\" /run");
    TWindowsStartMan man = f.Make();
    ASSERT_TRUE(man.IsStartedWithWindows(L"C:\\Program Files\\TolVane\\tolvane.exe"));
    StartupFilterList list;
    EXPECT_FALSE(list.Filter(L"C:\\Program Files\\TolVane\\TOLVANE.EXE ", L"TolVane", true, man));
    EXPECT_FALSE(list.Filter(L"C:\\Windows\\calc.exe", L"Calculator", true, man));
    EXPECT_TRUE(list.rows().empty());
}

// ---- the machine of the test prefix ----------------------------------------------------------

namespace {

// A key's access list replaced by one that lets everyone only read it, and put back afterwards.
class ScopedReadOnlyKey {
public:
    ScopedReadOnlyKey(HKEY root, const std::wstring& key) {
        if (RegOpenKeyExW(root, key.c_str(), 0, READ_CONTROL | WRITE_DAC, &key_) != ERROR_SUCCESS) return;
        DWORD size = 0;
        RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
        old_.resize(size);
        if (size == 0 || RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, old_.data(), &size) != ERROR_SUCCESS)
            return;
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly,
                                                                  nullptr))
            return;
        changed_ = RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
        LocalFree(readOnly);
    }
    ~ScopedReadOnlyKey() {
        if (changed_) RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, old_.data());
        if (key_) RegCloseKey(key_);
    }
    ScopedReadOnlyKey(const ScopedReadOnlyKey&) = delete;
    ScopedReadOnlyKey& operator=(const ScopedReadOnlyKey&) = delete;
    bool changed() const { return changed_; }

private:
    HKEY key_ = nullptr;
    std::vector<BYTE> old_;
    bool changed_ = false;
};

std::wstring SystemFolder() {
    wchar_t dir[MAX_PATH] = {};
    GetSystemDirectoryW(dir, MAX_PATH);
    return dir;
}

}  // namespace

TEST(WindowsStartUnderWine, RunValuesOfTheMachineAndTheUserAreReadOncePerReader) {
    ScopedRegValue notes(HKEY_LOCAL_MACHINE, kRun, L"TolvaneTestNotes");
    ScopedRegValue pad(HKEY_CURRENT_USER, kRun, L"TolvaneTestPad");
    ScopedRegValue late(HKEY_CURRENT_USER, kRun, L"TolvaneTestLate");
    ASSERT_TRUE(notes.SetText(L"\"C:\\windows\\notepad.exe\" /x"));
    ASSERT_TRUE(pad.SetText(L"%SystemRoot%\\system32\\notepad.exe /p", REG_EXPAND_SZ));

    TWindowsStartMan man;
    EXPECT_TRUE(man.IsStartedWithWindows(L"c:\\WINDOWS\\Notepad.exe"));
    EXPECT_TRUE(man.IsStartedWithWindows(SystemFolder() + L"\\NOTEPAD.EXE"));
    EXPECT_FALSE(man.IsStartedWithWindows(SystemFolder() + L"\\regedit.exe"));

    ASSERT_TRUE(late.SetText(SystemFolder() + L"\\regedit.exe"));
    EXPECT_FALSE(man.IsStartedWithWindows(SystemFolder() + L"\\regedit.exe"));
    EXPECT_TRUE(TWindowsStartMan().IsStartedWithWindows(SystemFolder() + L"\\regedit.exe"));
}

TEST(WindowsStartUnderWine, AValueOfAnotherTypeEndsTheRunKey) {
    // Names in order: both registries list these values in this order.
    ScopedRegValue first(HKEY_CURRENT_USER, kRun, L"TolvaneTest1");
    ScopedRegValue flags(HKEY_CURRENT_USER, kRun, L"TolvaneTest2");
    ScopedRegValue after(HKEY_CURRENT_USER, kRun, L"TolvaneTest3");
    const DWORD one = 1;
    ASSERT_TRUE(first.SetText(L"C:\\First\\first.exe"));
    ASSERT_TRUE(flags.Set(REG_DWORD, &one, sizeof(one)));
    ASSERT_TRUE(after.SetText(L"C:\\After\\after.exe"));

    RealStartupMachine machine;
    std::vector<RegistryValue> values = machine.Values(HKEY_CURRENT_USER, kRun);
    auto at = [&values](const wchar_t* name) {
        for (size_t i = 0; i < values.size(); ++i)
            if (values[i].name == name) return i;
        return values.size();
    };
    ASSERT_LT(at(L"TolvaneTest1"), at(L"TolvaneTest2"));
    ASSERT_LT(at(L"TolvaneTest2"), at(L"TolvaneTest3"));
    ASSERT_LT(at(L"TolvaneTest3"), values.size());
    EXPECT_EQ(values[at(L"TolvaneTest2")].type, static_cast<DWORD>(REG_DWORD));

    TWindowsStartMan man;
    EXPECT_TRUE(man.IsStartedWithWindows(L"C:\\First\\first.exe"));
    EXPECT_FALSE(man.IsStartedWithWindows(L"C:\\After\\after.exe"));
}

TEST(WindowsStartUnderWine, ARunKeyThatOnlyGrantsReadingIsRead) {
    ScopedRegValue notes(HKEY_CURRENT_USER, kRun, L"TolvaneTestNotes");
    ASSERT_TRUE(notes.SetText(L"\"C:\\windows\\notepad.exe\" /x"));
    ScopedReadOnlyKey readOnly(HKEY_CURRENT_USER, kRun);
    ASSERT_TRUE(readOnly.changed());
    HKEY full = nullptr;
    LONG fullAccess = RegOpenKeyExW(HKEY_CURRENT_USER, kRun, 0, KEY_ALL_ACCESS, &full);
    if (full) RegCloseKey(full);
    // The key really refuses full access, as a machine key does to a user without rights.
    ASSERT_EQ(fullAccess, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(TWindowsStartMan().IsStartedWithWindows(L"C:\\windows\\notepad.exe"));
}

TEST(WindowsStartUnderWine, AShortcutInTheUserStartupFolderCountsAndAHiddenFileDoesNot) {
    TWindowsStartMan man;
    const std::wstring folder = man.StartupFolder(false);
    ASSERT_FALSE(folder.empty());
    ASSERT_FALSE(man.StartupFolder(true).empty());
    TempFolder programs;
    const std::wstring app = programs.file(L"app.exe");
    const std::wstring link = folder + L"\\TolvaneTest App.lnk";
    const std::wstring visible = folder + L"\\tolvanetest-visible.exe";
    const std::wstring hidden = folder + L"\\.tolvanetest-hidden.exe";
    struct Cleanup {
        Strings files;
        ~Cleanup() {
            for (const auto& f : files) {
                SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(f.c_str());
            }
        }
    } cleanup{{link, visible, hidden}};
    ASSERT_TRUE(WriteAll(app, "MZ"));
    ASSERT_TRUE(CreateShortcut(link, app, programs.path()));
    ASSERT_TRUE(WriteAll(visible, "MZ"));
    ASSERT_TRUE(WriteAll(hidden, "MZ"));
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_NE(GetFileAttributesW(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    // The listing shows it: only its attribute keeps it out.
    bool listed = false;
    for (const StartupFolderEntry& entry : RealStartupMachine().Entries(folder))
        listed = listed || EqualsNoCase(entry.name, L".tolvanetest-hidden.exe");
    ASSERT_TRUE(listed);

    EXPECT_TRUE(man.IsStartedWithWindows(app));
    EXPECT_TRUE(man.IsStartedWithWindows(visible));
    EXPECT_FALSE(man.IsStartedWithWindows(hidden));
    EXPECT_FALSE(man.IsStartedWithWindows(link));
}

TEST(WindowsStartUnderWine, TwoWindowsOfARunningStartupProgramGiveOneRowAndNoPair) {
    TempFolder dir;
    Process helper;
    ScopedRegValue entry(HKEY_LOCAL_MACHINE, kRun, L"TolvaneTestHelper");
    std::wstring program = dir.file(L"startapp.exe");
    ASSERT_TRUE(entry.SetText(L"\"" + program + L"\" /x"));
    ASSERT_EQ(StartHelperAs(dir, L"startapp.exe", helper, L"\"First Window\" \"Second Window\"", 2), program);

    TWindowsStartMan man;
    StartupFilterList list;
    RealDesktopWindows desktop;
    std::vector<ProgramPair> pairs = ScanRunningPrograms(desktop, L"", MakeStartupFilter([] { return true; }, man, list));
    for (const ProgramPair& pair : pairs) EXPECT_FALSE(EqualsNoCase(pair.path, program)) << pair.title;
    ASSERT_EQ(list.rows().size(), 1u);
    EXPECT_TRUE(EqualsNoCase(list.rows()[0].path, program)) << list.rows()[0].path;
    EXPECT_TRUE(list.rows()[0].title == L"First Window" || list.rows()[0].title == L"Second Window")
        << list.rows()[0].title;
}
