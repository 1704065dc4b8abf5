// The shown record without a main window: what it asks of the trees and the record list while
// it adds, saves, duplicates and loads.
#include "app/record_session.h"

#include <gtest/gtest.h>

#include "app/options.h"
#include "app/settings_store.h"
#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "records/record_library.h"
#include "records/record_file.h"
#include "support/fake_options_host.h"
#include "support/record_entries.h"
#include "support/test_support.h"

using namespace tv;

namespace {

struct FakeDisplay : RecordDisplay {
    std::vector<std::pair<int, std::wstring>> inserted;  // page, caption
    std::vector<std::wstring> selected;
    int cleared = 0, shown = 0, webTabs = 0, firstPage = 0;
    void ClearTrees() override { ++cleared; }
    void ShowRecord(const ShownRecord&) override { ++shown; }
    void InsertNode(int page, const RecordNode& node) override { inserted.push_back({page, node.caption}); }
    void SetStrip(HIMAGELIST) override {}
    void ShowWebPageTab() override { ++webTabs; }
    void ShowFirstPage() override { ++firstPage; }
    void SelectPath(const std::wstring& path) override { selected.push_back(path); }
    HWND AllTree() override { return nullptr; }
    std::function<void()> onShowSelected;
    int showSelected = 0;
    void ShowSelectedRecord() override {
        ++showSelected;
        if (onShowSelected) onShowSelected();
    }
    void RestoreSmartRecordBox() override {}
};

// The record list over the folder's files, in the program's order.
struct FakeList : RecordListView {
    std::vector<std::wstring> names;
    int selected = -1;
    bool Read(const std::wstring& folder, const std::wstring& current) override {
        names = ListRecordNames(folder);
        selected = -1;
        for (size_t i = 0; i < names.size(); ++i)
            if (EqualsNoCase(names[i] + kRecordExtension, FileNameOf(current))) selected = static_cast<int>(i);
        return !names.empty();
    }
    int Count() const override { return static_cast<int>(names.size()); }
    std::wstring Name(int i) const override { return names.at(static_cast<size_t>(i)); }
    int SelectedIndex() const override { return selected; }
    int SelectCurrent(const std::wstring& path) override {
        Read(FolderOf(path), path);
        return selected;
    }
};


struct SessionFixture : ::testing::Test {
    tvtest::ScopedDataFolders data;
    tvtest::TempFolder records, files;
    SettingsStore user{files.file(L"defualt.ini")}, common{files.file(L"common.ini")};
    tvtest::FakeOptionsHost host;
    Options options{user, common, host};
    FakeDisplay display;
    FakeList list;
    RecordSession session{options, display, list};
    SessionFixture() { options.values.recordPath = records.path(); }
};

}  // namespace

TEST_F(SessionFixture, AddedItemsGoToAllAndTheirKindsPageAndAreFoundAgainIgnoringCase) {
    // Files of a type nothing opens are entries of their own.
    const std::wstring a = files.file(L"a.tvx"), b = files.file(L"b.tvx");
    ASSERT_TRUE(WriteTextLines(a, {L"a"}) && WriteTextLines(b, {L"b"}));
    session.AddItem(b, L"");
    session.AddItem(L"http://example.org/page", L"Example");
    session.AddItem(a, L"Alpha");
    EXPECT_EQ(display.inserted, (std::vector<std::pair<int, std::wstring>>{
                                    {0, L"b.tvx"}, {1, L"b.tvx"}, {0, L"example.org"}, {3, L"example.org"},
                                    {0, L"Alpha"}, {1, L"Alpha"}}));
    EXPECT_EQ(display.webTabs, 1);
    EXPECT_EQ(session.lastAdded(), a);
    EXPECT_TRUE(session.Contains(L"  " + ToUpper(b) + L" "));
    EXPECT_TRUE(session.Contains(L"http://EXAMPLE.org/page"));  // below its host
    EXPECT_FALSE(session.Contains(files.path()));
    EXPECT_TRUE(session.record().NodesPointToItems());
    // The "All" tree keeps caption order whatever order the items came in.
    std::vector<std::wstring> order;
    for (const auto& node : session.record().docs.top()) order.push_back(node->caption);
    EXPECT_EQ(order, (std::vector<std::wstring>{L"Alpha", L"b.tvx", L"example.org"}));
}

TEST_F(SessionFixture, SavesGoToANewRecordOnceThenIntoTheShownOneAndLoadReadsThemBack) {
    session.AddItem(L"C:\\Docs\\a.txt", L"");
    session.SetNewRecordFlag(true);
    session.SaveCurrentRecord();
    ASSERT_EQ(list.Count(), 1);
    std::wstring first = session.currentRecordPath();
    EXPECT_TRUE(FileExists(first));
    EXPECT_FALSE(session.newRecordFlag());  // spent by the save it was set for
    EXPECT_EQ(list.SelectedIndex(), 0);

    session.AddItem(L"C:\\Docs\\b.txt", L"");
    session.SaveCurrentRecord();
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(session.currentRecordPath(), first);

    // A duplicate is a second record with the same items, shown from then on.
    int index = session.Duplicate();
    EXPECT_EQ(list.Count(), 2);
    EXPECT_GE(index, 0);
    EXPECT_NE(session.currentRecordPath(), first);
    EXPECT_EQ(display.selected.back(), L"C:\\Docs\\b.txt");

    display.cleared = display.shown = 0;
    list.selected = 0;
    EXPECT_EQ(session.Load(0), ReadOutcome::Complete);
    EXPECT_EQ(display.cleared, 1);  // the trees first: they point into the model
    EXPECT_EQ(display.shown, 1);
    EXPECT_EQ(session.record().docs.top().size(), 2u);
    EXPECT_TRUE(session.Contains(L"C:\\Docs\\a.txt"));
}

namespace {

// Writes a record of top-level entries (caption, path), each with optional children.
struct Entry {
    Entry(std::wstring c, std::wstring p, std::vector<std::pair<std::wstring, std::wstring>> ch = {})
        : caption(std::move(c)), path(std::move(p)), children(std::move(ch)) {}
    std::wstring caption, path;
    std::vector<std::pair<std::wstring, std::wstring>> children;
};
void WriteEntries(const std::wstring& path, const std::vector<Entry>& entries) {
    ShownRecord r;
    for (const Entry& e : entries) {
        RecordNode* top = tvtest::AddEntry(r, nullptr, e.caption, e.path, kProgramOrDocument, 12);
        for (const auto& [caption, childPath] : e.children)
            tvtest::AddEntry(r, top, caption, childPath, kProgramOrDocument, 12);
    }
    ASSERT_TRUE(WriteRecordFile(r, path, L"C:\\tolvane.exe"));
}

std::vector<std::wstring> ShownPaths(const ShownRecord& r) {
    std::vector<std::wstring> paths;
    r.docs.Walk([&](RecordNode& n) { paths.push_back(ToLower(r.items.At(n.data.itemIndex).path)); });
    return paths;
}

size_t Occurrences(const std::vector<std::wstring>& paths, const std::wstring& path) {
    return static_cast<size_t>(std::count(paths.begin(), paths.end(), ToLower(path)));
}

}  // namespace

TEST_F(SessionFixture, SearchListsEveryMatchOnceAndNeverSavesOverTheSelectedRecord) {
    const std::wstring first = JoinPath(records.path(), L"Dec 01,2026_001.tolvane");
    WriteEntries(first, {{L"readme.tvx", L"C:\\Docs\\readme.tvx"}, {L"notes", L"C:\\Docs\\notes.tvx"}});
    WriteEntries(JoinPath(records.path(), L"Dec 01,2026_002.tolvane"),
                 {{L"Manual", L"C:\\Other\\manual.tvx", {{L"copy", L"C:\\DOCS\\README.tvx"}}},
                  {L"ReadMe first", L"C:\\Other\\first.tvx"}});
    WriteEntries(JoinPath(records.path(), L"Dec 01,2026_003.tolvane"),
                 {{L"Page", L"http://example.org/readme.html"}, {L"unrelated", L"C:\\x.tvx"}});
    list.Read(records.path(), first);
    ASSERT_EQ(list.Count(), 3);
    ASSERT_EQ(list.SelectedIndex(), 0);
    display.onShowSelected = [this] { session.Load(list.SelectedIndex()); };
    session.Load(0);
    const std::string before = tvtest::ReadAll(first);

    session.Search(L"  README ");
    EXPECT_TRUE(session.searchShown());
    std::vector<std::wstring> found = ShownPaths(session.record());
    EXPECT_EQ(Occurrences(found, L"C:\\Docs\\readme.tvx"), 1u);  // in two records, shown once
    EXPECT_EQ(Occurrences(found, L"C:\\Other\\first.tvx"), 1u);   // by its caption
    EXPECT_EQ(Occurrences(found, L"http://example.org/readme.html"), 1u);
    EXPECT_EQ(Occurrences(found, L"C:\\Docs\\notes.tvx"), 0u);
    EXPECT_EQ(Occurrences(found, L"C:\\x.tvx"), 0u);
    EXPECT_EQ(Occurrences(found, L"C:\\Other\\manual.tvx"), 0u);
    EXPECT_EQ(session.currentRecordPath(), first);  // still names the selected record
    session.SaveCurrentRecord();
    EXPECT_EQ(tvtest::ReadAll(first), before);

    // A hand-off while results are shown goes into the selected record, shown again first.
    const std::wstring handed = files.file(L"handed.tvx");
    ASSERT_TRUE(WriteTextLines(handed, {L"x"}));
    TakeHandOffSteps(session, {IntakeStep{IntakeStep::Kind::Item, handed}});
    EXPECT_FALSE(session.searchShown());
    ShownRecord back;
    ASSERT_EQ(ReadRecordFile(back, first), ReadOutcome::Complete);
    std::vector<std::wstring> saved = ShownPaths(back);
    EXPECT_EQ(Occurrences(saved, handed), 1u);
    EXPECT_EQ(Occurrences(saved, L"C:\\Docs\\notes.tvx"), 1u);
    EXPECT_EQ(Occurrences(saved, L"http://example.org/readme.html"), 0u);

    // An empty box shows the selected record again.
    session.Search(L"readme");
    int shownBefore = display.showSelected;
    session.Search(L"   ");
    EXPECT_EQ(display.showSelected, shownBefore + 1);
    EXPECT_FALSE(session.searchShown());
    EXPECT_EQ(Occurrences(ShownPaths(session.record()), L"C:\\Docs\\notes.tvx"), 1u);

    // Without a selected record the search shows nothing.
    list.selected = -1;
    session.Search(L"readme");
    EXPECT_TRUE(session.record().docs.top().empty());
}

namespace {

// A desktop in memory: what each scan finds.
struct PlayedSources : RecordingSources {
    std::vector<ProgramPair> programs;
    std::vector<LocationPair> locations;
    std::vector<std::wstring> recent;
    std::function<void()> duringScan;  // runs inside the running-program scan
    struct NoFolders : RecentFolderReader {
        std::vector<ListedEntry> List(const std::wstring&, size_t) override { return {}; }
        bool LastWriteDays(const std::wstring&, double&) override { return false; }
        double NowDays() override { return 0; }
    } reader;
    std::vector<ProgramPair> RunningPrograms(const StartupFilter&) override {
        if (duringScan) duringScan();
        return programs;
    }
    std::vector<LocationPair> OpenLocations(bool) override { return locations; }
    std::vector<PagePair> OtherBrowserPages() override { return {}; }
    void RecentDocuments(RecentDocumentList& list, const RecentScanOptions&, ResolutionMachine&) override {
        list.Clear();
        for (const auto& d : recent) list.Add(d);
    }
    std::vector<std::wstring> InstalledProgramPaths() override { return {}; }
    std::vector<std::wstring> ProgramMenuFolders() override { return {}; }
    RecentFolderReader& FolderReader() override { return reader; }
};

struct RecordingFixture : SessionFixture {
    PlayedSources sources;
    RecordingSettings settings;
    std::vector<std::wstring> hints;
    RecordingProgress progress;
    RecordingFixture() {
        progress.hint = [this](const std::wstring& h) { hints.push_back(h); };
    }
    std::wstring Existing(const std::wstring& name) {
        std::wstring path = files.file(name);
        EXPECT_TRUE(WriteTextLines(path, {L"x"}));
        return path;
    }
    std::vector<std::wstring> SavedPaths(const std::wstring& record) {
        ShownRecord back;
        EXPECT_EQ(ReadRecordFile(back, record), ReadOutcome::Complete);
        return ShownPaths(back);
    }
};

}  // namespace

TEST_F(RecordingFixture, ARecordingByHandSavesANewRecordOfTodayWithWhatWasFound) {
    const std::wstring program = Existing(L"tool.tvx"), folder = files.path();
    sources.programs = {{program, L"Tool"}};
    sources.locations = {{folder, L"Files"}};
    session.SetNewRecordFlag(true);
    ASSERT_TRUE(session.Record(false, sources, settings, progress));

    SYSTEMTIME today;
    GetLocalTime(&today);
    EXPECT_EQ(FileNameOf(session.currentRecordPath()), FileNameOf(NewRecordName(records.path(), today,
                                                                               [](const std::wstring&) { return false; })));
    std::vector<std::wstring> saved = SavedPaths(session.currentRecordPath());
    EXPECT_EQ(Occurrences(saved, program), 1u);
    EXPECT_EQ(Occurrences(saved, NormaliseFolder(folder)) + Occurrences(saved, folder), 1u);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_FALSE(session.record().recording);
    // The hints went through the routine's steps in order, then "Finish.", then nothing.
    std::vector<std::wstring> expected(std::begin(kRecordingHints), std::end(kRecordingHints));
    expected.push_back(L"Finish.");
    expected.push_back(L"");
    EXPECT_EQ(hints, expected);
}

TEST_F(RecordingFixture, NothingFoundStillSavesByHandAndASecondRequestMeanwhileIsDropped) {
    bool nested = true;
    sources.duringScan = [&] { nested = session.Record(true, sources, settings, progress); };
    session.SetNewRecordFlag(true);
    ASSERT_TRUE(session.Record(false, sources, settings, progress));
    EXPECT_FALSE(nested);  // the tick that came while the recording ran
    EXPECT_EQ(list.Count(), 1);  // an empty record, saved
    EXPECT_TRUE(session.record().docs.top().empty());

    // Smart Record that finds nothing writes nothing.
    sources.duringScan = nullptr;
    const std::string before = tvtest::ReadAll(session.currentRecordPath());
    EXPECT_FALSE(session.Record(true, sources, settings, progress));
    EXPECT_EQ(tvtest::ReadAll(session.currentRecordPath()), before);
    EXPECT_EQ(list.Count(), 1);
}

TEST_F(RecordingFixture, AddingToTheSelectedRecordKeepsItsItems) {
    const std::wstring old = Existing(L"old.tvx"), fresh = Existing(L"fresh.tvx");
    sources.programs = {{old, L"Old"}};
    session.SetNewRecordFlag(true);
    ASSERT_TRUE(session.Record(false, sources, settings, progress));
    const std::wstring record = session.currentRecordPath();

    // "Add to exist file": no new-record flag.
    sources.programs = {{fresh, L"Fresh"}};
    ASSERT_TRUE(session.Record(false, sources, settings, progress));
    EXPECT_EQ(session.currentRecordPath(), record);
    EXPECT_EQ(list.Count(), 1);
    std::vector<std::wstring> saved = SavedPaths(record);
    EXPECT_EQ(Occurrences(saved, old), 1u);
    EXPECT_EQ(Occurrences(saved, fresh), 1u);
}

TEST_F(RecordingFixture, TheThousandAndFirstRecordingOfADayGetsANameOfItsOwn) {
    SYSTEMTIME today;
    GetLocalTime(&today);
    auto exists = [](const std::wstring& p) { return FileExists(p); };
    const std::wstring first = NewRecordName(records.path(), today, exists);
    ASSERT_EQ(first.substr(first.size() - 12), L"_001.tolvane");
    for (int n = 1; n <= 1000; ++n)
        ASSERT_TRUE(WriteTextLines(first.substr(0, first.size() - 12) + Format(L"_%03d.tolvane", n), {}));
    const std::wstring program = Existing(L"tool.tvx");
    sources.programs = {{program, L"Tool"}};
    session.SetNewRecordFlag(true);
    ASSERT_TRUE(session.Record(false, sources, settings, progress));
    const std::wstring next = first.substr(0, first.size() - 12) + L"_1001.tolvane";
    EXPECT_EQ(session.currentRecordPath(), next);
    EXPECT_EQ(Occurrences(SavedPaths(next), program), 1u);
    std::string firstBytes;
    ASSERT_TRUE(ReadFileBytes(first, firstBytes));
    EXPECT_LE(firstBytes.size(), 4u) << "the first record of the day was written over";
}
