#include "records/record_library.h"

#include <gtest/gtest.h>

#include <iterator>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "records/record_file.h"
#include "records/record_tree.h"
#include "support/test_support.h"

using namespace tv;
using tvtest::ReadAll;
using tvtest::TempFolder;
using tvtest::WriteAll;

namespace {

using Names = std::vector<std::wstring>;

SYSTEMTIME Date(int year, int month, int day) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    return t;
}

void Touch(const std::wstring& path, const std::string& bytes = "") { ASSERT_TRUE(WriteAll(path, bytes)) << ToUtf8(path); }

// The file names of a folder in the order the system lists them, folders left out.
Names ListingOrder(const std::wstring& folder) {
    Names out;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return out;
}

// A record's three files with distinct contents, so a test can tell which went where.
void WriteRecordFiles(const std::wstring& recordPath, const std::string& tag, bool withIcons = true) {
    Touch(recordPath, "record " + tag);
    Touch(SelectionFilePath(recordPath), "selection " + tag);
    if (withIcons) Touch(IconFilePath(recordPath), "icons " + tag);
}

// Where Wine's shell puts recycled files: the freedesktop trash of the Unix user, as a DOS path.
// Empty when not running under Wine.
std::wstring WineTrashFiles() {
    wchar_t buf[4096] = {};
    using ToDos = WCHAR*(CDECL*)(LPCSTR);
    auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    char data[4096] = {};
    if (toDos && GetEnvironmentVariableA("XDG_DATA_HOME", data, sizeof(data)) > 0) {
        WCHAR* dos = toDos((std::string(data) + "/Trash/files").c_str());
        if (!dos) return L"";
        std::wstring result = dos;
        HeapFree(GetProcessHeap(), 0, dos);
        return result;
    }
    // Wine hands its processes the Unix home (HOME itself is not passed on) as "\??\Z:\...".
    DWORD n = GetEnvironmentVariableW(L"WINEHOMEDIR", buf, 4096);
    if (n == 0 || n >= 4096) return L"";
    std::wstring home = buf;
    if (home.compare(0, 4, L"\\??\\") == 0) home.erase(0, 4);
    return home + L"\\.local\\share\\Trash\\files";
}

// A name no earlier run has left in the trash.
std::wstring UniqueName(const std::wstring& stem, const std::wstring& extension) {
    return stem + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) + extension;
}

// Takes a recycled file out of Wine's trash again, with its description.
void EmptyFromTrash(const std::wstring& trashFiles, const std::wstring& name) {
    DeleteFileW((trashFiles + L"\\" + name).c_str());
    DeleteFileW((FolderOf(trashFiles) + L"\\info\\" + name + L".trashinfo").c_str());
}

}  // namespace

TEST(RecordSortKey, DatedNamesSortByYearMonthDayAndSequence) {
    EXPECT_EQ(RecordSortKey(L"Dec 08,2026_003.tolvane"), L"20261208003");
    EXPECT_EQ(RecordSortKey(L"C:\\Records\\Dec 08,2026_003.tolvane"), L"20261208003");
    EXPECT_EQ(RecordSortKey(L"\\\\server\\share\\Jan 15,2027_001.tolvane"), L"20270115001");
    // The month is matched without regard to case, the extension is dropped by length only.
    EXPECT_EQ(RecordSortKey(L"DEC 31,1999_999.TOLVANE"), L"19991231999");
    const std::pair<const wchar_t*, const wchar_t*> months[] = {
        {L"Jan", L"01"}, {L"Feb", L"02"}, {L"Mar", L"03"}, {L"Apr", L"04"}, {L"May", L"05"}, {L"Jun", L"06"},
        {L"Jul", L"07"}, {L"Aug", L"08"}, {L"Sep", L"09"}, {L"Oct", L"10"}, {L"Nov", L"11"}, {L"Dec", L"12"}};
    for (const auto& m : months)
        EXPECT_EQ(RecordSortKey(std::wstring(m.first) + L" 02,2030_004.tolvane"), std::wstring(L"2030") + m.second + L"02004")
            << ToUtf8(m.first);
}

TEST(RecordSortKey, FourDigitNumbersFollowEveryThreeDigitOneOfTheirDay) {
    const wchar_t* inOrder[] = {L"Dec 08,2026_001", L"Dec 08,2026_100", L"Dec 08,2026_999", L"Dec 08,2026_1000",
                                L"Dec 08,2026_1001", L"Dec 08,2026_9999", L"Dec 08,2026_10000", L"Dec 09,2026_001"};
    for (size_t i = 1; i < std::size(inOrder); ++i)
        EXPECT_LT(RecordSortKey(std::wstring(inOrder[i - 1]) + L".tolvane"), RecordSortKey(std::wstring(inOrder[i]) + L".tolvane"))
            << ToUtf8(inOrder[i - 1]) << " before " << ToUtf8(inOrder[i]);
    // Text after three digits keeps the three-digit key.
    EXPECT_EQ(RecordSortKey(L"Dec 08,2026_003 work.tolvane"), L"20261208003");
}

TEST(RecordSortKey, OtherNamesGiveTheTextAtThosePlaces) {
    // n = "Windows Start": m "win", d "ow", y " Sta", s "t"; the blank puts it before dated records.
    EXPECT_EQ(RecordSortKey(L"Windows Start.tolvane"), L" Stawinowt");
    EXPECT_EQ(RecordSortKey(L"a.tolvane"), L"a");
    EXPECT_EQ(RecordSortKey(L"Work.tolvane"), L"wor");      // only m exists
    EXPECT_EQ(RecordSortKey(L"Notes12.tolvane"), L"nots1");  // m "not", d "s1", no year yet
    EXPECT_EQ(RecordSortKey(L"Notes 2026.tolvane"), L"026nots ");
}

TEST(RecordSortKey, ShortAndEmptyNamesDoNotBreakIt) {
    EXPECT_EQ(RecordSortKey(L""), L"");
    EXPECT_EQ(RecordSortKey(L".tolvane"), L"");
    EXPECT_EQ(RecordSortKey(L"abc"), L"");
    EXPECT_EQ(RecordSortKey(L"C:\\folder\\"), L"");
    EXPECT_EQ(RecordSortKey(std::wstring(5000, L'x') + L".tolvane").size(), 3u + 2u + 4u + 3u);
}

TEST(RecordLibraryPaths, JoinPathPutsExactlyOneBackslashBetween) {
    EXPECT_EQ(JoinPath(L"C:\\x", L"a.tolvane"), L"C:\\x\\a.tolvane");
    EXPECT_EQ(JoinPath(L"C:\\x\\", L"a.tolvane"), L"C:\\x\\a.tolvane");
    EXPECT_EQ(JoinPath(L"C:\\x\\\\", L"a.tolvane"), L"C:\\x\\a.tolvane");
    EXPECT_EQ(JoinPath(L"C:\\x", L"\\a.tolvane"), L"C:\\x\\a.tolvane");
    EXPECT_EQ(JoinPath(L"\\\\server\\share\\", L"a.tolvane"), L"\\\\server\\share\\a.tolvane");
    EXPECT_EQ(JoinPath(L"\\\\server\\share", L"a.tolvane"), L"\\\\server\\share\\a.tolvane");
    EXPECT_EQ(JoinPath(L"C:\\x", L""), L"C:\\x\\");
    EXPECT_EQ(JoinPath(L"", L"a.tolvane"), L"a.tolvane");
}

TEST(RecordLibraryPaths, RenameTargetAddsTheExtensionOnlyWhenTheNameLacksIt) {
    EXPECT_EQ(RenameTarget(L"C:\\r", L"Work.tolvane", L".tolvane"), L"C:\\r\\Work.tolvane");
    EXPECT_EQ(RenameTarget(L"C:\\r\\", L"Work", L".tolvane"), L"C:\\r\\Work.tolvane");
    EXPECT_EQ(RenameTarget(L"C:\\r\\", L"Notes.old", L".tolvane"), L"C:\\r\\Notes.old.tolvane");
    EXPECT_EQ(RenameTarget(L"C:\\r", L"WORK.TOLVANE", L".tolvane"), L"C:\\r\\WORK.TOLVANE");
    EXPECT_EQ(RenameTarget(L"C:\\r", L"Work.tolvane.txt", L".tolvane"), L"C:\\r\\Work.tolvane.txt.tolvane");
    EXPECT_EQ(RenameTarget(L"\\\\srv\\share\\", L"Work", L".tolvane"), L"\\\\srv\\share\\Work.tolvane");
}

TEST(NewRecordName, TakesTheFirstFreeSequenceOfTheDay) {
    std::set<std::wstring> taken;
    std::vector<std::wstring> asked;
    auto exists = [&](const std::wstring& p) {
        asked.push_back(p);
        return taken.count(p) > 0;
    };
    const SYSTEMTIME day = Date(2026, 12, 8);
    EXPECT_EQ(NewRecordName(L"C:\\r\\", day, exists), L"C:\\r\\Dec 08,2026_001.tolvane");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], L"C:\\r\\Dec 08,2026_001.tolvane");

    taken = {L"C:\\r\\Dec 08,2026_001.tolvane", L"C:\\r\\Dec 08,2026_002.tolvane"};
    EXPECT_EQ(NewRecordName(L"C:\\r", day, exists), L"C:\\r\\Dec 08,2026_003.tolvane");
    // A gap is filled before later numbers.
    taken = {L"C:\\r\\Dec 08,2026_001.tolvane", L"C:\\r\\Dec 08,2026_003.tolvane"};
    EXPECT_EQ(NewRecordName(L"C:\\r", day, exists), L"C:\\r\\Dec 08,2026_002.tolvane");

    EXPECT_EQ(NewRecordName(L"\\\\srv\\share\\rec", Date(2027, 1, 5), [](const std::wstring&) { return false; }),
              L"\\\\srv\\share\\rec\\Jan 05,2027_001.tolvane");
}

TEST(NewRecordName, NeverATakenNameTheNumberGrowsADigitAndNoFolderGivesNothing) {
    int calls = 0;
    std::wstring last;
    // _001 to _1000 taken: the next is _1001, never _001 again.
    auto thousandTaken = [&](const std::wstring& p) {
        ++calls;
        last = p;
        return calls <= 1000;
    };
    EXPECT_EQ(NewRecordName(L"C:\\r", Date(2026, 5, 31), thousandTaken), L"C:\\r\\May 31,2026_1001.tolvane");
    EXPECT_EQ(calls, 1001);
    // Every name taken: no name at all, rather than one that replaces a record.
    auto allTaken = [&](const std::wstring& p) {
        ++calls;
        last = p;
        return true;
    };
    EXPECT_EQ(NewRecordName(L"C:\\r", Date(2026, 5, 31), allTaken), L"");

    calls = 0;
    EXPECT_EQ(NewRecordName(L"", Date(2026, 5, 31), allTaken), L"");
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(NewRecordName(L""), L"");
}

TEST(NewRecordName, RealFolderIsCreatedAndItsFilesCount) {
    TempFolder tmp;
    const std::wstring folder = tmp.path() + L"\\deep\\er\\records";
    SYSTEMTIME before;
    GetLocalTime(&before);
    const std::wstring first = NewRecordName(folder);
    SYSTEMTIME after;
    GetLocalTime(&after);
    EXPECT_TRUE(DirectoryExists(folder));
    // Today's name, whichever side of midnight the call fell on.
    const std::wstring freeBefore = NewRecordName(folder, before, [](const std::wstring&) { return false; });
    const std::wstring freeAfter = NewRecordName(folder, after, [](const std::wstring&) { return false; });
    EXPECT_TRUE(first == freeBefore || first == freeAfter) << ToUtf8(first);

    Touch(first);
    const std::wstring second = NewRecordName(folder);
    EXPECT_NE(second, first);
    EXPECT_EQ(FolderOf(second), folder);
    EXPECT_EQ(second.substr(second.size() - 12), L"_002.tolvane");

    // Below a file no folder can be made.
    Touch(tmp.file(L"plain.txt"));
    EXPECT_EQ(NewRecordName(tmp.file(L"plain.txt") + L"\\records"), L"");
}

TEST(ListRecordNames, DatedRecordsInDateOrderAfterOtherNames) {
    TempFolder dir;
    for (const wchar_t* n : {L"Jan 15,2027_001", L"Dec 08,2026_010", L"Dec 08,2026_002", L"Windows Start"})
        Touch(dir.file(std::wstring(n) + L".tolvane"));
    const Names expected = {L"Windows Start", L"Dec 08,2026_002", L"Dec 08,2026_010", L"Jan 15,2027_001"};
    EXPECT_EQ(ListRecordNames(dir.path()), expected);
    // However the folder is written.
    EXPECT_EQ(ListRecordNames(dir.path() + L"\\"), expected);
    EXPECT_EQ(ListRecordNames(dir.path() + L"\\\\"), expected);
}

TEST(ListRecordNames, OnlyRecordFilesAreListed) {
    TempFolder dir;
    for (const wchar_t* n : {L"notes.txt", L"a.tolvane.bak", L"a.dat", L"a.tolvanetreesel", L"tolvane", L"a.tolvane",
                             L"UPPER.TOLVANE", L"two.dots.tolvane"})
        Touch(dir.file(n));
    ASSERT_TRUE(CreateDirectoryW(dir.file(L"x.tolvane").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(dir.file(L"sub").c_str(), nullptr));
    Touch(dir.file(L"sub\\inner.tolvane"));
    Names names = ListRecordNames(dir.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Names{L"UPPER", L"a", L"two.dots"}));
}

// A listing handed out entry by entry, counting how many entries were asked for.
struct FakeListing {
    std::vector<FolderEntry> entries;
    size_t asked = 0;
    NextFolderEntry next() {
        return [this](FolderEntry& e) {
            if (asked >= entries.size()) return false;
            e = entries[asked++];
            return true;
        };
    }
    void AddFiles(const Names& names) {
        for (const auto& n : names) entries.push_back({n + L".tolvane", false});
    }
};

TEST(ListRecordNames, EqualKeysKeepTheListingOrder) {
    // Characters 4, 7, 12 and from 16 on do not enter the key, so these five share one.
    const Names same = {L"Feb 01,2026_001", L"Feb-01,2026_001", L"Feb 01-2026_001", L"Feb 01,2026-001",
                        L"Feb 01,2026_001 copy"};
    FakeListing listing;
    listing.AddFiles(same);
    listing.AddFiles({L"Jan 31,2026_009"});
    Names expected = {L"Jan 31,2026_009"};
    expected.insert(expected.end(), same.begin(), same.end());
    EXPECT_EQ(ListRecordNames(L"C:\\r", listing.next()), expected);

    FakeListing reversed;
    reversed.AddFiles(Names(same.rbegin(), same.rend()));
    EXPECT_EQ(ListRecordNames(L"C:\\r", reversed.next()), Names(same.rbegin(), same.rend()));
}

TEST(ListRecordNames, ExaminesAtMost5000EntriesCountingDotsAndFolders) {
    FakeListing listing;
    listing.entries = {{L".", true}, {L"..", true}, {L"x.tolvane", true}};
    for (int i = 0; i < kMaxListedEntries + 10; ++i)
        listing.entries.push_back({Format(L"Mar 03,2026_%04d.tolvane", i), false});
    const Names names = ListRecordNames(L"C:\\r", listing.next());
    EXPECT_EQ(listing.asked, static_cast<size_t>(kMaxListedEntries));
    ASSERT_EQ(names.size(), static_cast<size_t>(kMaxListedEntries - 3));
    EXPECT_EQ(names.front(), L"Mar 03,2026_0000");
    EXPECT_EQ(names.back(), Format(L"Mar 03,2026_%04d", kMaxListedEntries - 4));

    // A short listing is read to its end, once.
    FakeListing few;
    few.entries = {{L".", true}, {L"a.tolvane", false}};
    EXPECT_EQ(ListRecordNames(L"C:\\r", few.next()), Names{L"a"});
    EXPECT_EQ(few.asked, 2u);
}

TEST(ListRecordNames, MissingOrEmptyFolderListsNothing) {
    TempFolder dir;
    EXPECT_TRUE(ListRecordNames(dir.path()).empty());
    EXPECT_TRUE(ListRecordNames(dir.path() + L"\\missing").empty());
    EXPECT_TRUE(ListRecordNames(L"").empty());
    EXPECT_TRUE(ListRecordNames(L"C:\\" + std::wstring(400, L'x')).empty());
}

TEST(MoveRecordFiles, MovesAllThreeFilesReplacingTheTargets) {
    TempFolder dir;
    const std::wstring source = dir.file(L"Old.tolvane"), target = dir.file(L"New.tolvane");
    WriteRecordFiles(source, "old");
    WriteRecordFiles(target, "new");
    ASSERT_TRUE(MoveRecordFiles(source, target));
    EXPECT_EQ(ReadAll(target), "record old");
    EXPECT_EQ(ReadAll(dir.file(L"New.tolvanetreesel")), "selection old");
    EXPECT_EQ(ReadAll(dir.file(L"New.dat")), "icons old");
    for (const wchar_t* gone : {L"Old.tolvane", L"Old.tolvanetreesel", L"Old.dat"}) EXPECT_FALSE(FileExists(dir.file(gone)));
    EXPECT_EQ(ListRecordNames(dir.path()), Names{L"New"});
}

TEST(MoveRecordFiles, AMissingCompanionIsSkipped) {
    TempFolder dir;
    const std::wstring source = dir.file(L"a.tolvane"), target = dir.file(L"Notes.old.tolvane");
    WriteRecordFiles(source, "a", /*withIcons=*/false);
    ASSERT_TRUE(MoveRecordFiles(source, target));
    EXPECT_EQ(ReadAll(target), "record a");
    EXPECT_EQ(ReadAll(dir.file(L"Notes.old.tolvanetreesel")), "selection a");
    EXPECT_FALSE(FileExists(dir.file(L"Notes.old.dat")));
    EXPECT_FALSE(FileExists(source));

    // Replacing a record that had icons: its icon file does not stay behind with the new record.
    WriteRecordFiles(source, "b", /*withIcons=*/false);
    WriteRecordFiles(dir.file(L"Work.tolvane"), "work");
    ASSERT_TRUE(MoveRecordFiles(source, dir.file(L"Work.tolvane")));
    EXPECT_EQ(ReadAll(dir.file(L"Work.tolvanetreesel")), "selection b");
    EXPECT_FALSE(FileExists(dir.file(L"Work.dat")));
}

TEST(MoveRecordFiles, SamePathDoesNothingAndFailuresStopWhereTheyHappen) {
    TempFolder dir;
    const std::wstring source = dir.file(L"Work.tolvane");
    WriteRecordFiles(source, "w");
    EXPECT_TRUE(MoveRecordFiles(source, dir.file(L"WORK.TOLVANE")));
    EXPECT_EQ(ListingOrder(dir.path()).size(), 3u);
    EXPECT_EQ(ReadAll(source), "record w");

    EXPECT_FALSE(MoveRecordFiles(dir.file(L"missing.tolvane"), dir.file(L"other.tolvane")));
    EXPECT_FALSE(FileExists(dir.file(L"other.tolvane")));

    // A folder in the way of the selection file: the record file has moved, the rest stays.
    ASSERT_TRUE(CreateDirectoryW(dir.file(L"Blocked.tolvanetreesel").c_str(), nullptr));
    EXPECT_FALSE(MoveRecordFiles(source, dir.file(L"Blocked.tolvane")));
    EXPECT_EQ(ReadAll(dir.file(L"Blocked.tolvane")), "record w");
    EXPECT_EQ(ReadAll(dir.file(L"Work.tolvanetreesel")), "selection w");
    EXPECT_EQ(ReadAll(dir.file(L"Work.dat")), "icons w");
}

TEST(RecycleFile, TheFileLeavesItsFolderForTheTrash) {
    TempFolder dir;
    const std::wstring name = UniqueName(L"recycled", L".tolvane");
    Touch(dir.file(name), "to the bin");
    ASSERT_TRUE(RecycleFile(dir.file(name)));
    EXPECT_FALSE(FileExists(dir.file(name)));

    const std::wstring trash = WineTrashFiles();
    if (!trash.empty()) {
        // Wine keeps recycled files in the Unix user's trash, beside a description of where they were.
        EXPECT_EQ(ReadAll(trash + L"\\" + name), "to the bin") << ToUtf8(trash);
        const std::string info = ReadAll(FolderOf(trash) + L"\\info\\" + name + L".trashinfo");
        EXPECT_NE(info.find("Path="), std::string::npos);
        EmptyFromTrash(trash, name);
    }

    EXPECT_FALSE(RecycleFile(dir.file(L"never-there.tolvane")));
    EXPECT_FALSE(RecycleFile(L""));
}

TEST(RecycleFile, RecordFilesGoTogetherAndMissingOnesAreSkipped) {
    TempFolder dir;
    const std::wstring stem = UniqueName(L"rec", L"");
    const std::wstring record = dir.file(stem + L".tolvane");
    WriteRecordFiles(record, "r", /*withIcons=*/false);
    Touch(dir.file(L"keep.tolvane"));
    ASSERT_TRUE(RecycleRecordFiles(record));
    EXPECT_EQ(ListingOrder(dir.path()), Names{L"keep.tolvane"});
    const std::wstring trash = WineTrashFiles();
    if (!trash.empty()) {
        EXPECT_TRUE(FileExists(trash + L"\\" + stem + L".tolvanetreesel"));
        EmptyFromTrash(trash, stem + L".tolvane");
        EmptyFromTrash(trash, stem + L".tolvanetreesel");
    }
    EXPECT_TRUE(RecycleRecordFiles(dir.file(L"gone-already.tolvane")));
}

// Records on a network folder: the test run maps \\tolvanetest\share to a folder of the build.
class NetworkRecordFolder : public ::testing::Test {
protected:
    const std::wstring share = L"\\\\tolvanetest\\share";
    std::wstring folder;
    void SetUp() override {
        if (!DirectoryExists(share))
            GTEST_SKIP() << "no test share \\\\tolvanetest\\share (scripts/test.sh maps it into the Wine prefix)";
        folder = JoinPath(share, UniqueName(L"records", L""));
    }
    void TearDown() override {
        if (!folder.empty()) tvtest::RemoveTree(folder);
    }
};

TEST_F(NetworkRecordFolder, NewNamesListingAndMovesWork) {
    const std::wstring first = NewRecordName(folder + L"\\");
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(DirectoryExists(folder));
    EXPECT_EQ(first.compare(0, folder.size() + 1, folder + L"\\"), 0) << ToUtf8(first);
    EXPECT_EQ(first.substr(first.size() - 12), L"_001.tolvane");
    WriteRecordFiles(first, "first");
    const std::wstring second = NewRecordName(folder);
    EXPECT_EQ(second.substr(second.size() - 12), L"_002.tolvane");
    Touch(JoinPath(folder, L"Windows Start.tolvane"));
    Touch(JoinPath(folder, L"readme.txt"));

    const std::wstring firstName = FileNameOf(first).substr(0, FileNameOf(first).size() - 8);
    EXPECT_EQ(ListRecordNames(folder), (Names{L"Windows Start", firstName}));

    const std::wstring moved = RenameTarget(folder + L"\\", L"Moved", L".tolvane");
    ASSERT_TRUE(MoveRecordFiles(first, moved));
    EXPECT_EQ(ReadAll(moved), "record first");
    EXPECT_EQ(ReadAll(JoinPath(folder, L"Moved.tolvanetreesel")), "selection first");
    EXPECT_EQ(ReadAll(JoinPath(folder, L"Moved.dat")), "icons first");
    EXPECT_FALSE(FileExists(first));
    EXPECT_EQ(ListRecordNames(folder + L"\\\\"), (Names{L"Windows Start", L"Moved"}));
}
