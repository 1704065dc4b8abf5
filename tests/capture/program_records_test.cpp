#include "capture/program_records.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "capture/program_arguments.h"

using namespace tv;

namespace {
const wchar_t kExplorer[] = L"C:\\Windows\\explorer.exe";
}

TEST(AlreadyInRecord, MatchesNormalisedPathsAndExplorerByCaption) {
    std::vector<TopNode> nodes{{L" c:\\windows\\notepad.exe ", L"Notepad"},
                               {kExplorer, L"Control Panel"},
                               {L"Windows Photo Viewer", L"Windows Photo Viewer"}};
    EXPECT_TRUE(AlreadyInRecord(L"\"C:\\Windows\\NOTEPAD.EXE\" %1", L"other title", nodes));
    EXPECT_TRUE(AlreadyInRecord(kExplorer, L" control panel", nodes));
    EXPECT_FALSE(AlreadyInRecord(kExplorer, L"My Computer", nodes));
    EXPECT_TRUE(AlreadyInRecord(L"rundll32.exe shimgvw.dll,ImageView", L"", nodes));
    EXPECT_FALSE(AlreadyInRecord(L"C:\\Windows\\calc.exe", L"Calculator", nodes));
    EXPECT_TRUE(AlreadyInRecord(L"  ", L"anything", {}));  // nothing to add
}

TEST(AlreadyInRecord, AsksTheTopLevelNodesOfTheShownRecord) {
    ShownRecord r;
    TMyDoc explorer;
    explorer.path = kExplorer;
    RecordNode* cp = r.docs.Add(nullptr, L"Control Panel", r.items.Append(explorer));
    TMyDoc child;
    child.path = L"C:\\Windows\\calc.exe";
    r.docs.Add(cp, L"calc", r.items.Append(child));
    EXPECT_TRUE(AlreadyInRecord(kExplorer, L"Control Panel", TopNodesOf(r)));
    EXPECT_FALSE(AlreadyInRecord(L"C:\\Windows\\calc.exe", L"calc", TopNodesOf(r)));  // children do not count
}

TEST(AlreadyInRecord, LooksAtTheFirst5000TopLevelNodesOnly) {
    std::vector<TopNode> nodes(5000, TopNode{L"C:\\x.exe", L"x"});
    nodes.push_back({L"C:\\late.exe", L"late"});
    EXPECT_FALSE(AlreadyInRecord(L"C:\\late.exe", L"late", nodes));
    nodes.erase(nodes.begin());
    EXPECT_TRUE(AlreadyInRecord(L"C:\\late.exe", L"late", nodes));
}

TEST(RecordRunningPrograms, AddsOnlyNewProgramsWithTitlesFilledIn) {
    struct Sink : ProgramRecordSink {
        std::vector<TopNode> record{{L"C:\\Windows\\notepad.exe", L"Notepad"}};
        std::wstring last;
        int steps = 0;
        bool AlreadyInRecord(const std::wstring& p, const std::wstring& t) override {
            return tv::AlreadyInRecord(p, t, record);
        }
        void SetLastAdded(const std::wstring& p) override { last = p; }
        void AddEntry(const std::wstring& p, const std::wstring& t) override { record.push_back({p, t}); }
        void StepGauge() override { ++steps; }
    } sink;
    std::vector<ProgramPair> programs{{L"C:\\Windows\\notepad.exe", L"Notepad"},
                                      {L"C:\\Tools\\calc.exe", L"  "},
                                      {L"rundll32.exe photoviewer.dll", L"View"}};
    EXPECT_TRUE(RecordRunningPrograms(programs, sink));
    ASSERT_EQ(sink.record.size(), 3u);
    EXPECT_EQ(sink.record[1].caption, L"calc");
    EXPECT_EQ(sink.record[2].itemPath, L"Windows Photo Viewer");
    EXPECT_EQ(sink.last, L"Windows Photo Viewer");
    EXPECT_EQ(sink.steps, 2);
    EXPECT_FALSE(RecordRunningPrograms(programs, sink));  // nothing new the second time
}

TEST(RunningProgramRows, FillARealListViewAndSkipWhatMustNotBeOffered) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE | LVS_REPORT, 0, 0,
                                400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(list, nullptr);
    LVCOLUMNW col{};
    col.mask = LVCF_WIDTH;
    col.cx = 150;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
    SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&col));

    ProgramRowServices services;
    int steps = 0;
    services.stepGauge = [&steps] { ++steps; };
    services.iconIndex = [](const std::wstring& p) { return p.size() % 7; };
    services.inStartupFilterList = [](const std::wstring& p) { return p == L"C:\\Apps\\sync.exe"; };
    std::vector<ProgramPair> programs{{L"C:\\Windows\\notepad.exe", L"Notepad"},
                                      {L"C:\\Apps\\sync.exe", L"Sync"},
                                      {L"C:\\TolVane\\TOLVANE.EXE", L"TolVane"},
                                      {kExplorer, L"Control Panel"},
                                      {kExplorer, L"My Computer"},
                                      {L"C:\\Tools\\calc.exe", L""},
                                      {L"rundll32.exe shimgvw.dll", L"Viewer"}};
    EXPECT_TRUE(AppendRunningProgramRows(list, programs, services));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 5);
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(ListViewText(list, 3, 0), L"calc");
    EXPECT_EQ(ListViewText(list, 4, 1), L"Windows Photo Viewer");
    LVITEMW image{};
    image.mask = LVIF_IMAGE;
    image.iItem = 0;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&image));
    EXPECT_EQ(image.iImage, static_cast<int>(wcslen(L"C:\\Windows\\notepad.exe") % 7));

    // A second fill adds nothing: every row is there already.
    EXPECT_FALSE(AppendRunningProgramRows(list, programs, services));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 5);
    DestroyWindow(list);
}

TEST(DocumentArguments, OnlyExistingPathsThatAreNeitherSwitchesNorTheProgram) {
    const std::wstring program = L"C:\\Windows\\notepad.exe";
    auto exists = [](const std::wstring& p) {
        return p == L"C:\\Docs\\a.txt" || p == L"C:\\My Docs\\b c.txt" || p == L"D:\\Work" || p == L"C:\\Windows\\notepad.exe";
    };
    const struct {
        const wchar_t* line;
        std::vector<std::wstring> documents;
    } cases[] = {
        {L"notepad.exe C:\\Docs\\a.txt", {L"C:\\Docs\\a.txt"}},
        {L"\"C:\\Windows\\notepad.exe\" \"C:\\My Docs\\b c.txt\"", {L"C:\\My Docs\\b c.txt"}},
        {L"C:\\Windows\\notepad.exe /p -x /A C:\\Docs\\a.txt", {L"C:\\Docs\\a.txt"}},
        {L"x.exe C:\\Windows\\NOTEPAD.EXE notepad.exe D:\\Work", {L"D:\\Work"}},
        {L"x.exe C:\\Docs\\missing.txt a.txt C:\\My Docs\\b c.txt", {}},  // missing, relative, unquoted blank
        {L"x.exe C:\\Docs\\a.txt c:\\docs\\A.TXT \"C:\\Docs\\a.txt\"", {L"C:\\Docs\\a.txt"}},
        {L"C:\\Docs\\a.txt", {}},  // the first argument is the program
        {L"", {}},
        {L"   ", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(DocumentArguments(c.line, program, exists), c.documents) << c.line;
}

TEST(ProgramWindows, CommandLinesAndConfirmedRecentDocumentsGoUnderTheProgramWithTheirWindowsPlaces) {
    ProgramPair notepad{L"C:\\Windows\\notepad.exe", L"Notepad"};
    auto window = [](const wchar_t* title, LONG left) {
        ProgramWindow w{title, {}};
        w.place.known = true;
        w.place.normal = {left, 0, left + 100, 100};
        return w;
    };
    notepad.windows = {window(L"aa.txt - Notepad", 1), window(L"a.txt - Notepad", 2), window(L"b.log - Notepad", 3)};
    notepad.commandLines = {L"notepad C:\\d\\a.txt", L"notepad C:\\d\\aa.txt"};
    const std::vector<std::wstring> recent{L"C:\\d\\b.log", L"C:\\d\\never shown.log"};
    const std::vector<std::wstring> documents =
        DocumentsOfProgram(notepad, recent, [](const std::wstring& p) { return p.find(L"C:\\d\\") == 0; });
    EXPECT_EQ(documents, (std::vector<std::wstring>{L"C:\\d\\a.txt", L"C:\\d\\aa.txt", L"C:\\d\\b.log"}));

    ShownRecord r;
    TMyDoc program;
    program.path = notepad.path;
    RecordNode* node = r.docs.Add(nullptr, L"Notepad", r.items.Append(program));
    for (const std::wstring& d : documents) {
        TMyDoc item;
        item.path = d;
        r.docs.Add(node, d.substr(5), r.items.Append(item));
    }
    PlaceProgramWindows(r, L"c:\\windows\\NOTEPAD.EXE", L"Notepad", notepad.windows);
    auto leftOf = [&r](const RecordNode& n) {
        const WindowPlace& p = r.items.At(n.data.itemIndex).place;
        return p.known ? p.normal.left : -1;
    };
    EXPECT_EQ(leftOf(*node), 1);
    EXPECT_EQ(leftOf(*node->children[0]), 2);  // a.txt: "aa.txt" is the longer name in the first title
    EXPECT_EQ(leftOf(*node->children[1]), 1);
    EXPECT_EQ(leftOf(*node->children[2]), 3);
}
