// The document rules over a fake machine: shortcut targets, associations, the Recent-folder
// walk, recording the documents and attaching them under their programs.
#include <gtest/gtest.h>

#include <map>

#include "base/path_rules.h"
#include "base/strings.h"
#include "capture/fake_machine.h"
#include "capture/recent_documents.h"

using namespace tv;
using tvtest::FakeMachine;
using Strings = std::vector<std::wstring>;

namespace {

const wchar_t kNotepad[] = L"C:\\WINDOWS\\system32\\NOTEPAD.EXE";
const std::wstring kHuge(64 * 1024, L'x');

// A Recent folder in memory: entries per folder, and each file's last-write time in days.
class FakeRecent : public RecentFolderReader {
public:
    std::map<std::wstring, std::vector<ListedEntry>> folders;
    std::map<std::wstring, double> written;
    double now = 45000.25;

    void AddFolder(const std::wstring& parent, const std::wstring& name) {
        folders[Key(parent)].push_back({name, FILE_ATTRIBUTE_DIRECTORY});
    }
    // A shortcut `name` in `folder`, written `ageDays` ago, pointing at `target`.
    void AddShortcut(FakeMachine& m, const std::wstring& folder, const std::wstring& name,
                     const std::wstring& target, double ageDays) {
        folders[Key(folder)].push_back({name, FILE_ATTRIBUTE_ARCHIVE});
        written[Key(folder + L"\\" + name)] = now - ageDays;
        m.AddLink(folder + L"\\" + name, target);
    }
    std::vector<ListedEntry> List(const std::wstring& folder, size_t limit) override {
        std::vector<ListedEntry> all{{L".", FILE_ATTRIBUTE_DIRECTORY}, {L"..", FILE_ATTRIBUTE_DIRECTORY}};
        for (const auto& e : folders[Key(folder)]) all.push_back(e);
        if (all.size() > limit) all.resize(limit);
        return all;
    }
    bool LastWriteDays(const std::wstring& path, double& days) override {
        auto it = written.find(Key(path));
        if (it == written.end()) return false;
        days = it->second;
        return true;
    }
    double NowDays() override { return now; }

private:
    static std::wstring Key(std::wstring s) {
        while (!s.empty() && s.back() == L'\\') s.pop_back();
        return ToLower(s);
    }
};

const wchar_t kRecent[] = L"C:\\Users\\me\\Recent";

Strings Scan(FakeRecent& r, FakeMachine& m, RecentScanOptions o, RecentDocumentList& list) {
    ScanRecentDocuments(kRecent, o, list, r, m);
    return list.entries();
}
Strings Scan(FakeRecent& r, FakeMachine& m, RecentScanOptions o) {
    RecentDocumentList list;
    return Scan(r, m, o, list);
}
RecentScanOptions AgeLimit(int days) { return {true, days, false}; }
RecentScanOptions NoAgeLimit() { return {false, 7, false}; }

}  // namespace

TEST(ShortcutTarget, OnlyReadableShortcutsWithUsableTargetsAreResolved) {
    FakeMachine m;
    m.AddLink(L"C:\\r\\a.lnk", L"C:\\docs\\a.txt");
    m.AddLink(L"C:\\r\\B.LNK", L"C:\\docs\\b.txt");
    m.AddLink(L"C:\\r\\empty.lnk", L"");
    m.AddLink(L"C:\\r\\wild.lnk", L"C:\\docs\\*.txt");
    m.AddLink(L"C:\\r\\quote.lnk", L"\"C:\\docs\\unterminated.txt");
    m.AddLink(L"C:\\r\\pipe.lnk", L"C:\\a|b");
    m.AddLink(L"C:\\r\\huge.lnk", L"C:\\" + kHuge);
    EXPECT_EQ(ShortcutTarget(L"C:\\r\\a.lnk", m), L"C:\\docs\\a.txt");
    EXPECT_EQ(ShortcutTarget(L"C:\\r\\B.LNK", m), L"C:\\docs\\b.txt");
    for (const wchar_t* kept : {L"C:\\r\\empty.lnk", L"C:\\r\\wild.lnk", L"C:\\r\\quote.lnk", L"C:\\r\\pipe.lnk",
                                L"C:\\r\\unreadable.lnk"})
        EXPECT_EQ(ShortcutTarget(kept, m), kept);
    EXPECT_EQ(ShortcutTarget(L"C:\\r\\huge.lnk", m), L"C:\\" + kHuge);
    // Anything but a shortcut is its own target and no link is read for it.
    int reads = m.linkReads;
    for (const wchar_t* plain : {L"C:\\docs\\a.txt", L"C:\\docs\\a.lnk.txt", L"C:\\x.lnk\\file", L"", L"%"})
        EXPECT_EQ(ShortcutTarget(plain, m), plain);
    EXPECT_EQ(m.linkReads, reads);
}

TEST(ShortcutTarget, AdvertisedShortcutsTakeTheInstalledTarget) {
    FakeMachine m;
    const wchar_t* stub = L"C:\\Windows\\Installer\\{90120000-0030-0000-0000-0000000FF1CE}\\wordicon.exe";
    m.AddLink(L"C:\\r\\word.lnk", stub);
    m.advertised[L"c:\\r\\word.lnk"] = L"C:\\Office\\WINWORD.EXE";
    EXPECT_EQ(ShortcutTarget(L"C:\\r\\word.lnk", m), L"C:\\Office\\WINWORD.EXE");
    // An installer route that reads nothing leaves the shortcut itself.
    m.AddLink(L"C:\\r\\broken.lnk", stub);
    EXPECT_EQ(ShortcutTarget(L"C:\\r\\broken.lnk", m), L"C:\\r\\broken.lnk");
    // Without both braces it is an ordinary target inside the installer folder.
    m.AddLink(L"C:\\r\\plain.lnk", L"C:\\Windows\\Installer\\setup.exe");
    EXPECT_EQ(ShortcutTarget(L"C:\\r\\plain.lnk", m), L"C:\\Windows\\Installer\\setup.exe");
}

TEST(AssociatedProgram, TheOpenCommandOfTheProgIdNamesTheProgram) {
    FakeMachine m;
    m.Associate(L".txt", L"txtfile", std::wstring(kNotepad) + L" %1");
    m.Associate(L".log", L"logfile", L"\"%SystemRoot%\\system32\\notepad.exe\" \"%1\"");
    EXPECT_EQ(AssociationCommand(L".txt", m), std::wstring(kNotepad) + L" %1");
    EXPECT_EQ(AssociatedProgram(L"C:\\docs\\a.TXT", m), kNotepad);
    EXPECT_EQ(AssociatedProgram(L"C:\\docs\\server.log", m), L"C:\\Windows\\system32\\notepad.exe");
    EXPECT_EQ(AssociatedProgram(L"C:\\docs\\unknown.zzz", m), L"");
    EXPECT_EQ(AssociatedProgram(L"C:\\docs\\no extension", m), L"");
    // Programs and scripts open themselves.
    EXPECT_EQ(AssociatedProgram(L"%SystemRoot%\\calc.exe", m), L"C:\\Windows\\calc.exe");
    EXPECT_EQ(AssociatedProgram(L"C:\\setup.MSI", m), L"C:\\setup.MSI");
    EXPECT_EQ(AssociatedProgram(L"C:\\go.bat", m), L"C:\\go.bat");
}

TEST(AssociatedProgram, TheVerbRouteTakesTheExecutableOfTheDefaultVerb) {
    FakeMachine m;
    m.SetClass(L".jpg", L"jpegfile");
    m.SetClass(L"jpegfile\\shell", L"preview");
    m.SetClass(L"jpegfile\\shell\\preview\\command", L"rundll32 shimgvw.dll,ImageView_Fullscreen %1");
    EXPECT_EQ(AssociationCommand(L".jpg", m), L"rundll32.EXE");
    EXPECT_EQ(AssociatedProgram(L"C:\\p\\cat.jpg", m), L"rundll32.EXE");

    m.SetClass(L".rtf", L"rtffile");
    m.SetClass(L"rtffile\\shell", L"edit");
    m.SetClass(L"rtffile\\shell\\edit\\command", L"\"C:\\Program Files\\Writer\\write.exe\" /e \"%1\"");
    EXPECT_EQ(AssociatedProgram(L"C:\\d\\a.rtf", m), L"C:\\Program Files\\Writer\\write.exe");

    // Unquoted with blanks: the command up to ".exe" when that file exists, else the first word.
    m.SetClass(L".abc", L"abcfile");
    m.SetClass(L"abcfile\\shell", L"view");
    m.SetClass(L"abcfile\\shell\\view\\command", L"C:\\Program Files\\Abc\\abc.exe /view %1");
    EXPECT_EQ(AssociationCommand(L".abc", m), L"C:\\Program");
    m.AddFile(L"C:\\Program Files\\Abc\\abc.exe");
    EXPECT_EQ(AssociationCommand(L".abc", m), L"C:\\Program Files\\Abc\\abc.exe");

    // A command without arguments is its own program.
    m.SetClass(L".one", L"onefile");
    m.SetClass(L"onefile\\shell", L"play");
    m.SetClass(L"onefile\\shell\\play\\command", L"C:\\Tools\\player.exe");
    EXPECT_EQ(AssociatedProgram(L"C:\\m\\song.one", m), L"C:\\Tools\\player.exe");
}

TEST(AssociatedProgram, HostileRegistryCommandsGiveNoCrashAndNoInvention) {
    FakeMachine m;
    const std::pair<const wchar_t*, std::wstring> cases[] = {
        {L".q1", L"\"C:\\Tools\\open.exe"},  // unterminated quote
        {L".q2", L"%"},
        {L".q3", L""},
        {L".q4", L"%UNKNOWN%\\x.exe %1"},
        {L".q5", L"\"" + kHuge},
        {L".q6", kHuge + L".exe " + kHuge},
    };
    for (const auto& c : cases) {
        std::wstring progId = std::wstring(L"p") + (c.first + 1);
        m.SetClass(c.first, progId);
        m.SetClass(progId + L"\\shell", L"go");
        m.SetClass(progId + L"\\shell\\go\\command", c.second);
    }
    EXPECT_EQ(AssociationCommand(L".q1", m), L"C:\\Tools\\open.exe");
    EXPECT_EQ(AssociationCommand(L".q2", m), L"%");
    EXPECT_EQ(AssociatedProgram(L"C:\\a.q2", m), L"%");
    EXPECT_EQ(AssociationCommand(L".q3", m), L"");
    EXPECT_EQ(AssociatedProgram(L"C:\\a.q4", m), L"%UNKNOWN%\\x.exe");
    EXPECT_EQ(AssociationCommand(L".q5", m), kHuge);
    EXPECT_EQ(AssociationCommand(L".q6", m), kHuge + L".exe");
    // The open route hands the whole command on to the command-line rule.
    m.Associate(L".q7", L"q7file", L"\"C:\\Tools\\open.exe");
    EXPECT_EQ(AssociatedProgram(L"C:\\a.q7", m), L"C:\\Tools\\open.exe");
    m.Associate(L".q8", L"q8file", L"%");
    EXPECT_EQ(AssociatedProgram(L"C:\\a.q8", m), L"%");
}

TEST(AssociatedProgram, AThirtyTwoBitProcessSeesItsOwnProgramFolder) {
    FakeMachine m;
    m.PlayWow64();
    m.Associate(L".edt", L"edtfile", L"\"%ProgramFiles%\\Editor\\edit.exe\" \"%1\"");
    EXPECT_EQ(AssociatedProgram(L"C:\\d\\a.edt", m), L"C:\\Program Files (x86)\\Editor\\edit.exe");
    // A verb command into the 64-bit system folder is found past redirection.
    m.AddFile(L"C:\\Windows\\System32\\Viewer 64.exe");
    m.SetClass(L".v64", L"v64file");
    m.SetClass(L"v64file\\shell", L"show");
    m.SetClass(L"v64file\\shell\\show\\command", L"C:\\Windows\\System32\\Viewer 64.exe %1");
    EXPECT_EQ(AssociatedProgram(L"C:\\d\\a.v64", m), L"C:\\Windows\\System32\\Viewer 64.exe");
}

TEST(SkipTest, UnreadableHiddenSystemAndRecycledPathsAreSkipped) {
    FakeMachine m;
    m.AddFile(L"C:\\d\\ok.txt");
    m.AddFile(L"C:\\d\\hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    m.AddFile(L"C:\\d\\system.txt", FILE_ATTRIBUTE_SYSTEM);
    m.AddFile(L"C:\\$Recycle.Bin\\S-1-5\\a.txt");
    EXPECT_FALSE(IsSkippedDocument(L"C:\\d\\ok.txt", m));
    EXPECT_TRUE(IsSkippedDocument(L"C:\\d\\gone.txt", m));
    EXPECT_TRUE(IsSkippedDocument(L"C:\\d\\hidden.txt", m));
    EXPECT_TRUE(IsSkippedDocument(L"C:\\d\\system.txt", m));
    EXPECT_TRUE(IsSkippedDocument(L"C:\\$Recycle.Bin\\S-1-5\\a.txt", m));
}

TEST(RecentDocumentList, StaysSortedIgnoringCaseWithoutCaseDuplicates) {
    RecentDocumentList list;
    EXPECT_TRUE(list.Add(L"C:\\b.txt"));
    EXPECT_TRUE(list.Add(L"c:\\A.txt"));
    EXPECT_TRUE(list.Add(L"C:\\c.txt"));
    EXPECT_FALSE(list.Add(L"C:\\B.TXT"));
    EXPECT_EQ(list.entries(), (Strings{L"c:\\A.txt", L"C:\\b.txt", L"C:\\c.txt"}));
    EXPECT_FALSE(list.AddKeeping(L"  c:\\a.TXT "));
    EXPECT_TRUE(list.AddKeeping(L"C:\\d.txt"));
    EXPECT_EQ(list.entries().size(), 4u);
}

TEST(RecentScan, TheAgeLimitIsStrictAndTheMaximumTakesAll) {
    FakeMachine m;
    FakeRecent r;
    for (const wchar_t* doc : {L"C:\\d\\young.txt", L"C:\\d\\seven.txt", L"C:\\d\\old.txt"}) m.AddFile(doc);
    r.AddShortcut(m, kRecent, L"young.txt.lnk", L"C:\\d\\young.txt", 6.9);
    r.AddShortcut(m, kRecent, L"seven.txt.lnk", L"C:\\d\\seven.txt", 7.0);
    r.AddShortcut(m, kRecent, L"old.txt.lnk", L"C:\\d\\old.txt", 59.0);
    EXPECT_EQ(Scan(r, m, AgeLimit(7)), (Strings{L"C:\\d\\young.txt"}));
    EXPECT_EQ(Scan(r, m, AgeLimit(60)), (Strings{L"C:\\d\\old.txt", L"C:\\d\\seven.txt", L"C:\\d\\young.txt"}));
}

TEST(RecentScan, WithoutTheOptionTheLastTwoAndAHalfHoursAreStillTaken) {
    FakeMachine m;
    FakeRecent r;
    m.AddFile(L"C:\\d\\hour.txt");
    m.AddFile(L"C:\\d\\three.txt");
    r.AddShortcut(m, kRecent, L"hour.lnk", L"C:\\d\\hour.txt", 1.0 / 24);
    r.AddShortcut(m, kRecent, L"three.lnk", L"C:\\d\\three.txt", 3.0 / 24);
    EXPECT_EQ(Scan(r, m, NoAgeLimit()), (Strings{L"C:\\d\\hour.txt"}));
    // Even with the slider at its maximum: the option is off.
    RecentScanOptions off = NoAgeLimit();
    off.ageLimitDays = kRecentDaysTakeAll;
    EXPECT_EQ(Scan(r, m, off), (Strings{L"C:\\d\\hour.txt"}));
}

TEST(RecentScan, TheListingsOwnTimeIsUsedWhenItCarriesOne) {
    FakeMachine m;
    FakeRecent r;
    m.AddFile(L"C:\\d\\listed.txt");
    m.AddFile(L"C:\\d\\stale.txt");
    r.AddShortcut(m, kRecent, L"listed.lnk", L"C:\\d\\listed.txt", 30.0);
    r.AddShortcut(m, kRecent, L"stale.lnk", L"C:\\d\\stale.txt", 0.01);
    r.folders[ToLower(kRecent)][0].lastWriteDays = r.now - 1.0;
    r.folders[ToLower(kRecent)][1].lastWriteDays = r.now - 8.0;
    EXPECT_EQ(Scan(r, m, AgeLimit(7)), (Strings{L"C:\\d\\listed.txt"}));
}

TEST(RecentScan, AnEntryWhoseAgeCannotBeReadIsTakenOnlyWhenAllAre) {
    FakeMachine m;
    FakeRecent r;
    m.AddFile(L"C:\\d\\locked.txt");
    r.AddShortcut(m, kRecent, L"locked.lnk", L"C:\\d\\locked.txt", 0.01);
    r.written.clear();
    EXPECT_TRUE(Scan(r, m, AgeLimit(7)).empty());
    EXPECT_EQ(Scan(r, m, AgeLimit(60)), (Strings{L"C:\\d\\locked.txt"}));
}

TEST(RecentScan, WalksSubfoldersAndSkipsHiddenSystemFilesMissingTargetsAndRepeats) {
    FakeMachine m;
    FakeRecent r;
    m.AddFile(L"C:\\d\\a.txt");
    m.AddFolder(L"C:\\Projects");
    m.AddFile(L"C:\\d\\sub.txt");
    r.AddShortcut(m, kRecent, L"a.txt.lnk", L"C:\\d\\a.txt", 0.01);
    r.AddShortcut(m, kRecent, L"a (2).txt.lnk", L"c:\\D\\A.TXT", 0.01);
    r.AddShortcut(m, kRecent, L"gone.lnk", L"C:\\d\\deleted.txt", 0.01);
    r.AddShortcut(m, kRecent, L"Projects.lnk", L"C:\\Projects", 0.01);
    r.AddShortcut(m, kRecent, L"net.lnk", L"\\\\server\\share\\a.txt", 0.01);
    r.folders[ToLower(kRecent)].push_back({L"desktop.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
    m.AddFile(std::wstring(kRecent) + L"\\desktop.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    r.written[ToLower(std::wstring(kRecent) + L"\\desktop.ini")] = r.now;
    r.AddFolder(kRecent, L"Office");
    r.AddShortcut(m, std::wstring(kRecent) + L"\\Office", L"sub.lnk", L"C:\\d\\sub.txt", 0.01);
    EXPECT_EQ(Scan(r, m, AgeLimit(7)), (Strings{L"C:\\d\\a.txt", L"C:\\d\\sub.txt", L"C:\\Projects"}));
}

TEST(RecentScan, ARecentFolderOnANetworkShareIsWalkedToo) {
    FakeMachine m;
    FakeRecent r;
    const std::wstring share = L"\\\\srv\\home\\me\\Recent";
    m.AddFile(L"C:\\d\\a.txt");
    m.AddFile(L"C:\\d\\b.txt");
    r.AddShortcut(m, share, L"a.lnk", L"C:\\d\\a.txt", 0.01);
    r.AddFolder(share, L"Sub");
    r.AddShortcut(m, share + L"\\Sub", L"b.lnk", L"C:\\d\\b.txt", 0.01);
    RecentDocumentList list;
    ScanRecentDocuments(share, AgeLimit(7), list, r, m);
    EXPECT_EQ(list.entries(), (Strings{L"C:\\d\\a.txt", L"C:\\d\\b.txt"}));
}

TEST(RecentScan, TargetsHaveTheirFirstVariableExpanded) {
    FakeMachine m;
    FakeRecent r;
    m.AddFile(L"C:\\Windows\\notes.txt");
    r.AddShortcut(m, kRecent, L"notes.lnk", L"%SystemRoot%\\notes.txt", 0.01);
    r.AddShortcut(m, kRecent, L"percent.lnk", L"C:\\d\\100%.txt", 0.01);
    m.AddFile(L"C:\\d\\100%.txt");
    EXPECT_EQ(Scan(r, m, AgeLimit(7)), (Strings{L"C:\\d\\100%.txt", L"C:\\Windows\\notes.txt"}));
}

TEST(RecentScan, EachFolderIsReadUpToItsLimitAndLoopsEnd) {
    FakeMachine m;
    FakeRecent r;
    // 5003 listed entries with "." and "..": the last two are beyond the limit.
    for (int i = 0; i < 5001; ++i) {
        std::wstring doc = L"C:\\d\\" + std::to_wstring(100000 + i) + L".txt";
        m.AddFile(doc);
        r.AddShortcut(m, kRecent, std::to_wstring(100000 + i) + L".lnk", doc, 0.01);
    }
    EXPECT_EQ(Scan(r, m, AgeLimit(7)).size(), 4999u);

    // A folder that contains itself (a link loop) and a junction are no endless walk.
    FakeRecent loop;
    std::wstring deep = kRecent;
    for (int i = 0; i < 200; ++i) {
        loop.AddFolder(deep, L"again");
        deep += L"\\again";
    }
    m.AddFile(L"C:\\d\\deep.txt");
    loop.AddShortcut(m, deep, L"deep.lnk", L"C:\\d\\deep.txt", 0.01);
    loop.folders[ToLower(kRecent)].push_back({L"junction", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT});
    loop.AddShortcut(m, std::wstring(kRecent) + L"\\junction", L"j.lnk", L"C:\\d\\deep.txt", 0.01);
    EXPECT_TRUE(Scan(loop, m, AgeLimit(7)).empty());
}

TEST(RecentScan, SmartRecordKeepsTheListAndAddsNoCaseVariant) {
    FakeMachine m;
    FakeRecent r;
    m.AddFile(L"C:\\d\\a.txt");
    r.AddShortcut(m, kRecent, L"a.lnk", L"C:\\d\\a.txt", 0.01);
    RecentDocumentList list;
    list.Add(L"C:\\d\\earlier.txt");
    list.Add(L" c:\\D\\a.TXT ");
    RecentScanOptions smart = AgeLimit(7);
    smart.smartRecord = true;
    EXPECT_EQ(Scan(r, m, smart, list), (Strings{L" c:\\D\\a.TXT ", L"C:\\d\\earlier.txt"}));
    EXPECT_EQ(Scan(r, m, AgeLimit(7), list), (Strings{L"C:\\d\\a.txt"}));
}

TEST(RecentScan, SmartRecordReadsAShortcutAgainOnlyWhenItsFileChanged) {
    FakeMachine m;
    FakeRecent r;
    m.AddFile(L"C:\\d\\c.txt");
    for (const wchar_t* name : {L"a", L"b"}) {
        m.AddFile(L"C:\\d\\" + std::wstring(name) + L".txt");
        r.AddShortcut(m, kRecent, name + std::wstring(L".lnk"), L"C:\\d\\" + std::wstring(name) + L".txt", 0.01);
    }
    std::vector<ListedEntry>& listed = r.folders[L"c:\\users\\me\\recent"];
    for (ListedEntry& e : listed) e.size = 100;  // the listing's stamps
    ShortcutTargetMemo memo;
    RecentScanOptions smart = AgeLimit(7);
    smart.smartRecord = true;
    smart.shortcuts = &memo;
    RecentDocumentList list;
    Scan(r, m, smart, list);
    Scan(r, m, smart, list);
    EXPECT_EQ(m.linkReads, 2);  // the second scan read none
    // Rewritten to point elsewhere: only that shortcut is read again, and its new target taken.
    m.AddLink(std::wstring(kRecent) + L"\\b.lnk", L"C:\\d\\c.txt");
    listed[1].written.dwLowDateTime = 7;
    EXPECT_EQ(Scan(r, m, smart, list), (Strings{L"C:\\d\\a.txt", L"C:\\d\\b.txt", L"C:\\d\\c.txt"}));
    EXPECT_EQ(m.linkReads, 3);
    // A listing without stamps says nothing of a change: its shortcuts are always read.
    for (ListedEntry& e : listed) e = {e.name, e.attributes};
    Scan(r, m, smart, list);
    EXPECT_EQ(m.linkReads, 5);
}

TEST(RecentScan, AThirtyTwoBitProcessCollectsDocumentsInThe64BitSystemFolder) {
    FakeMachine m;
    m.PlayWow64();
    FakeRecent r;
    m.AddFile(L"C:\\Windows\\System32\\drivers\\etc\\hosts");
    r.AddShortcut(m, kRecent, L"hosts.lnk", L"C:\\Windows\\System32\\drivers\\etc\\hosts", 0.01);
    EXPECT_EQ(Scan(r, m, AgeLimit(7)), (Strings{L"C:\\Windows\\System32\\drivers\\etc\\hosts"}));
    EXPECT_FALSE(IsSkippedDocument(L"C:\\Windows\\System32\\drivers\\etc\\hosts", m));
}

TEST(DisplayNameOfPath, FileNamesLoseTheirExtensionAndDriveRootsKeepTheDrive) {
    auto exists = [](const std::wstring& p) { return p == L"C:\\" || p == L"C:\\Program Files\\"; };
    EXPECT_EQ(DisplayNameOfPath(L"C:\\docs\\report.final.doc", exists), L"report.final");
    EXPECT_EQ(DisplayNameOfPath(L"C:\\docs\\Makefile", exists), L"Makefile");
    EXPECT_EQ(DisplayNameOfPath(L"C:\\", exists), L"C:");
    EXPECT_EQ(DisplayNameOfPath(L"C:\\Program%20Files\\", exists), L"Program Files");
    EXPECT_EQ(DisplayNameOfPath(L"Q:\\", exists), L"Q:\\");
    EXPECT_EQ(DisplayNameOfPath(L"", exists), L"");
    EXPECT_EQ(DisplayNameOfPath(L"%", exists), L"%");
}

namespace {

// Remembers what the recording step hands on.
class Sink : public DocumentRecordSink {
public:
    RecordPathIndex index;
    FakeMachine* machine = nullptr;
    Strings programs;  // lower-cased programs recorded at the top level
    std::vector<std::pair<std::wstring, std::wstring>> added;
    Strings copied;
    int steps = 0;
    bool RecordPathFound(const std::wstring& path) override { return index.Found(path, *machine); }
    bool ProgramAlreadyRecorded(const std::wstring& program) override {
        for (const auto& p : programs)
            if (p == ToLower(program)) return true;
        return false;
    }
    void AddItem(const std::wstring& path, const std::wstring& title) override {
        added.push_back({path, title});
        index.Add(ToLower(path));
    }
    void StepGauge() override { ++steps; }
    std::wstring CopyIntoLinksFolder(const std::wstring& shortcut) override {
        copied.push_back(shortcut);
        return L"C:\\links\\" + FileNameOf(shortcut);
    }
};

}  // namespace

TEST(RecordRecentDocuments, FilesFoldersUnderTheirProgramsOrOnTheirOwn) {
    FakeMachine m;
    m.Associate(L".txt", L"txtfile", std::wstring(kNotepad) + L" %1");
    m.AddFile(L"C:\\d\\notes.txt");
    m.AddFile(L"C:\\d\\plan.xyz");
    m.AddFolder(L"C:\\Projects");
    m.AddFile(L"C:\\d\\hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    RecentDocumentList list;
    for (const wchar_t* p : {L"C:\\d\\notes.txt", L"C:\\d\\plan.xyz", L"C:\\Projects", L"C:\\d\\hidden.txt",
                             L"C:\\d\\vanished.txt"})
        list.Add(p);
    Sink sink;
    sink.machine = &m;
    sink.programs = {ToLower(kNotepad)};
    int ticks = 0;
    EXPECT_TRUE(RecordRecentDocuments(list, sink, m, [&] { ++ticks; }));
    EXPECT_EQ(sink.added, (std::vector<std::pair<std::wstring, std::wstring>>{
                              {L"C:\\d\\notes.txt", L"notes"},
                              {L"C:\\d\\plan.xyz", L"plan"},
                              {L"C:\\Projects\\", L"Projects"}}));
    EXPECT_EQ(sink.steps, 3);
    EXPECT_EQ(ticks, 5);
    // A second pass finds everything recorded, the folder with or without its backslash.
    sink.added.clear();
    EXPECT_FALSE(RecordRecentDocuments(list, sink, m));
    EXPECT_TRUE(sink.added.empty());
}

TEST(RecordRecentDocuments, ADocumentOfAnUnrecordedProgramGoesInAsItsCommandLinePath) {
    FakeMachine m;
    m.Associate(L".txt", L"txtfile", std::wstring(kNotepad) + L" %1");
    m.AddFile(L"C:\\d\\a.txt");
    RecentDocumentList list;
    list.Add(L"C:\\d\\a.txt");
    Sink sink;
    sink.machine = &m;
    EXPECT_TRUE(RecordRecentDocuments(list, sink, m));
    ASSERT_EQ(sink.added.size(), 1u);
    EXPECT_EQ(sink.added[0].first, L"C:\\d\\a.txt");
}

TEST(RecordRecentDocuments, AShortcutToAShortcutIsCopiedIntoTheLinksFolder) {
    FakeMachine m;
    m.AddLink(L"C:\\r\\outer.lnk", L"C:\\Desktop\\inner.lnk");
    m.AddFile(L"C:\\links\\inner.lnk");
    RecentDocumentList list;
    list.Add(L"C:\\r\\outer.lnk");
    Sink sink;
    sink.machine = &m;
    RecordRecentDocuments(list, sink, m);
    EXPECT_EQ(sink.copied, (Strings{L"C:\\Desktop\\inner.lnk"}));
    ASSERT_EQ(sink.added.size(), 1u);
    EXPECT_EQ(sink.added[0].first, L"C:\\links\\inner.lnk");
}

TEST(RecordPathIndex, MatchesUpToOneTrailingBackslashOnEitherSide) {
    FakeMachine m;
    m.AddLink(L"C:\\r\\a.lnk", L"C:\\Docs\\A.txt");
    RecordPathIndex index;
    index.Add(L"c:\\docs\\a.txt");
    index.Add(L"c:\\projects\\");
    index.Add(L"c:\\music");
    EXPECT_TRUE(index.Found(L" C:\\DOCS\\a.txt", m));
    EXPECT_TRUE(index.Found(L"C:\\r\\a.lnk", m));
    EXPECT_TRUE(index.Found(L"C:\\Projects", m));
    EXPECT_TRUE(index.Found(L"C:\\Projects\\", m));
    EXPECT_TRUE(index.Found(L"C:\\Music\\", m));
    EXPECT_FALSE(index.Found(L"C:\\Music\\\\", m));
    EXPECT_FALSE(index.Found(L"C:\\Docs", m));
    EXPECT_TRUE(index.Found(L"   ", m));
}

namespace {
int ItemWithPath(ShownRecord& r, const std::wstring& path) {
    TMyDoc d;
    d.path = path;
    return r.items.Append(d);
}
// A folder with a document, and a shortcut to a document elsewhere.
void AddWorkFolderAndLink(FakeMachine& m) {
    m.AddFolder(L"C:\\Work");
    m.AddFile(L"C:\\Work\\a.txt");
    m.AddLink(L"C:\\r\\b.lnk", L"C:\\Other\\b.txt");
}
}  // namespace

TEST(RecordPathIndex, CollectsEveryNodeAndFolderGroupsByTheirKey) {
    FakeMachine m;
    AddWorkFolderAndLink(m);
    ShownRecord r;
    auto item = [&r](const std::wstring& path) { return ItemWithPath(r, path); };
    RecordNode* group = r.docs.Add(nullptr, L"Work", item(L"C:\\Work"));
    r.docs.Add(group, L"a", item(L"C:\\Work\\a.txt"));
    RecordNode* lone = r.docs.Add(nullptr, L"Lone", item(L"C:\\Lone"));
    r.docs.Add(lone, L"b", item(L"C:\\r\\b.lnk"));
    r.docs.Add(nullptr, L"Empty folder", item(L"C:\\Empty"));
    RecordPathIndex index = CollectRecordPaths(r, m, [](const std::wstring& p) { return p + L"\\group"; });
    EXPECT_TRUE(index.Found(L"C:\\Work\\group", m));
    EXPECT_FALSE(index.Found(L"C:\\Work", m));  // the group key stands for the folder
    EXPECT_TRUE(index.Found(L"C:\\Work\\a.txt", m));
    EXPECT_TRUE(index.Found(L"C:\\Lone", m));     // no folder: its own path
    EXPECT_TRUE(index.Found(L"C:\\Other\\b.txt", m));
    EXPECT_TRUE(index.Found(L"C:\\Empty\\", m));
}

// The index a recording keeps while it adds answers as a fresh walk would after every change:
// new nodes at any depth, and a folder node that gains children and is then known by its group.
TEST(RecordPathIndex, TheGrowingIndexAnswersAsAFreshWalkAfterEveryAdd) {
    FakeMachine m;
    AddWorkFolderAndLink(m);
    ShownRecord r;
    auto item = [&r](const std::wstring& path) { return ItemWithPath(r, path); };
    auto groupKey = [](const std::wstring& p) { return p + L"\\group"; };
    const Strings asked = {L"C:\\Work", L"C:\\Work\\", L"C:\\Work\\group", L"C:\\Work\\a.txt", L"C:\\Other\\b.txt",
                           L"C:\\Lone", L"C:\\Lone\\c.txt", L"C:\\Nowhere"};
    GrowingRecordPathIndex growing;
    auto sameAsFresh = [&](const char* when) {
        SCOPED_TRACE(when);
        RecordPathIndex fresh = CollectRecordPaths(r, m, groupKey);
        const RecordPathIndex& kept = growing.Update(r, m, groupKey);
        for (const auto& path : asked) EXPECT_EQ(kept.Found(path, m), fresh.Found(path, m)) << ToAnsi(path);
    };
    sameAsFresh("empty");
    RecordNode* work = r.docs.Add(nullptr, L"Work", item(L"C:\\Work"));
    sameAsFresh("a folder without children");
    EXPECT_TRUE(growing.Update(r, m, groupKey).Found(L"C:\\Work", m));
    r.docs.Add(work, L"a", item(L"C:\\Work\\a.txt"));
    sameAsFresh("the folder gained a child");
    EXPECT_FALSE(growing.Update(r, m, groupKey).Found(L"C:\\Work", m));
    RecordNode* lone = r.docs.Add(nullptr, L"Lone", item(L"C:\\Lone"));
    r.docs.Add(lone, L"b", item(L"C:\\r\\b.lnk"));
    RecordNode* deeper = r.docs.Add(lone, L"c", item(L"C:\\Lone\\c.txt"));
    r.docs.Add(deeper, L"deep", item(L"C:\\Nowhere"));
    sameAsFresh("nodes at three depths");
    // Removed nodes are forgotten; a tree emptied and filled again is read anew.
    r.docs.Remove(deeper);
    sameAsFresh("a node with its child removed");
    EXPECT_FALSE(growing.Update(r, m, groupKey).Found(L"C:\\Lone\\c.txt", m));
    r.docs.AddSorted(nullptr, L"Again", item(L"C:\\Lone\\c.txt"));
    sameAsFresh("added again after a removal");
    r.docs.Clear();
    r.docs.Add(nullptr, L"Other", item(L"C:\\Other\\b.txt"));
    sameAsFresh("emptied and filled again");
    EXPECT_FALSE(growing.Update(r, m, groupKey).Found(L"C:\\Work\\a.txt", m));
    // Two adds between questions, a parent and then its first child.
    RecordNode* work2 = r.docs.Add(nullptr, L"Work", item(L"C:\\Work"));
    r.docs.Add(work2, L"a", item(L"C:\\Work\\a.txt"));
    sameAsFresh("a folder added with its child");
    EXPECT_FALSE(growing.Update(r, m, groupKey).Found(L"C:\\Work", m));
}

TEST(ProgramDocuments, DocumentsOpenedByTheProgramUntilTheProgramItself) {
    FakeMachine m;
    m.Associate(L".txt", L"txtfile", std::wstring(kNotepad) + L" %1");
    m.Associate(L".doc", L"docfile", L"C:\\Office\\winword.exe /n \"%1\"");
    m.AddLink(L"C:\\r\\c.lnk", L"C:\\d\\c.txt");
    RecentDocumentList list;
    for (const wchar_t* p : {L"C:\\d\\a.txt", L"C:\\d\\b.doc", L"C:\\r\\c.lnk"}) list.Add(p);
    EXPECT_EQ(ProgramDocuments(list, L"Notepad", L" c:\\windows\\system32\\notepad.exe", m),
              (Strings{L"C:\\d\\a.txt", L"C:\\d\\c.txt"}));
    EXPECT_EQ(ProgramDocuments(list, L"Word", L"C:\\Office\\WINWORD.EXE", m), (Strings{L"C:\\d\\b.doc"}));
    // The program among the documents ends the walk.
    list.Add(L"C:\\d\\0.exe");
    EXPECT_TRUE(ProgramDocuments(list, L"Zero", L"C:\\d\\0.exe", m).empty());
    EXPECT_TRUE(ProgramDocuments(list, L"Notepad", L"", m).empty());
}

TEST(ProgramDocuments, ThePhotoViewerTakesWhatItsRundllCommandOpens) {
    FakeMachine m;
    m.Associate(L".png", L"pngfile",
                L"%SystemRoot%\\System32\\rundll32.exe \"%ProgramFiles%\\Windows Photo Viewer\\PhotoViewer.dll\", "
                L"ImageView_Fullscreen %1");
    m.Associate(L".txt", L"txtfile", std::wstring(kNotepad) + L" %1");
    RecentDocumentList list;
    for (const wchar_t* p : {L"C:\\p\\cat.png", L"C:\\d\\a.txt"}) list.Add(p);
    EXPECT_EQ(ProgramDocuments(list, L"Windows Photo Viewer", L"Windows Photo Viewer", m),
              (Strings{L"C:\\p\\cat.png"}));
    EXPECT_EQ(ProgramDocuments(list, L" windows PHOTO viewer ", L"C:\\Windows\\System32\\rundll32.exe", m),
              (Strings{L"C:\\p\\cat.png"}));
}

TEST(ProgramDocuments, AThirtyTwoBitProcessMatchesItsProgramsByTheLowerCaseDrivePath) {
    FakeMachine m;
    m.PlayWow64();
    m.Associate(L".edt", L"edtfile", L"\"%ProgramFiles%\\Editor\\edit.exe\" \"%1\"");
    RecentDocumentList list;
    list.Add(L"C:\\d\\a.edt");
    // The process path of a 32-bit program comes through its device path with a lower-case drive.
    EXPECT_EQ(ProgramDocuments(list, L"Editor", L"c:\\Program Files (x86)\\Editor\\edit.exe", m),
              (Strings{L"C:\\d\\a.edt"}));
}

TEST(ProgramDocuments, TheIndexAnswersAsTheWalkWhileTheListChanges) {
    FakeMachine m;
    m.Associate(L".txt", L"txtfile", std::wstring(kNotepad) + L" %1");
    m.Associate(L".doc", L"docfile", L"C:\\Office\\winword.exe /n \"%1\"");
    m.Associate(L".png", L"pngfile", L"rundll32.exe \"C:\\Viewer\\PhotoViewer.dll\", ImageView_Fullscreen %1");
    m.AddLink(L"C:\\r\\c.lnk", L"C:\\d\\c.txt");
    RecentDocumentList list;
    for (const wchar_t* p : {L"C:\\d\\a.txt", L"C:\\d\\b.doc", L"C:\\r\\c.lnk", L"C:\\p\\cat.png", L"C:\\d\\plain"})
        list.Add(p);
    ProgramDocumentIndex index;
    DocumentOpener resolved;
    auto openerOf = [&](const std::wstring& entry) -> const DocumentOpener& {
        resolved = ResolveDocumentOpener(entry, m);
        return resolved;
    };
    const std::vector<std::pair<std::wstring, std::wstring>> programs = {
        {L"Notepad", L" c:\\windows\\system32\\notepad.exe"},
        {L"Word", L"C:\\Office\\WINWORD.EXE"},
        {L"Windows Photo Viewer", L"Windows Photo Viewer"},
        {L"photo viewer", L"C:\\x.exe"},
        {L"Plain", L""},
        {L"Zero", L"C:\\d\\0.exe"},
        {L"Self", L"C:\\d\\b.doc"}};
    auto sameAsWalk = [&](const char* when) {
        SCOPED_TRACE(when);
        for (const auto& [title, path] : programs)
            EXPECT_EQ(index.Documents(list, title, path, openerOf), ProgramDocuments(list, title, path, m))
                << ToAnsi(title);
    };
    sameAsWalk("first");
    EXPECT_EQ(index.Documents(list, L"Notepad", kNotepad, openerOf), (Strings{L"C:\\d\\a.txt", L"C:\\d\\c.txt"}));
    // Entries added after the index was made, before and after the program itself.
    list.Add(L"C:\\d\\0.exe");
    list.Add(L"C:\\d\\1.txt");
    list.Add(L"C:\\e\\z.txt");
    sameAsWalk("grown");
    EXPECT_EQ(index.Documents(list, L"Notepad", kNotepad, openerOf).size(), 4u);
    list.Clear();
    sameAsWalk("emptied");
    EXPECT_TRUE(index.Documents(list, L"Notepad", kNotepad, openerOf).empty());
}

TEST(AttachProgramDocuments, EachDocumentGetsAnItemAndANodeInBothTrees) {
    FakeMachine m;
    m.AddFile(L"C:\\d\\a.txt");
    ShownRecord r;
    TMyDoc program;
    program.path = kNotepad;
    program.groupKey = L"notepad-group";
    int p = r.items.Append(program);
    RecordNode* docsNode = r.docs.Add(nullptr, L"Notepad", p);
    RecordNode* appNode = r.apps.Add(nullptr, L"Notepad", p);
    auto icon = [](const std::wstring& path) { return path == kNotepad ? 7 : 9; };
    AttachProgramDocuments(r, docsNode, appNode, {L"C:\\d\\a.txt", L"C:\\d\\gone.txt"}, kNotepad, m, icon);
    ASSERT_EQ(docsNode->children.size(), 2u);
    ASSERT_EQ(appNode->children.size(), 2u);
    EXPECT_EQ(docsNode->children[0]->caption, L"a.txt");
    EXPECT_EQ(docsNode->children[0]->imageIndex, 9);
    EXPECT_EQ(docsNode->children[1]->selectedImageIndex, 7);  // missing document: the program's icon
    EXPECT_EQ(appNode->children[1]->data.itemIndex, docsNode->children[1]->data.itemIndex);
    const TMyDoc& item = r.items.At(docsNode->children[0]->data.itemIndex);
    EXPECT_EQ(item.path, L"C:\\d\\a.txt");
    EXPECT_EQ(item.title, L"a.txt");
    EXPECT_EQ(item.kind, kProgramOrDocument);
    EXPECT_TRUE(item.expanded);
    EXPECT_EQ(item.groupKey, L"notepad-group");
    EXPECT_TRUE(r.NodesPointToItems());
}
