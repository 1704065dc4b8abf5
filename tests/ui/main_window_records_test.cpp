// The main window's record list and record trees working together on real record folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/handoff.h"
#include "base/text_file.h"
#include "app/intake.h"
#include "app/settings_store.h"
#include "base/file_util.h"
#include "base/strings.h"
#include "ui/message_pump.h"
#include "records/icon_strip.h"
#include "records/record_file.h"
#include "records/record_library.h"
#include "replay/recording_shell.h"
#include "support/fake_prompter.h"
#include "support/played_desktop.h"
#include "support/test_data_object.h"
#include "support/test_support.h"
#include "ui/main/menus/main_menus.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/main/commands/recording_commands.h"
#include "ui/window_text.h"
#include "app/settings_keys.h"

using namespace tv;

namespace {


std::wstring Text(HWND tree, HTREEITEM item) { return tvtest::ItemText(tree, item); }

std::vector<std::wstring> TopCaptions(HWND tree) {
    std::vector<std::wstring> out;
    for (HTREEITEM item = TreeView_GetRoot(tree); item; item = TreeView_GetNextSibling(tree, item))
        out.push_back(Text(tree, item));
    return out;
}

bool Expanded(HWND tree, HTREEITEM item) { return (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0; }

std::wstring StatusText(HWND bar, int panel) {
    wchar_t buf[1024] = {};
    SendMessageW(bar, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(buf));
    return buf;
}

std::wstring HintOf(HWND tooltip, HWND window, HWND control) {
    wchar_t text[256] = {};
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = window;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
    return text;
}

// What the status bar's first panel says, and its hint, of the main window.
std::pair<std::wstring, std::wstring> StatusSays(TTolvaneWindow& window) {
    return {StatusText(window.parts().status.hwnd(), 0),
            HintOf(window.parts().hints.tooltip(), window.hwnd(), window.parts().status.hwnd())};
}

// The first panel naming a record selected, its path in the hint.
std::pair<std::wstring, std::wstring> NamedInStatus(const std::wstring& recordPath) {
    return {L"   File Name :" + RecordName(recordPath) + L" selected.", recordPath};
}

// One entry of a record to write: a top-level node with its children.
struct Entry {
    Entry(std::wstring c, std::wstring p, int k = kProgramOrDocument, std::vector<std::wstring> kids = {},
          bool open = false)
        : caption(std::move(c)), path(std::move(p)), kind(k), children(std::move(kids)), expanded(open) {}
    std::wstring caption, path;
    int kind;
    std::vector<std::wstring> children;
    bool expanded;
};

// Writes a record file and its selection file (and an icon file with `icons` pictures when not 0).
void WriteTestRecord(const std::wstring& recordPath, const std::vector<Entry>& entries, int icons = 0) {
    ShownRecord r;
    for (const Entry& e : entries) {
        TMyDoc d;
        d.kind = e.kind;
        d.path = d.groupKey = e.path;
        d.title = e.caption;
        d.imageIndex = StandardIconIndex(e.path);
        RecordNode* top = r.docs.Add(nullptr, e.caption, r.items.Append(d));
        top->imageIndex = top->selectedImageIndex = d.imageIndex;
        top->expanded = e.expanded;
        for (const std::wstring& child : e.children) {
            TMyDoc c = d;
            c.path = c.groupKey = e.path + L"\\" + child;
            c.title = child;
            c.imageIndex = StandardIconIndex(c.path);
            RecordNode* node = r.docs.Add(top, child, r.items.Append(c));
            node->imageIndex = node->selectedImageIndex = c.imageIndex;
        }
    }
    ASSERT_TRUE(WriteRecordFile(r, recordPath, L"test"));
    // The program keeps its trees in caption order, and its selection files follow that order.
    r.docs.SortByCaption();
    ASSERT_TRUE(WriteSelectionFile(r, SelectionFilePath(recordPath)));
    if (icons > 0) {
        HIMAGELIST strip = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, icons, 4);
        HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
        for (int i = 0; i < icons; ++i) ImageList_AddIcon(strip, icon);
        ASSERT_TRUE(WriteIconFile(strip, IconFilePath(recordPath)));
        ImageList_Destroy(strip);
    }
}

// Holds Ctrl down for this thread while the keys of the record list are tried.
struct CtrlHeld {
    BYTE saved[256]{};
    CtrlHeld() {
        GetKeyboardState(saved);
        BYTE keys[256];
        memcpy(keys, saved, sizeof(keys));
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
    }
    ~CtrlHeld() { SetKeyboardState(saved); }
};

class MainWindowRecords : public ::testing::Test {
protected:
    tvtest::ScopedDataFolders folders;
    tvtest::TempFolder dir;
    Settings settings = OpenSettingsFiles();
    std::unique_ptr<TTolvaneWindow> window;
    tvtest::ScriptedPrompter prompter;

    std::wstring folder() const { return dir.path(); }
    std::wstring RecordPath(const std::wstring& name) const { return dir.file(name + L".tolvane"); }

    // Opens the main window on the record folder `recordFolder` and lets its first-run step run.
    void Open(const std::wstring& recordFolder = L"") {
        settings.user->WriteString(keys::kDefault, keys::kRecordPath, recordFolder.empty() ? folder() : recordFolder);
        window = std::make_unique<TTolvaneWindow>(settings, nullptr);
        // A first start without records asks before recording; the tests' user declines.
        window->parts().recording.askRecord = [](auto&&...) { return false; };
        ASSERT_TRUE(window->Create(GetModuleHandleW(nullptr)));
        window->parts().prompter = &prompter;
        window->Show(SW_SHOWNORMAL);
        for (int i = 0; i < 10; ++i, Sleep(20)) ProcessMessages();
    }
    void TearDown() override { Close(); }
    void Close() {
        if (window && IsWindow(window->hwnd())) DestroyWindow(window->hwnd());
        window.reset();
        MSG m;  // the end-of-program message the window leaves behind
        while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    std::vector<std::wstring> Listed() {
        std::vector<std::wstring> names;
        for (int i = 0; i < window->parts().records.Count(); ++i) names.push_back(window->parts().records.Name(i));
        return names;
    }
    void Show(int index) {
        window->parts().records.SelectByIndex(index);
        window->parts().selected.Show();
    }
    int StripCount() {
        return ImageList_GetImageCount(TreeView_GetImageList(window->parts().pages.views().TVDocs, TVSIL_NORMAL));
    }
};


// Types a name into the rename dialog and presses Enter, or Escape when `name` is null.
void AnswerRename(const wchar_t* name) {
    tvtest::RunSoon([name] {
        HWND dlg = FindWindowW(L"TFrmReName", nullptr);
        HWND box = dlg ? FindWindowExW(dlg, nullptr, WC_EDITW, nullptr) : nullptr;
        if (!box) return;
        if (name) SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
        PostMessageW(box, WM_KEYDOWN, name ? VK_RETURN : VK_ESCAPE, 0);
    });
}

}  // namespace

TEST_F(MainWindowRecords, TheListIsOrderedByTheSortKeyAndShowsOnlyRecordFiles) {
    for (const wchar_t* name : {L"Jan 15,2027_001", L"Dec 08,2026_010", L"Dec 08,2026_002", L"Windows Start"})
        WriteTestRecord(RecordPath(name), {{L"a", L"C:\\a.txt"}});
    ASSERT_TRUE(tvtest::WriteAll(dir.file(L"notes.txt"), "not a record"));
    ASSERT_TRUE(CreateDirectoryW(dir.file(L"x.tolvane").c_str(), nullptr));
    Open();
    EXPECT_EQ(Listed(), (std::vector<std::wstring>{L"Windows Start", L"Dec 08,2026_002", L"Dec 08,2026_010",
                                                   L"Jan 15,2027_001"}));
    // The first start shows the record at the stored index 0.
    EXPECT_EQ(window->parts().session.currentRecordPath(), RecordPath(L"Windows Start"));
    EXPECT_EQ(window->parts().records.SelectedIndex(), 0);
    // F5 reads the folder again.
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"b", L"C:\\b.txt"}});
    EXPECT_TRUE(window->parts().listCommands.KeyDown(VK_F5));
    EXPECT_EQ(Listed().at(1), L"Dec 08,2026_001");
    EXPECT_FALSE(window->parts().listCommands.KeyDown('Q'));
    // The keys reach the list's handler from the list itself.
    WriteTestRecord(RecordPath(L"Dec 09,2026_001"), {{L"c", L"C:\\c.txt"}});
    SendMessageW(window->parts().LbRECs, WM_KEYDOWN, VK_F5, 0);
    EXPECT_EQ(Listed().size(), 6u);
}

TEST_F(MainWindowRecords, SelectingARecordFillsEveryTreeInCaptionOrderWithItsExpansion) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"first", L"C:\\first.txt"}}, 3);
    WriteTestRecord(RecordPath(L"Dec 08,2026_002"),
                    {{L"Zeta", L"C:\\Apps\\zeta.exe", kProgramOrDocument, {L"z2.txt", L"z1.txt"}, true},
                     {L"alpha", L"C:\\Data", kFolderOrLocation, {L"sub"}, false},
                     {L"Mid", L"C:\\Apps\\mid.exe", kProgramOrDocument, {L"m.txt"}, false}},
                    5);
    WriteTestRecord(RecordPath(L"Dec 08,2026_003"),  // no icon file
                    {{L"third", L"C:\\third.txt"}, {L"page", L"https://example.org/", kWebPage}});
    settings.user->WriteInteger(keys::kDefault, keys::kStartupRecord, 1);
    Open();
    EXPECT_EQ(StripCount(), 3);  // the first record's own icons

    tvtest::RunCommand(window->hwnd(), kCmdViewStatusBar);
    Show(1);
    HWND all = window->parts().pages.views().Tree(0);
    EXPECT_EQ(TopCaptions(all), (std::vector<std::wstring>{L"alpha", L"Mid", L"Zeta"}));
    HTREEITEM zeta = TreeView_GetNextSibling(all, TreeView_GetNextSibling(all, TreeView_GetRoot(all)));
    EXPECT_TRUE(Expanded(all, zeta));  // from the selection file
    EXPECT_FALSE(Expanded(all, TreeView_GetRoot(all)));
    EXPECT_EQ(Text(all, TreeView_GetChild(all, zeta)), L"z1.txt");
    // The per-kind trees get their nodes in the same order.
    EXPECT_EQ(TopCaptions(window->parts().pages.views().Tree(1)), (std::vector<std::wstring>{L"Mid", L"Zeta"}));
    EXPECT_EQ(TopCaptions(window->parts().pages.views().Tree(2)), (std::vector<std::wstring>{L"alpha"}));
    EXPECT_EQ(TreeView_GetCount(window->parts().pages.views().Tree(3)), 0u);
    EXPECT_EQ(StripCount(), 5);
    EXPECT_EQ(settings.user->ReadInteger(keys::kDefault, keys::kSelectedRecord, -1), 1);
    EXPECT_EQ(StatusSays(*window), NamedInStatus(RecordPath(L"Dec 08,2026_002")));
    EXPECT_EQ(StatusText(window->parts().status.hwnd(), 1), L" Location :" + folder() + L"\\");
    // The record that starts with Windows carries the check mark, the others not.
    auto replayChecked = [&] {
        return (GetMenuState(window->parts().menus.PmRecList, kCmdReplayAtStart, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    EXPECT_TRUE(replayChecked());

    // Hovering a label shows the node in the status bar.
    RECT label{};
    TreeView_GetItemRect(all, TreeView_GetRoot(all), &label, TRUE);
    SendMessageW(all, WM_MOUSEMOVE, 0, MAKELPARAM((label.left + label.right) / 2, (label.top + label.bottom) / 2));
    EXPECT_EQ(StatusText(window->parts().status.hwnd(), 0), L"   Title : alpha");
    EXPECT_EQ(StatusText(window->parts().status.hwnd(), 1), L" Location : C:\\Data");
    // Expanding a node by the keyboard writes the record's selection file at once.
    const std::wstring selection = SelectionFilePath(RecordPath(L"Dec 08,2026_002"));
    auto lines = [](const std::wstring& text) { return "\xFF\xFE" + tvtest::Utf16(text); };
    EXPECT_EQ(tvtest::ReadAll(selection), lines(L"0\r\n0\r\n1\r\n"));
    TreeView_SelectItem(all, TreeView_GetRoot(all));
    SendMessageW(all, WM_KEYDOWN, VK_ADD, 0);
    EXPECT_TRUE(Expanded(all, TreeView_GetRoot(all)));
    EXPECT_EQ(tvtest::ReadAll(selection), lines(L"1\r\n0\r\n1\r\n"));
    // No web page in this record: no "Web Page" tab.
    EXPECT_EQ(TabCtrl_GetItemCount(window->parts().pages.pageControl()), 3);

    // A record without an icon file keeps the icons shown before.
    Show(2);
    EXPECT_EQ(TopCaptions(all), (std::vector<std::wstring>{L"page", L"third"}));
    EXPECT_EQ(StripCount(), 5);
    EXPECT_EQ(TabCtrl_GetItemCount(window->parts().pages.pageControl()), 4);  // the "Web Page" tab appears
    EXPECT_EQ(TopCaptions(window->parts().pages.views().Tree(3)), std::vector<std::wstring>{L"page"});
    EXPECT_FALSE(replayChecked());
    EXPECT_EQ(settings.user->ReadInteger(keys::kDefault, keys::kSelectedRecord, -1), 2);

    // Items added later take their sorted place in "All" and in the tree of their kind: files
    // of a type nothing opens under their titles, pages under their hosts.
    tvtest::TempFolder added;
    for (const wchar_t* name : {L"Zeta.tvx", L"alpha.tvx"}) ASSERT_TRUE(WriteTextLines(added.file(name), {L"x"}));
    window->parts().session.AddItem(added.file(L"Zeta.tvx"), L"Zeta");
    window->parts().session.AddItem(added.file(L"alpha.tvx"), L"alpha");
    EXPECT_EQ(TopCaptions(all), (std::vector<std::wstring>{L"alpha", L"page", L"third", L"Zeta"}));
    EXPECT_EQ(TopCaptions(window->parts().pages.views().Tree(1)),
              (std::vector<std::wstring>{L"alpha", L"third", L"Zeta"}));
    window->parts().session.AddItem(L"https://zeta.example/", L"Zeta page");
    window->parts().session.AddItem(L"https://alpha.example/", L"alpha page");
    EXPECT_EQ(TopCaptions(window->parts().pages.views().Tree(3)),
              (std::vector<std::wstring>{L"alpha.example", L"page", L"zeta.example"}));
}

TEST_F(MainWindowRecords, RenameMovesTheRecordAndCancellingACollisionLosesTheSelection) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt", kProgramOrDocument, {L"b"}, true}}, 2);
    WriteTestRecord(RecordPath(L"Dec 08,2026_002"), {{L"other", L"C:\\other.txt"}});
    Open();
    Show(0);

    AnswerRename(L"Work");
    tvtest::RunCommand(window->hwnd(), kCmdRenameRecord);
    EXPECT_TRUE(FileExists(RecordPath(L"Work")));
    EXPECT_TRUE(FileExists(dir.file(L"Work.dat")));
    EXPECT_TRUE(FileExists(dir.file(L"Work.tolvanetreesel")));
    EXPECT_FALSE(FileExists(RecordPath(L"Dec 08,2026_001")));
    ASSERT_EQ(window->parts().records.SelectedIndex(), 1);  // "Work" has the key of its letters, after the dates
    EXPECT_EQ(window->parts().records.Name(1), L"Work");
    EXPECT_EQ(window->parts().session.currentRecordPath(), RecordPath(L"Work"));
    EXPECT_EQ(TopCaptions(window->parts().pages.views().TVDocs), (std::vector<std::wstring>{L"a"}));  // not read again

    // Another name's extension is kept and ours added.
    AnswerRename(L"Notes.old");
    tvtest::RunCommand(window->hwnd(), kCmdRenameRecord);
    EXPECT_TRUE(FileExists(RecordPath(L"Notes.old")));

    // Onto an existing record: Cancel changes nothing and the list loses its selection.
    prompter.answers = {false};
    AnswerRename(L"Dec 08,2026_002");
    tvtest::RunCommand(window->hwnd(), kCmdRenameRecord);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0],
              RecordPath(L"Dec 08,2026_002") + L" is already exists.\r\nDo you want to replace it?");
    EXPECT_TRUE(FileExists(RecordPath(L"Notes.old")));
    EXPECT_EQ(window->parts().records.SelectedIndex(), -1);
    EXPECT_EQ(window->parts().session.currentRecordPath(), L"");

    // With OK it replaces the other record.
    window->parts().records.SelectByIndex(1);  // "Notes.old" sorts by the letters at the date places: after the date
    ASSERT_EQ(window->parts().records.Name(1), L"Notes.old");
    prompter.answers = {true};
    AnswerRename(L"Dec 08,2026_002");
    tvtest::RunCommand(window->hwnd(), kCmdRenameRecord);
    EXPECT_EQ(Listed(), std::vector<std::wstring>{L"Dec 08,2026_002"});
    ShownRecord back;
    ASSERT_EQ(ReadRecordFile(back, RecordPath(L"Dec 08,2026_002")), ReadOutcome::Complete);
    EXPECT_EQ(back.docs.top().at(0)->caption, L"a");
    EXPECT_TRUE(FileExists(dir.file(L"Dec 08,2026_002.dat")));
    EXPECT_EQ(prompter.unscripted, 0);

    // Escape renames nothing.
    AnswerRename(nullptr);
    window->parts().records.SelectByIndex(0);
    tvtest::RunCommand(window->hwnd(), kCmdRenameRecord);
    EXPECT_EQ(Listed(), std::vector<std::wstring>{L"Dec 08,2026_002"});
}

TEST_F(MainWindowRecords, DeleteAsksRecyclesTheSelectedRecordsAndStopLeavesTheRest) {
    for (int i = 1; i <= 5; ++i)
        WriteTestRecord(RecordPath(L"Dec 08,2026_00" + std::to_wstring(i)), {{L"a", L"C:\\a.txt"}}, 1);
    Open();
    Show(0);
    const std::wstring question = L"Are you sure you want to delete selected record?";

    // Cancel keeps everything, the trees included.
    prompter.answers = {false};
    EXPECT_TRUE(window->parts().listCommands.KeyDown(VK_DELETE));
    EXPECT_EQ(prompter.asked, std::vector<std::wstring>{question});
    EXPECT_EQ(Listed().size(), 5u);
    EXPECT_EQ(TreeView_GetCount(window->parts().pages.views().TVDocs), 1u);

    // OK with two records selected: their three files leave the folder, the list is read again.
    HWND list = window->parts().LbRECs;
    SendMessageW(list, LB_SETSEL, TRUE, 1);
    prompter.answers = {true};
    tvtest::RunCommand(window->hwnd(), kCmdDeleteRecord);
    EXPECT_EQ(Listed(), (std::vector<std::wstring>{L"Dec 08,2026_003", L"Dec 08,2026_004", L"Dec 08,2026_005"}));
    for (const wchar_t* gone : {L"Dec 08,2026_001", L"Dec 08,2026_002"}) {
        EXPECT_FALSE(FileExists(RecordPath(gone)));
        EXPECT_FALSE(FileExists(dir.file(std::wstring(gone) + L".dat")));
        EXPECT_FALSE(FileExists(dir.file(std::wstring(gone) + L".tolvanetreesel")));
    }
    EXPECT_EQ(TreeView_GetCount(window->parts().pages.views().TVDocs), 0u);
    EXPECT_FALSE(window->parts().progress.shown());

    // Stop pressed while the first one goes: the rest stay and the list shows them.
    {
        CtrlHeld ctrl;
        EXPECT_TRUE(window->parts().listCommands.KeyDown('A'));
    }
    EXPECT_EQ(window->parts().records.SelectedNames().size(), 3u);
    PostMessageW(window->hwnd(), WM_COMMAND, kIdStopButton, 0);
    prompter.answers = {true};
    tvtest::RunCommand(window->hwnd(), kCmdDeleteRecord);
    EXPECT_EQ(Listed(), (std::vector<std::wstring>{L"Dec 08,2026_004", L"Dec 08,2026_005"}));
    EXPECT_EQ(prompter.unscripted, 0);
}

TEST_F(MainWindowRecords, DuplicateWritesTheNextNewNameAndLaterSavesGoIntoIt) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt", kProgramOrDocument, {L"b"}, true}});
    Open();
    Show(0);
    const std::wstring expected = NewRecordName(folder());
    ASSERT_FALSE(expected.empty());
    {
        CtrlHeld ctrl;
        EXPECT_TRUE(window->parts().listCommands.KeyDown('V'));
    }
    ASSERT_TRUE(FileExists(expected));
    EXPECT_EQ(window->parts().session.currentRecordPath(), expected);
    EXPECT_EQ(window->parts().records.Count(), 2);
    ASSERT_GE(window->parts().records.SelectedIndex(), 0);
    EXPECT_EQ(RecordPath(window->parts().records.Name(window->parts().records.SelectedIndex())), expected);
    EXPECT_FALSE(window->parts().session.newRecordFlag());
    ShownRecord copy;
    ASSERT_EQ(ReadRecordFile(copy, expected), ReadOutcome::Complete);
    EXPECT_EQ(copy.docs.NodeCount(), 2u);

    // An item handed over afterwards is saved into the record shown, not into yet another one.
    EXPECT_TRUE(TakeItem(window->parts().session, L"C:\\later.txt"));
    window->parts().session.SaveCurrentRecord();
    EXPECT_EQ(window->parts().records.Count(), 2);
    ShownRecord back;
    ASSERT_EQ(ReadRecordFile(back, expected), ReadOutcome::Complete);
    EXPECT_EQ(back.docs.top().size(), 2u);
    ShownRecord original;
    ASSERT_EQ(ReadRecordFile(original, RecordPath(L"Dec 08,2026_001")), ReadOutcome::Complete);
    EXPECT_EQ(original.docs.top().size(), 1u);
}

TEST_F(MainWindowRecords, AFolderThatCannotBeMadeOffersTheSettingsInsteadOfLosingTheSave) {
    // A file stands where the folder should be; the settings dialog is offered and, cancelled,
    // nothing is written anywhere.
    ASSERT_TRUE(tvtest::WriteAll(dir.file(L"blocked"), "file"));
    Open(dir.file(L"blocked\\records"));
    window->parts().session.AddItem(L"C:\\a.txt", L"");
    tvtest::RunSoon([this] {
        if (TFrmMySettings* dlg = window->parts().settingsDialog.get())
            PostMessageW(dlg->EdtRecordPath, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    window->parts().session.SaveCurrentRecord();
    EXPECT_EQ(window->parts().records.Count(), 0);
    EXPECT_FALSE(DirectoryExists(dir.file(L"blocked\\records")));
}

TEST_F(MainWindowRecords, TextSizeReachesAllFourTreesAndIsStored) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}});
    settings.user->WriteInteger(keys::kDefault, keys::kTextSize, 11);
    Open();
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    auto height = [&](int page) {
        LOGFONTW lf{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window->parts().pages.views().Tree(page), WM_GETFONT, 0, 0)),
                   sizeof(lf), &lf);
        return lf.lfHeight;
    };
    auto checked = [&] {
        std::vector<UINT> ids;
        for (UINT id = kCmdTextLargest; id <= kCmdTextSmallest; ++id)
            if (GetMenuState(window->parts().menus.PmDocTree, id, MF_BYCOMMAND) & MF_CHECKED) ids.push_back(id);
        return ids;
    };
    // A stored size no item has checks nothing and is still used.
    EXPECT_TRUE(checked().empty());
    for (int page = 0; page < 4; ++page) EXPECT_EQ(height(page), -MulDiv(11, dpi, 72)) << page;

    tvtest::RunCommand(window->hwnd(), kCmdTextLargest);
    EXPECT_EQ(checked(), std::vector<UINT>{kCmdTextLargest});
    for (int page = 0; page < 4; ++page) EXPECT_EQ(height(page), -MulDiv(15, dpi, 72)) << page;
    EXPECT_EQ(settings.user->ReadInteger(keys::kDefault, keys::kTextSize, 0), 15);
    EXPECT_EQ(TopCaptions(window->parts().pages.views().TVDocs), std::vector<std::wstring>{L"a"});  // shown again
    tvtest::RunCommand(window->hwnd(), kCmdTextSmallest);
    EXPECT_EQ(checked(), std::vector<UINT>{kCmdTextSmallest});
    EXPECT_EQ(settings.user->ReadInteger(keys::kDefault, keys::kTextSize, 0), 8);
}

// Every tree's font as the tree itself answers it: face and height.
std::vector<std::pair<std::wstring, LONG>> TreeFonts(TTolvaneWindow& window) {
    std::vector<std::pair<std::wstring, LONG>> fonts;
    for (int page = 0; page < 4; ++page) {
        LOGFONTW lf{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window.parts().pages.views().Tree(page), WM_GETFONT, 0, 0)), sizeof(lf), &lf);
        fonts.push_back({lf.lfFaceName, lf.lfHeight});
    }
    return fonts;
}

TEST_F(MainWindowRecords, EveryWayToTheTreesLeavesThemInTheOneTreeFont) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}});
    settings.user->WriteInteger(keys::kDefault, keys::kTextSize, 10);
    settings.user->WriteString(keys::kDefault, keys::kRecordPath, folder());
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    auto treeFont = [&](LONG height) {
        return std::vector<std::pair<std::wstring, LONG>>(4, {L"Times New Roman", height});
    };
    // A window just made: the starting height until the stored size is applied.
    window = std::make_unique<TTolvaneWindow>(settings, nullptr);
    ASSERT_TRUE(window->Create(GetModuleHandleW(nullptr)));
    EXPECT_EQ(TreeFonts(*window), treeFont(-MulDiv(12, dpi, 96)));
    Close();

    Open();
    EXPECT_EQ(TreeFonts(*window), treeFont(-MulDiv(10, dpi, 72)));
    tvtest::Desktop desktop;
    tvtest::TempFolder apps;
    desktop.windows = {{apps.file(L"tool.tvx"), L"Tool"}};
    ASSERT_TRUE(WriteTextLines(desktop.windows[0].path, {L"x"}));
    window->parts().recording.sources = [&] { return std::make_unique<tvtest::PlayedDesktop>(desktop); };
    window->parts().options.values.askWhenRecord = false;
    tvtest::RunCommand(window->hwnd(), kCmdRecord);
    ASSERT_EQ(TopCaptions(window->parts().pages.views().TVDocs), std::vector<std::wstring>{L"Tool"});
    EXPECT_EQ(TreeFonts(*window), treeFont(-MulDiv(10, dpi, 72)));
    AnswerRename(L"Renamed");
    tvtest::RunCommand(window->hwnd(), kCmdRenameRecord);
    ASSERT_TRUE(FileExists(RecordPath(L"Renamed")));
    EXPECT_EQ(TreeFonts(*window), treeFont(-MulDiv(10, dpi, 72)));
    tvtest::RunCommand(window->hwnd(), kCmdTextLarger);
    EXPECT_EQ(TreeFonts(*window), treeFont(-MulDiv(12, dpi, 72)));
}

TEST_F(MainWindowRecords, AStoredListWidthOutOfRangeLeavesListPagesAndSplitterReachable) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}});
    const int dpi = ScreenDpi();
    auto scale = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    auto placeOf = [this](HWND control) {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window->hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    auto openWithWidth = [&](int stored) {
        Close();
        settings.user->WriteInteger(keys::kDefault, keys::kLeft, 20);
        settings.user->WriteInteger(keys::kDefault, keys::kTop, 20);
        settings.user->WriteInteger(keys::kDefault, keys::kWidth, 600);
        settings.user->WriteInteger(keys::kDefault, keys::kHeight, 500);
        settings.user->WriteInteger(keys::kDefault, keys::kRecordListWidth, stored);
        Open();
    };
    openWithWidth(120);
    RECT client;
    GetClientRect(window->hwnd(), &client);
    const int widest = MulDiv(client.right, 96, dpi) - 120;  // what a drag leaves for the pages
    const struct {
        int stored, shown;  // at 96 dpi
    } cases[] = {{120, 120},    {40, 40},          {39, 40},         {0, 40},
                 {-500, 40},    {-2147483647 - 1, 40}, {widest, widest}, {widest + 1, widest},
                 {100000, widest}, {2147483647, widest}};
    for (const auto& c : cases) {
        SCOPED_TRACE("stored width " + std::to_string(c.stored));
        openWithWidth(c.stored);
        const RECT list = placeOf(window->parts().LbRECs), page = placeOf(window->parts().pages.pageControl());
        EXPECT_NEAR(list.right, scale(c.shown), 1);
        EXPECT_GT(page.left, list.right);
        EXPECT_GE(page.right - page.left, scale(100));
        // The splitter beside the list takes a drag, and the drop stores the width it left.
        HWND w = window->hwnd();
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(list.right + scale(2), 200));
        SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(scale(150), 200));
        SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(scale(150), 200));
        EXPECT_NEAR(placeOf(window->parts().LbRECs).right, scale(150), 1);
        EXPECT_NEAR(settings.user->ReadInteger(keys::kDefault, keys::kRecordListWidth, 0), 150, 1);
    }
}

TEST_F(MainWindowRecords, AStoredRecordIndexPastTheListShowsTheFirstRecord) {
    WriteTestRecord(RecordPath(L"Dec 07,2026_001"), {{L"first", L"C:\\first.txt"}});
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"second", L"C:\\second.txt"}});
    const struct {
        int stored, shown;
    } cases[] = {{1, 1}, {2, 0}, {99, 0}, {-1, 0}};
    for (const auto& c : cases) {
        Close();
        settings.user->WriteInteger(keys::kDefault, keys::kSelectedRecord, c.stored);
        Open();
        EXPECT_EQ(window->parts().records.SelectedIndex(), c.shown) << c.stored;
        EXPECT_EQ(TopCaptions(window->parts().pages.views().TVDocs),
                  std::vector<std::wstring>{c.shown ? L"second" : L"first"})
            << c.stored;
    }
}

TEST_F(MainWindowRecords, ANetworkRecordFolderListsReadsAndSaves) {
    const std::wstring share = L"\\\\tolvanetest\\share";
    if (!DirectoryExists(share)) GTEST_SKIP() << "no test share " << share << " (scripts/test.sh maps it)";
    const std::wstring net = share + L"\\window-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateFolderTree(net));
    WriteTestRecord(net + L"\\Dec 08,2026_001.tolvane", {{L"shared", L"C:\\shared.txt"}});
    Open(net + L"\\\\");  // extra backslashes are normalised away
    EXPECT_EQ(Listed(), std::vector<std::wstring>{L"Dec 08,2026_001"});
    EXPECT_EQ(window->parts().session.currentRecordPath(), net + L"\\Dec 08,2026_001.tolvane");
    EXPECT_EQ(TopCaptions(window->parts().pages.views().TVDocs), std::vector<std::wstring>{L"shared"});
    window->parts().session.SetNewRecordFlag(true);
    window->parts().session.SaveCurrentRecord();
    EXPECT_EQ(window->parts().records.Count(), 2);
    EXPECT_EQ(FolderOf(window->parts().session.currentRecordPath()), net);
    EXPECT_TRUE(FileExists(window->parts().session.currentRecordPath()));
    tvtest::RemoveTree(net);
}

TEST_F(MainWindowRecords, Screenshot) {
    const std::wstring windows = L"C:\\windows";
    WriteTestRecord(RecordPath(L"Dec 07,2026_001"), {{L"Morning", L"C:\\morning.txt"}});
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"),
                    {{L"Notepad", windows + L"\\notepad.exe", kProgramOrDocument, {L"win.ini", L"system.ini"}, true},
                     {L"Windows", windows, kFolderOrLocation, {L"Fonts", L"system32", L"temp"}, false},
                     {L"Project plan.txt", L"C:\\users\\Public\\Project plan.txt"},
                     {L"Welcome page", L"https://example.org/welcome", kWebPage},
                     {L"Registry Editor", windows + L"\\regedit.exe", kProgramOrDocument, {L"export.reg"}, true}});
    settings.user->WriteInteger(keys::kDefault, keys::kSelectedRecord, 1);
    Open();
    tvtest::RunCommand(window->hwnd(), kCmdViewStatusBar);
    ASSERT_EQ(window->parts().records.SelectedIndex(), 1);
    RedrawWindow(window->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int i = 0; i < 5; ++i, Sleep(20)) ProcessMessages();
    EXPECT_TRUE(tvtest::SaveScreenshot(tvtest::ScreenshotFolder() + L"\\main_window_record.png"));
}

TEST_F(MainWindowRecords, DroppedTextIsAddedSavedIntoTheShownRecordAndSelected) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}});
    Open();
    ASSERT_EQ(window->parts().session.currentRecordPath(), RecordPath(L"Dec 08,2026_001"));
    // The drop hands the text over once the drag has ended: it arrives through the queue.
    window->parts().drops.TextDropped(L"C:\\dropped.txt");
    EXPECT_EQ(TreeView_GetCount(window->parts().pages.views().TVDocs), 1u);
    ProcessMessages();
    HWND all = window->parts().pages.views().TVDocs;
    // A path that names nothing on disk is kept as a location under its file name.
    EXPECT_EQ(TopCaptions(all), (std::vector<std::wstring>{L"a", L"dropped.txt"}));
    HTREEITEM selected = TreeView_GetSelection(all);
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(Text(all, selected), L"dropped.txt");
    ShownRecord back;
    ASSERT_EQ(ReadRecordFile(back, RecordPath(L"Dec 08,2026_001")), ReadOutcome::Complete);
    EXPECT_EQ(back.docs.top().size(), 2u);
    EXPECT_EQ(window->parts().records.Count(), 1);
    // The same text again adds nothing; an address with escaped blanks gets its blanks back.
    window->parts().drops.TextDropped(L"c:\\DROPPED.txt");
    window->parts().drops.TextDropped(L"C:\\My%20Documents\\b.txt");
    ProcessMessages();
    EXPECT_EQ(TopCaptions(all), (std::vector<std::wstring>{L"a", L"b.txt", L"dropped.txt"}));
    EXPECT_TRUE(window->parts().session.Contains(L"C:\\My Documents\\b.txt"));
}

TEST_F(MainWindowRecords, DroppedTextTakesTheTitleOfAnOpenWindowOrOfThePageItself) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}});
    Open();
    std::vector<std::wstring> fetched;
    window->parts().intakes.fetchPageTitle = [&](const std::wstring& address) {
        fetched.push_back(address);
        return address.find(L"deep") != std::wstring::npos ? std::wstring(L"Fetched Page") : std::wstring();
    };
    window->parts().intakes.openLocationTitle = [](const std::wstring& location) {
        return location == L"C:\\Shown Place" ? std::wstring(L"Shown Title") : std::wstring();
    };
    window->parts().drops.TextDropped(L"http://site.example/deep/page");
    window->parts().drops.TextDropped(L"http://other.example/x");
    window->parts().drops.TextDropped(L"C:\\Shown Place");
    ProcessMessages();
    EXPECT_EQ(fetched, (std::vector<std::wstring>{L"http://site.example/deep/page", L"http://other.example/x"}));
    HWND all = window->parts().pages.views().TVDocs;
    EXPECT_EQ(TopCaptions(all), (std::vector<std::wstring>{L"a", L"other.example", L"Shown Title", L"site.example"}));
    // A page without a title of its own is shown by its address.
    ShownRecord back;
    ASSERT_EQ(ReadRecordFile(back, RecordPath(L"Dec 08,2026_001")), ReadOutcome::Complete);
    std::vector<std::wstring> children;
    for (const auto& top : back.docs.top())
        for (const auto& child : top->children) children.push_back(child->caption);
    std::sort(children.begin(), children.end());
    EXPECT_EQ(children, (std::vector<std::wstring>{L"Fetched Page", L"http://other.example/x"}));
    EXPECT_EQ(TabCtrl_GetItemCount(window->parts().pages.pageControl()), 4);  // the "Web Page" tab
}

namespace {

// A drag source as Explorer's: it lets go once the window under the mouse has been asked, and
// gives up after a while should no window ever answer.
class LetGoSource final : public IDropSource {
public:
    int asked = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
            *out = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
        ++asked;
        if (asked > 200) return DRAGDROP_S_CANCEL;
        return asked >= 3 ? DRAGDROP_S_DROP : S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// Drags `data` through OLE from the middle of `onto`, as the mouse would, and answers the
// effect the drag source is told.
DWORD DragAndDrop(HWND onto, IDataObject* data) {
    RECT r{};
    GetWindowRect(onto, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    LetGoSource source;
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr = DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
    EXPECT_TRUE(hr == DRAGDROP_S_DROP || hr == DRAGDROP_S_CANCEL) << std::hex << hr;
    return effect;
}

std::vector<std::wstring> ItemPaths(const std::wstring& recordPath) {
    ShownRecord back;
    std::vector<std::wstring> paths;
    if (ReadRecordFile(back, recordPath) != ReadOutcome::Complete) return paths;
    back.docs.Walk([&](RecordNode& node) { paths.push_back(ToLower(back.items.At(node.data.itemIndex).path)); });
    return paths;
}

bool Has(const std::vector<std::wstring>& paths, const std::wstring& path) {
    return std::find(paths.begin(), paths.end(), ToLower(path)) != paths.end();
}

}  // namespace

TEST_F(MainWindowRecords, FilesAndTextDraggedThroughOleAreAddedAndSavedAndOtherDataIsRefused) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}});
    tvtest::TempFolder outside;
    std::wstring file = outside.file(L"dragged.txt"), folder = outside.file(L"Dragged Folder");
    ASSERT_TRUE(WriteTextLines(file, {L"x"}));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    Open();
    ASSERT_EQ(window->parts().session.currentRecordPath(), RecordPath(L"Dec 08,2026_001"));
    ASSERT_NE(window->parts().drops.target(), nullptr);
    // Nothing else may lie under the mouse.
    SetWindowPos(window->hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    // A file and a folder from Explorer.
    tvtest::TestData files(CF_HDROP, tvtest::FileListBytes({file, folder}));
    EXPECT_EQ(DragAndDrop(window->parts().pages.views().TVDocs, &files), static_cast<DWORD>(DROPEFFECT_COPY));
    for (int i = 0; i < 5; ++i) ProcessMessages();
    std::vector<std::wstring> saved = ItemPaths(RecordPath(L"Dec 08,2026_001"));
    EXPECT_TRUE(Has(saved, file));
    EXPECT_TRUE(Has(saved, folder + L"\\"));
    // The folder came below its group's node, made for it.
    EXPECT_EQ(TreeView_GetCount(window->parts().pages.views().TVDocs), 4u);
    EXPECT_EQ(window->parts().pages.pageControl() ? TabCtrl_GetCurSel(window->parts().pages.pageControl()) : -1, 0);

    // Text from a browser or an editor still goes in.
    tvtest::TestData text(CF_TEXT, std::string("C:\\dropped by text.txt\0", 23));
    EXPECT_EQ(DragAndDrop(window->parts().pages.views().TVDocs, &text), static_cast<DWORD>(DROPEFFECT_COPY));
    for (int i = 0; i < 5; ++i) ProcessMessages();
    EXPECT_TRUE(Has(ItemPaths(RecordPath(L"Dec 08,2026_001")), L"C:\\dropped by text.txt"));

    // A picture is refused: the source learns nothing was copied and the record stays.
    tvtest::TestData picture(CF_BITMAP, std::string("xx", 2));
    EXPECT_EQ(DragAndDrop(window->parts().pages.views().TVDocs, &picture), static_cast<DWORD>(DROPEFFECT_NONE));
    for (int i = 0; i < 5; ++i) ProcessMessages();
    EXPECT_EQ(ItemPaths(RecordPath(L"Dec 08,2026_001")).size(), 5u);
    SetWindowPos(window->hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// ---- what a first-time user meets: the status bar, the pages, the search panel, the keyboard ---

namespace {

// Reads what waits in the queue the way the program's own loop does.
void PumpAsProgram(TTolvaneWindow& window) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) break;
        if (window.TranslateShortcut(m)) continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

// A key pressed on `to`, as the program's loop receives it.
void KeyOn(TTolvaneWindow& window, HWND to, WPARAM key) {
    MSG m{};
    m.hwnd = to;
    m.message = WM_KEYDOWN;
    m.wParam = key;
    if (window.TranslateShortcut(m)) return;
    TranslateMessage(&m);
    DispatchMessageW(&m);
}

bool Checked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

HWND ShownPopupMenu() {
    for (HWND popup = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); popup;
         popup = FindWindowExW(nullptr, popup, L"#32768", nullptr))
        if (IsWindowVisible(popup)) return popup;
    return nullptr;
}

// The menu that `open` shows, closed again at once (after `whileOpen` has looked at the screen);
// null when no menu opened.
HMENU MenuOpenedBy(const std::function<void()>& open, const std::function<void()>& whileOpen = {}) {
    HMENU seen = nullptr;
    bool looked = false;
    tvtest::RunSoon(
        [&] {
            looked = true;
            if (HWND popup = ShownPopupMenu()) {
                seen = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
                if (whileOpen) whileOpen();
            }
            EndMenu();
        },
        200);
    open();
    tvtest::WaitUntil([&] { return looked; }, 10000);
    return seen;
}

}  // namespace

TEST_F(MainWindowRecords, TheStatusBarFollowsRenameDuplicateAndDeleteAndARefusedRenameChangesNothing) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}});
    WriteTestRecord(RecordPath(L"Dec 08,2026_002"), {{L"b", L"C:\\b.txt"}});
    Open();
    Show(0);
    ASSERT_NE(window->parts().status.hwnd(), nullptr);
    const std::pair<std::wstring, std::wstring> none{L"No Items Selected.", L""};
    EXPECT_EQ(StatusSays(*window), NamedInStatus(RecordPath(L"Dec 08,2026_001")));

    AnswerRename(L"Work");
    tvtest::RunCommand(window->hwnd(), kCmdRenameRecord);
    EXPECT_EQ(StatusSays(*window), NamedInStatus(RecordPath(L"Work")));

    // A name Windows refuses: the system's reason, and the list, the record and the bar stay.
    AnswerRename(L"Plan: Q1?");
    tvtest::RunCommand(window->hwnd(), kCmdRenameRecord);
    ASSERT_EQ(prompter.told.size(), 1u);
    EXPECT_EQ(prompter.told[0], SystemMessageText(ERROR_INVALID_NAME));
    EXPECT_EQ(window->parts().session.currentRecordPath(), RecordPath(L"Work"));
    ASSERT_GE(window->parts().records.SelectedIndex(), 0);
    EXPECT_EQ(window->parts().records.Name(window->parts().records.SelectedIndex()), L"Work");
    EXPECT_EQ(Listed().size(), 2u);
    EXPECT_TRUE(FileExists(RecordPath(L"Work")));
    EXPECT_EQ(StatusSays(*window), NamedInStatus(RecordPath(L"Work")));

    // A duplicate is the record shown from then on.
    {
        CtrlHeld ctrl;
        EXPECT_TRUE(window->parts().listCommands.KeyDown('V'));
    }
    EXPECT_NE(window->parts().session.currentRecordPath(), RecordPath(L"Work"));
    EXPECT_EQ(StatusSays(*window), NamedInStatus(window->parts().session.currentRecordPath()));

    // Deleting the shown record leaves nothing selected, and the bar says so.
    prompter.answers = {true};
    tvtest::RunCommand(window->hwnd(), kCmdDeleteRecord);
    EXPECT_EQ(window->parts().records.SelectedIndex(), -1);
    EXPECT_EQ(TreeView_GetCount(window->parts().pages.views().TVDocs), 0u);
    EXPECT_EQ(StatusSays(*window), none);

    // Cancelling a rename leaves no record selected either (the list loses its selection).
    Show(0);
    AnswerRename(nullptr);
    tvtest::RunCommand(window->hwnd(), kCmdRenameRecord);
    EXPECT_EQ(StatusSays(*window), none);
}

TEST_F(MainWindowRecords, ARecordWithoutWebPagesShowsTheFirstPageAndNoWebPageTab) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"site", L"http://example.org/", kWebPage}});
    WriteTestRecord(RecordPath(L"Dec 08,2026_002"), {{L"b", L"C:\\b.txt"}});
    Open();
    Show(0);
    HWND tabs = window->parts().pages.pageControl();
    ASSERT_EQ(TabCtrl_GetItemCount(tabs), 4);
    // The user opens the "Web Page" tab.
    TabCtrl_SetCurSel(tabs, 3);
    NMHDR change{tabs, static_cast<UINT_PTR>(kIdPageControl), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(window->hwnd(), WM_NOTIFY, kIdPageControl, reinterpret_cast<LPARAM>(&change));
    ASSERT_NE(window->parts().pages.views().Existing(3), nullptr);
    EXPECT_TRUE(IsWindowVisible(window->parts().pages.views().Existing(3)));

    Show(1);
    EXPECT_EQ(TabCtrl_GetItemCount(tabs), 3);
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), 0);
    EXPECT_TRUE(IsWindowVisible(window->parts().pages.views().TVDocs));
    EXPECT_FALSE(IsWindowVisible(window->parts().pages.views().Existing(3)));
    EXPECT_EQ(TopCaptions(window->parts().pages.views().TVDocs), std::vector<std::wstring>{L"b"});

    // A record with a web page brings the tab back; a page other than "Web Page" stays chosen.
    Show(0);
    EXPECT_EQ(TabCtrl_GetItemCount(tabs), 4);
    TabCtrl_SetCurSel(tabs, 1);
    SendMessageW(window->hwnd(), WM_NOTIFY, kIdPageControl, reinterpret_cast<LPARAM>(&change));
    Show(1);
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), 1);
}

TEST_F(MainWindowRecords, EscapeOrASecondCtrlFClosesTheSearchPanelAndShowsTheRecordAgain) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}});
    Open();
    Show(0);
    HWND tree = window->parts().pages.views().TVDocs;
    for (int round = 0; round < 2; ++round) {
        {
            CtrlHeld ctrl;
            KeyOn(*window, tree, 'F');
        }
        ASSERT_TRUE(window->parts().search.shown());
        EXPECT_TRUE(IsWindowVisible(window->parts().search.box()));
        EXPECT_TRUE(Checked(window->parts().menus.PopupMenuMore, kCmdSearch));
        // The record changes on disk meanwhile: showing it again reads the new one.
        WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}, {round ? L"d" : L"c", L"C:\\c.txt"}});
        if (round == 0) {
            CtrlHeld ctrl;
            KeyOn(*window, window->parts().search.box(), 'F');
        } else {
            HWND edit = GetWindow(window->parts().search.box(), GW_CHILD);  // where the typing goes
            ASSERT_NE(edit, nullptr);
            KeyOn(*window, edit, VK_ESCAPE);
        }
        PumpAsProgram(*window);
        EXPECT_FALSE(window->parts().search.shown());
        EXPECT_FALSE(IsWindowVisible(window->parts().search.box()));
        EXPECT_FALSE(Checked(window->parts().menus.PopupMenuMore, kCmdSearch));
        EXPECT_EQ(TopCaptions(tree), (std::vector<std::wstring>{L"a", round ? L"d" : L"c"}));
    }
}

namespace {

std::wstring FirstTabCaption(HWND tabs) {
    wchar_t text[64] = {};
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = text;
    tab.cchTextMax = 64;
    TabCtrl_GetItem(tabs, 0, &tab);
    return text;
}

}  // namespace

TEST_F(MainWindowRecords, ASearchSaysWhatItFoundUntilThePanelClosesOrTheBoxIsEmptied) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"),
                    {{L"readme", L"C:\\docs\\readme.txt"}, {L"notes", L"C:\\docs\\notes.txt"}});
    WriteTestRecord(RecordPath(L"Dec 08,2026_002"),
                    {{L"Guide", L"C:\\other\\README.md"}, {L"again", L"C:\\docs\\readme.txt"}});
    WriteTestRecord(RecordPath(L"Dec 08,2026_003"), {{L"plain", L"C:\\plain.txt"}});
    Open();
    Show(0);
    tvtest::RunCommand(window->hwnd(), kCmdViewStatusBar);
    tvtest::RunCommand(window->hwnd(), kCmdSearch);
    ASSERT_TRUE(window->parts().search.shown());
    HWND tabs = window->parts().pages.pageControl();
    auto search = [&](const wchar_t* text) {
        SetWindowTextW(window->parts().search.box(), text);
        tvtest::RunCommand(window->hwnd(), kIdSearchButton);
        RedrawWindow(window->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        for (int i = 0; i < 5; ++i, Sleep(20)) ProcessMessages();
    };
    // What the status bar and the hint strip say; nothing from a strip not shown.
    auto told = [&] {
        HWND strip = window->parts().progress.PnlHint;
        return std::make_pair(StatusText(window->parts().status.hwnd(), 0),
                              strip && IsWindowVisible(strip) ? TextOf(strip) : std::wstring());
    };
    const struct {
        const wchar_t* text;
        std::wstring says;
        const wchar_t* screenshot;
    } searches[] = {
        // The item held by two records is shown once.
        {L" README ", L"2 items in 2 records match \"README\".", L"main_window_search_results.png"},
        {L"notes", L"1 item in 1 record matches \"notes\".", nullptr},
        {L"zzzq", L"No item matches \"zzzq\".", L"main_window_search_none.png"},
    };
    for (const auto& s : searches) {
        search(s.text);
        EXPECT_EQ(told(), std::make_pair(s.says, s.says));
        EXPECT_EQ(FirstTabCaption(tabs), L"Search Results");
        if (s.screenshot) {
            EXPECT_TRUE(tvtest::SaveScreenshot(tvtest::ScreenshotFolder() + L"\\" + s.screenshot));
        }
    }

    // An emptied box shows the record again, and the signs of the search go.
    search(L"");
    EXPECT_EQ(told(), std::make_pair(NamedInStatus(RecordPath(L"Dec 08,2026_001")).first, std::wstring()));
    EXPECT_EQ(FirstTabCaption(tabs), L"All");
    // So does closing the panel.
    search(L"readme");
    ASSERT_EQ(FirstTabCaption(tabs), L"Search Results");
    tvtest::RunCommand(window->hwnd(), kCmdSearch);
    EXPECT_FALSE(window->parts().search.shown());
    EXPECT_EQ(told(), std::make_pair(NamedInStatus(RecordPath(L"Dec 08,2026_001")).first, std::wstring()));
    EXPECT_EQ(FirstTabCaption(tabs), L"All");
}

TEST_F(MainWindowRecords, ARightClickOnEmptyTreeSpaceSelectsNothing) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}, {L"b", L"C:\\b.txt"}});
    Open();
    Show(0);
    HWND tree = window->parts().pages.views().TVDocs;
    DeselectAll(tree);
    TreeView_SelectItem(tree, nullptr);
    SetFocus(window->parts().LbRECs);
    RECT client{};
    GetClientRect(tree, &client);
    LPARAM empty = MAKELPARAM(client.right / 2, client.bottom - 4);
    TVHITTESTINFO hit{};
    hit.pt = {client.right / 2, client.bottom - 4};
    ASSERT_EQ(TreeView_HitTest(tree, &hit), nullptr);
    // The button-up goes first: the tree would wait for it inside its button-down handling.
    PostMessageW(tree, WM_RBUTTONUP, 0, empty);
    SendMessageW(tree, WM_RBUTTONDOWN, MK_RBUTTON, empty);
    MSG m;  // the button-up would open the menu; only the selection matters here
    while (PeekMessageW(&m, tree, WM_RBUTTONUP, WM_RBUTTONUP, PM_REMOVE)) {
    }
    EXPECT_TRUE(SelectedItems(tree).empty());
    EXPECT_EQ(TreeView_GetSelection(tree), nullptr);
}

TEST_F(MainWindowRecords, ARightClickOnTheTitleBarOpensTheWindowMenuAndInsideTheProgramsOwn) {
    Open();
    HWND w = window->hwnd();
    RECT frame, client;
    GetWindowRect(w, &frame);
    GetClientRect(w, &client);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const LPARAM caption = MAKELPARAM((frame.left + frame.right) / 2, (frame.top + client.top) / 2);
    const LPARAM inside = MAKELPARAM(client.left + 2, client.bottom - 2);
    ASSERT_EQ(SendMessageW(w, WM_NCHITTEST, 0, caption), HTCAPTION);
    auto rightClick = [w](LPARAM at) { return [w, at] { SendMessageW(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w), at); }; };

    HMENU system = MenuOpenedBy(rightClick(caption));
    ASSERT_NE(system, nullptr);
    EXPECT_NE(system, window->parts().menus.PmApp);
    EXPECT_NE(GetMenuState(system, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_EQ(MenuOpenedBy(rightClick(inside)), window->parts().menus.PmApp);
}

TEST_F(MainWindowRecords, EnterPressesTheFocusedButton) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}, {L"b", L"C:\\b.txt"}});
    Open();
    Show(0);
    tvtest::RunCommand(window->hwnd(), kCmdSearch);
    HWND searchButton = GetDlgItem(GetParent(window->parts().search.box()), kIdSearchButton);
    ASSERT_NE(searchButton, nullptr);
    SetForegroundWindow(window->hwnd());
    SetFocus(searchButton);  // before the text: leaving the box searches too
    PumpAsProgram(*window);
    SetWindowTextW(window->parts().search.box(), L"b.txt");
    tvtest::PressKey(VK_RETURN);
    for (int i = 0; i < 5; ++i, Sleep(10)) PumpAsProgram(*window);
    EXPECT_EQ(TopCaptions(window->parts().pages.views().TVDocs), std::vector<std::wstring>{L"b"});
}

TEST_F(MainWindowRecords, AltSPressesStartRecordingTheFirstOfTheTwoControlsMarkingS) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}, {L"b", L"C:\\b.txt"}});
    Open();
    Show(0);
    int asked = 0;
    window->parts().recording.askRecord = [&asked](auto&&...) {
        ++asked;
        return false;
    };
    tvtest::RunCommand(window->hwnd(), kCmdSearch);  // "&Search" shows too
    SetForegroundWindow(window->hwnd());
    SetFocus(window->parts().LbRECs);
    PumpAsProgram(*window);
    SetWindowTextW(window->parts().search.box(), L"b.txt");
    tvtest::PressKey('S', false, false, true);
    for (int i = 0; i < 5; ++i, Sleep(10)) PumpAsProgram(*window);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(TopCaptions(window->parts().pages.views().TVDocs),
              (std::vector<std::wstring>{L"a", L"b"}));  // no search ran
}

TEST_F(MainWindowRecords, InTheRecordListF2RenamesAndEnterReplaysTheSelectedRecord) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}});
    Open();
    Show(0);
    std::vector<std::wstring> replayAsked;
    window->parts().replay.askReplay = [&replayAsked](const std::wstring& name, int, int) {
        replayAsked.push_back(name);
        return false;  // nothing is opened
    };
    SetForegroundWindow(window->hwnd());
    auto pressInList = [&](WORD key) {
        SetFocus(window->parts().LbRECs);
        tvtest::PressKey(key);
        for (int i = 0; i < 5; ++i, Sleep(10)) PumpAsProgram(*window);
    };
    AnswerRename(L"Work");
    pressInList(VK_F2);
    EXPECT_EQ(Listed(), std::vector<std::wstring>{L"Work"});
    pressInList(VK_RETURN);
    EXPECT_EQ(replayAsked, std::vector<std::wstring>{L"Work"});
}

namespace {

// The text of the tip the tool tip control shows now; empty when it shows none.
std::wstring ShownTip(HWND tooltip) { return IsWindowVisible(tooltip) ? TextOf(tooltip) : L""; }

// The mouse moved onto the middle of `control`, as the user would move it.
void MoveMouseOnto(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    SetCursorPos((r.left + r.right) / 2 - 1, (r.top + r.bottom) / 2);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = 1;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof(in));
}

}  // namespace

TEST_F(MainWindowRecords, TheCommandStripTheRecordListAndTheTolVaneMenuHaveTheirHints) {
    Open();
    HWND w = window->hwnd(), tips = window->parts().hints.tooltip();
    ASSERT_NE(tips, nullptr);
    const std::pair<HWND, std::wstring> hints[] = {
        {GetDlgItem(w, kCmdRecord), L"Scan and Add"},
        {GetDlgItem(w, kCmdAdd), L"Add..."},
        {GetDlgItem(w, kCmdMoreButton), L"Click here for more..."},
        {window->parts().LbRECs, L"You can right click to access more features."},
    };
    for (const auto& [control, text] : hints) EXPECT_EQ(HintOf(tips, w, control), text);

    // The mouse resting on the record button shows its tip.
    SetForegroundWindow(w);
    MoveMouseOnto(hints[0].first);
    EXPECT_TRUE(tvtest::WaitUntil([&] { return ShownTip(tips) == L"Scan and Add"; }, 10000)) << ShownTip(tips);

    // "&TolVane" selected on the menu bar shows its hint until the menu closes.
    tvtest::RunCommand(window->hwnd(), kCmdViewMenuBar);
    SendMessageW(w, WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP | MF_HILITE),
                 reinterpret_cast<LPARAM>(window->parts().menus.MainMenu1));
    EXPECT_EQ(ShownTip(tips), L"Recent Opened Programs and Files");
    SendMessageW(w, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_FALSE(IsWindowVisible(tips));
}

namespace {

// Sets the last write time of `path` to the local time `when`.
bool SetWritten(const std::wstring& path, const SYSTEMTIME& when) {
    FILETIME local{}, utc{};
    if (!SystemTimeToFileTime(&when, &local) || !LocalFileTimeToFileTime(&local, &utc)) return false;
    HANDLE f = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    BOOL set = SetFileTime(f, nullptr, nullptr, &utc);
    CloseHandle(f);
    return set != FALSE;
}

// `when` as the user's formats write it: short date, then the time without seconds.
std::wstring LocalDateAndTime(const SYSTEMTIME& when) {
    wchar_t date[128] = {}, time[128] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, date, 128);
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &when, nullptr, time, 128);
    return std::wstring(date) + L" " + time;
}

}  // namespace

TEST_F(MainWindowRecords, TheRecordListsHintTellsWhenTheRecordUnderTheMouseWasWrittenAndItsItems) {
    const SYSTEMTIME morning{2026, 12, 2, 8, 9, 5, 0, 0}, evening{2026, 12, 3, 9, 21, 40, 0, 0};
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}});
    WriteTestRecord(RecordPath(L"Dec 08,2026_002"),
                    {{L"Zeta", L"C:\\Apps\\zeta.exe", kProgramOrDocument, {L"z1.txt", L"z2.txt"}}});
    ASSERT_TRUE(SetWritten(RecordPath(L"Dec 08,2026_001"), morning));
    ASSERT_TRUE(SetWritten(RecordPath(L"Dec 08,2026_002"), evening));
    Open();
    HWND list = window->parts().LbRECs;
    const std::wstring own = L"You can right click to access more features.";
    auto hint = [&] { return HintOf(window->parts().hints.tooltip(), window->hwnd(), list); };
    auto mouseOn = [&](int index) {
        RECT r{};
        SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(r.left + 4, (r.top + r.bottom) / 2));
    };
    auto mouseBelowTheEntries = [&] {
        RECT r{};
        GetClientRect(list, &r);
        SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(4, r.bottom - 2));
    };
    const std::vector<std::wstring> listed = Listed();

    mouseOn(1);
    EXPECT_EQ(hint(), LocalDateAndTime(evening) + L", 3 items\r\n" + own);
    mouseOn(0);
    EXPECT_EQ(hint(), LocalDateAndTime(morning) + L", 1 item\r\n" + own);
    mouseBelowTheEntries();
    EXPECT_EQ(hint(), own);
    EXPECT_EQ(Listed(), listed);  // the list's own text stays

    // A record written again tells its new time and items.
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}, {L"b", L"C:\\b.txt"}});
    ASSERT_TRUE(SetWritten(RecordPath(L"Dec 08,2026_001"), evening));
    mouseOn(0);
    EXPECT_EQ(hint(), LocalDateAndTime(evening) + L", 2 items\r\n" + own);
}

TEST_F(MainWindowRecords, TabAndShiftTabGoThroughTheWindowsControls) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}});
    Open();
    Show(0);
    HWND w = window->hwnd();
    SetForegroundWindow(w);
    HWND record = GetDlgItem(w, kCmdRecord), add = GetDlgItem(w, kCmdAdd), more = GetDlgItem(w, kCmdMoreButton),
         smart = GetDlgItem(w, kCmdSmartRecord);
    ASSERT_TRUE(record && add && more && smart);
    auto press = [&](bool shift) {
        tvtest::PressKey(VK_TAB, shift);
        for (int i = 0; i < 3; ++i, Sleep(10)) PumpAsProgram(*window);
        return GetFocus();
    };
    SetFocus(record);
    std::vector<HWND> forward;
    // The interval slider shows, and is reached, only while Smart Record is on.
    for (int i = 0; i < 7; ++i) forward.push_back(press(false));
    EXPECT_EQ(forward, (std::vector<HWND>{add, more, smart, window->parts().LbRECs, window->parts().pages.pageControl(),
                                          window->parts().pages.views().TVDocs, record}));
    std::vector<HWND> back;
    for (int i = 0; i < 3; ++i) back.push_back(press(true));
    EXPECT_EQ(back, (std::vector<HWND>{window->parts().pages.views().TVDocs, window->parts().pages.pageControl(),
                                       window->parts().LbRECs}));

    // With the search panel shown, its box and button come between the list and the tabs.
    tvtest::RunCommand(window->hwnd(), kCmdSearch);
    SetFocus(window->parts().LbRECs);
    HWND inBox = press(false);
    EXPECT_TRUE(inBox == window->parts().search.box() || GetParent(inBox) == window->parts().search.box());
    HWND button = press(false);
    EXPECT_EQ(GetDlgCtrlID(button), kIdSearchButton);
    EXPECT_EQ(press(false), window->parts().pages.pageControl());
    // Down in the list still moves in the list: Tab does not stay there.
    SetFocus(window->parts().LbRECs);
    EXPECT_NE(press(false), window->parts().LbRECs);
}

TEST_F(MainWindowRecords, FoldersReachExplorerNamedAsTheyAreOnceTheShellHasQuotedThem) {
    Open();
    tvtest::RecordingShell shell;
    window->parts().shellCalls = &shell;
    TFrmMySettings* settingsDialog = window->parts().settingsDialog.get();
    ASSERT_NE(settingsDialog, nullptr);
    settingsDialog->SetShellCalls(shell);

    tvtest::RunCommand(window->hwnd(), kCmdOpenApplicationPath);
    tvtest::RunSoon([settingsDialog] {
        SendMessageW(settingsDialog->BtnOpenDir, BM_CLICK, 0, 0);
        PostMessageW(settingsDialog->EdtRecordPath, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    tvtest::RunCommand(window->hwnd(), kCmdSettings);  // "&Open" on the record folder

    ASSERT_EQ(shell.calls.size(), 2u);
    const std::wstring expected[] = {FolderOf(ModulePath()), folder()};
    for (size_t i = 0; i < shell.calls.size(); ++i) {
        EXPECT_EQ(shell.calls[i].verb, L"explore");
        EXPECT_EQ(tvtest::ArgumentAsReceived(shell.calls[i].file), expected[i]) << shell.calls[i].file;
    }
}

// ---- long work: a large record being read does not let anything else in ----------------------

namespace {

// A record of `top` top-level nodes with two children each.
std::vector<Entry> LargeRecord(int top) {
    std::vector<Entry> entries;
    for (int i = 0; i < top; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"item%05d", i);
        entries.emplace_back(name, std::wstring(L"D:\\big\\") + name, kProgramOrDocument,
                             std::vector<std::wstring>{L"one.txt", L"two.txt"});
    }
    return entries;
}

void PumpUntilIdle(TTolvaneWindow& window) {
    for (int i = 0; i < 50 && (window.parts().work.busy() || window.parts().work.queued() > 0 || i < 5); ++i) {
        ProcessMessages();
        Sleep(10);
    }
}

struct HandOffSender {
    HWND target;
    LRESULT answer = -1;
    static DWORD WINAPI Run(void* self) {
        auto* s = static_cast<HandOffSender*>(self);
        COPYDATASTRUCT cds = HandOffMessageData();
        s->answer = SendMessageW(s->target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
        return 0;
    }
};

}  // namespace

TEST_F(MainWindowRecords, AClickOnAnotherRecordWhileALargeOneIsReadShowsItOnceTheReadingEnds) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), LargeRecord(5000));
    WriteTestRecord(RecordPath(L"Dec 08,2026_002"), {{L"small", L"C:\\small.txt"}});
    Open();
    window->parts().records.SelectByIndex(0);
    // The user clicks the second record while the first is read: the list changes at once, and
    // its notification arrives in the middle of the reading.
    HWND list = window->parts().LbRECs;
    PostMessageW(list, LB_SETSEL, FALSE, -1);
    PostMessageW(list, LB_SETSEL, TRUE, 1);
    PostMessageW(list, LB_SETCARETINDEX, 1, 0);
    PostMessageW(window->hwnd(), WM_COMMAND, MAKEWPARAM(kIdRecordList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    window->parts().selected.Show();

    // The large record was read whole, its nodes untouched by the click.
    EXPECT_EQ(window->parts().session.currentRecordPath(), RecordPath(L"Dec 08,2026_001"));
    EXPECT_EQ(window->parts().session.record().docs.top().size(), 5000u);
    EXPECT_TRUE(window->parts().session.record().NodesPointToItems());
    EXPECT_EQ(TreeView_GetCount(window->parts().pages.views().TVDocs), 15000u);
    EXPECT_EQ(window->parts().work.queued(), 1u) << "the click arrived after the reading, not during it";

    // Then the clicked record is shown.
    PumpUntilIdle(*window);
    EXPECT_EQ(window->parts().session.currentRecordPath(), RecordPath(L"Dec 08,2026_002"));
    EXPECT_EQ(TopCaptions(window->parts().pages.views().TVDocs), std::vector<std::wstring>{L"small"});
    EXPECT_TRUE(window->parts().session.record().NodesPointToItems());
}

TEST_F(MainWindowRecords, AHandOffDuringTheReadingOfALargeRecordLandsInItAfterwards) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), LargeRecord(5000));
    Open();
    ASSERT_TRUE(CreateFolderTree(folders.dataFolder()));
    ASSERT_TRUE(WriteTextLines(folders.dataFolder() + L"\\sendparam.txt", {L"C:\\handed.txt"}));
    window->parts().records.SelectByIndex(0);
    HandOffSender sender{window->hwnd()};
    HANDLE thread = CreateThread(nullptr, 0, &HandOffSender::Run, &sender, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    window->parts().selected.Show();
    // The sender was answered while the record was read; its item waits for the reading.
    ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_EQ(sender.answer, 1);
    EXPECT_EQ(window->parts().session.record().docs.top().size(), 5000u);

    PumpUntilIdle(*window);
    EXPECT_TRUE(window->parts().session.Contains(L"C:\\handed.txt"));
    EXPECT_TRUE(window->parts().session.record().NodesPointToItems());
    ShownRecord back;
    ReadRecordFile(back, RecordPath(L"Dec 08,2026_001"));
    bool saved = false;
    for (int i = 0; i < back.items.Count(); ++i) saved = saved || back.items.At(i).path == L"C:\\handed.txt";
    EXPECT_TRUE(saved);
}

TEST_F(MainWindowRecords, ClosingWhileALargeRecordIsReadClosesOnceTheReadingEnds) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), LargeRecord(5000));
    Open();
    window->parts().records.SelectByIndex(0);
    // The close arrives in the middle of the reading, which goes on to its end or its stop.
    PostMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    window->parts().selected.Show();
    EXPECT_TRUE(IsWindow(window->hwnd())) << "the window went while its record was read";
    EXPECT_TRUE(window->parts().session.record().NodesPointToItems());
    PumpUntilIdle(*window);
    EXPECT_FALSE(IsWindow(window->hwnd()));
    EXPECT_EQ(window->parts().work.queued(), 0u);
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the program would not end";
}

// A hand-off the window has answered is in the record even when the close comes before the
// window has turned to it; hand-offs while the window closes are not answered.
TEST_F(MainWindowRecords, AHandOffAnsweredJustBeforeTheCloseIsSavedWithTheRecord) {
    const std::wstring record = RecordPath(L"Dec 08,2026_001");
    WriteTestRecord(record, {{L"a", L"C:\\a.txt"}});
    Open();
    Show(0);
    ASSERT_TRUE(CreateFolderTree(folders.dataFolder()));
    ASSERT_TRUE(WriteTextLines(folders.dataFolder() + L"\\sendparam.txt", {L"C:\\handed.txt"}));
    // The close is queued first; the hand-off message is sent, and answered, before it is read.
    PostMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    COPYDATASTRUCT cds = HandOffMessageData();
    ASSERT_EQ(SendMessageW(window->hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)), 1);
    PumpUntilIdle(*window);
    EXPECT_FALSE(IsWindow(window->hwnd()));
    ShownRecord back;
    ASSERT_EQ(ReadRecordFile(back, record), ReadOutcome::Complete);
    ASSERT_EQ(back.items.Count(), 2);
    EXPECT_EQ(back.items.At(1).path, L"C:\\handed.txt");
}

TEST_F(MainWindowRecords, OnlyTheProgramsOwnHandOffMessageIsTaken) {
    // The message's bytes, as the sending start writes them.
    COPYDATASTRUCT right = HandOffMessageData();
    ASSERT_EQ(right.dwData, 0u);
    ASSERT_EQ(right.cbData, 8u);
    EXPECT_EQ(std::string(static_cast<const char*>(right.lpData), 8), std::string("tolvane\0", 8));

    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}});
    Open();
    Show(0);
    ASSERT_TRUE(CreateFolderTree(folders.dataFolder()));
    ASSERT_TRUE(WriteTextLines(folders.dataFolder() + L"\\sendparam.txt", {L"C:\\handed.txt"}));
    char wrongMarker[8] = "tolvanX";
    char longer[9] = "tolvane!";
    COPYDATASTRUCT wrong[] = {{0, 7, right.lpData}, {0, 9, longer}, {0, 8, wrongMarker}, {1, 8, right.lpData},
                              {0, 8, nullptr}};
    for (COPYDATASTRUCT& cds : wrong)
        EXPECT_EQ(SendMessageW(window->hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)), 0);
    EXPECT_EQ(SendMessageW(window->hwnd(), WM_COPYDATA, 0, 0), 0);
    PumpUntilIdle(*window);
    EXPECT_FALSE(window->parts().session.Contains(L"C:\\handed.txt"));

    EXPECT_EQ(SendMessageW(window->hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&right)), 1);
    PumpUntilIdle(*window);
    EXPECT_TRUE(window->parts().session.Contains(L"C:\\handed.txt"));
}

// ---- nothing the user made is lost -----------------------------------------------------------

namespace {

std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return bytes;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(f, buf, sizeof(buf), &n, nullptr) && n > 0) bytes.append(buf, n);
    CloseHandle(f);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(f);
}

void HandOver(TTolvaneWindow& window, const std::wstring& dataFolder, const std::vector<std::wstring>& lines) {
    ASSERT_TRUE(CreateFolderTree(dataFolder));
    ASSERT_TRUE(WriteTextLines(dataFolder + L"\\sendparam.txt", lines));
    COPYDATASTRUCT cds = HandOffMessageData();
    EXPECT_EQ(SendMessageW(window.hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)), 1);
    PumpUntilIdle(window);
}

}  // namespace

TEST_F(MainWindowRecords, ARecordReadOnlyInPartIsNeverWrittenOverAndItsChangesGoToANewRecord) {
    // The second item has no path: the reading stops there.
    const std::string damaged =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<tolvanetree app=\"x\">"
        "<item text=\"a\" path=\"C:\\a.txt\" imageIndex=\"9\" stateIndex=\"0\" docType=\"2\" extand=\"-1\"/>"
        "<item text=\"b\" imageIndex=\"9\" stateIndex=\"0\" docType=\"2\" extand=\"-1\"/>"
        "<item text=\"c\" path=\"C:\\c.txt\" imageIndex=\"9\" stateIndex=\"0\" docType=\"2\" extand=\"-1\"/>"
        "</tolvanetree>\r\n";
    const std::wstring original = RecordPath(L"Dec 08,2026_001");
    WriteBytes(original, damaged);
    Open();
    Show(0);
    EXPECT_FALSE(window->parts().session.readWhole());
    EXPECT_NE(StatusText(window->parts().status.hwnd(), 0).find(L"not read completely"), std::wstring::npos);
    EXPECT_EQ(TopCaptions(window->parts().pages.views().TVDocs), std::vector<std::wstring>{L"a"});

    HandOver(*window, folders.dataFolder(), {L"C:\\handed.txt"});
    EXPECT_EQ(FileBytes(original), damaged);
    ASSERT_EQ(Listed().size(), 2u);
    EXPECT_NE(window->parts().session.currentRecordPath(), original);
    // The new record is the one selected, and the status bar says what went into it.
    const std::wstring added = L"1 folder added to " + RecordName(window->parts().session.currentRecordPath());
    EXPECT_EQ(StatusSays(*window), std::make_pair(added, added));
    ShownRecord saved;
    ASSERT_EQ(ReadRecordFile(saved, window->parts().session.currentRecordPath()), ReadOutcome::Complete);
    ASSERT_EQ(saved.items.Count(), 2);
    EXPECT_TRUE(window->parts().session.readWhole());  // the new record holds all that was shown
}

TEST_F(MainWindowRecords, AFailedSaveIsToldWithTheRecordAndTheChangeStaysShown) {
    const std::wstring record = RecordPath(L"Dec 08,2026_001");
    WriteTestRecord(record, {{L"a", L"C:\\a.txt"}});
    Open();
    Show(0);
    const std::string before = FileBytes(record);
    // Another program holds the record open and shares nothing: it cannot be replaced.
    HANDLE held = CreateFileW(record.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    HandOver(*window, folders.dataFolder(), {L"C:\\handed.txt"});
    CloseHandle(held);
    ASSERT_EQ(prompter.told.size(), 1u);
    EXPECT_NE(prompter.told[0].find(record), std::wstring::npos) << std::string(prompter.told[0].begin(), prompter.told[0].end());
    EXPECT_TRUE(window->parts().session.Contains(L"C:\\handed.txt"));
    EXPECT_EQ(FileBytes(record), before);
}

TEST_F(MainWindowRecords, AHandedOffLineARecordCannotHoldIsRefusedAndTheRecordStillReads) {
    const std::wstring record = RecordPath(L"Dec 08,2026_001");
    WriteTestRecord(record, {{L"a", L"C:\\a.txt"}});
    Open();
    Show(0);
    HandOver(*window, folders.dataFolder(), {std::wstring(L"C:\\bad") + wchar_t(1) + L".txt", L"C:\\good.txt"});
    EXPECT_TRUE(window->parts().session.Contains(L"C:\\good.txt"));
    EXPECT_EQ(window->parts().session.record().items.Count(), 2);
    EXPECT_NE(StatusText(window->parts().status.hwnd(), 0).find(L"U+0001"), std::wstring::npos);
    ShownRecord back;
    ASSERT_EQ(ReadRecordFile(back, record), ReadOutcome::Complete);
    EXPECT_EQ(back.items.Count(), 2);
}

// A shown record of one item that another program holds open without sharing, so the save
// after a hand-off fails; the test lets go of `held` when it is done with it.
class UnsavedChange : public MainWindowRecords {
protected:
    std::wstring record;
    std::string before;
    HANDLE held = INVALID_HANDLE_VALUE;
    void SetUp() override {
        record = RecordPath(L"Dec 08,2026_001");
        WriteTestRecord(record, {{L"a", L"C:\\a.txt"}});
        Open();
        Show(0);
        before = FileBytes(record);
        held = CreateFileW(record.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        HandOver(*window, folders.dataFolder(), {L"C:\\handed.txt"});
    }
    void TearDown() override {
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        MainWindowRecords::TearDown();
    }
    void LetGo() {
        CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
    }
};

TEST_F(UnsavedChange, ClosingWithAChangeThatCouldNotBeSavedAsksAndNothingIsLost) {
    ASSERT_TRUE(window->parts().session.unsavedChange());

    // Closing the question keeps the window open.
    SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window->hwnd()));
    ASSERT_EQ(prompter.offered.size(), 1u);
    EXPECT_NE(prompter.offered[0].find(record), std::wstring::npos);

    // Trying again while the file is still held fails and asks again; a new record then takes it.
    prompter.choices = {0, 1};
    SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    LetGo();
    EXPECT_FALSE(IsWindow(window->hwnd()));
    EXPECT_EQ(prompter.offered.size(), 3u);
    EXPECT_EQ(prompter.told.size(), 2u);  // the first failure and the failed retry
    EXPECT_EQ(FileBytes(record), before);
    std::vector<std::wstring> names = ListRecordNames(folder());
    ASSERT_EQ(names.size(), 2u);
    ShownRecord saved;
    ASSERT_EQ(ReadRecordFile(saved, RecordPath(names[0] == L"Dec 08,2026_001" ? names[1] : names[0])),
              ReadOutcome::Complete);
    EXPECT_EQ(saved.items.Count(), 2);
}

TEST_F(UnsavedChange, DiscardingAnUnsavedChangeClosesWithoutWriting) {
    LetGo();
    prompter.choices = {2};
    SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window->hwnd()));
    EXPECT_EQ(FileBytes(record), before);
    EXPECT_EQ(ListRecordNames(folder()).size(), 1u);
}

// The same, with a second record in the list for the user to click while the change is not saved.
class UnsavedChangeAndAnotherRecord : public UnsavedChange {
protected:
    std::wstring other;
    std::string otherBefore;
    void SetUp() override {
        other = RecordPath(L"Dec 08,2026_002");
        WriteTestRecord(other, {{L"other", L"C:\\other.txt"}});
        otherBefore = FileBytes(other);
        UnsavedChange::SetUp();
    }
    // Clicks the list's entry `index` with the mouse, as the user does.
    void ClickRecord(int index) {
        HWND list = window->parts().LbRECs;
        RECT r{};
        ASSERT_NE(SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)), LB_ERR);
        LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(list, WM_LBUTTONUP, 0, at);
        PumpUntilIdle(*window);
    }
    int SavedItems(const std::wstring& path) {
        ShownRecord r;
        EXPECT_EQ(ReadRecordFile(r, path), ReadOutcome::Complete);
        return r.items.Count();
    }
};

TEST_F(UnsavedChangeAndAnotherRecord, ClosingTheQuestionKeepsTheShownRecordAndDiscardingShowsTheClickedOne) {
    ASSERT_TRUE(window->parts().session.unsavedChange());
    ASSERT_EQ(window->parts().session.currentRecordPath(), record);

    // The question that closing asks; closed, nothing changes.
    ClickRecord(1);
    ASSERT_EQ(prompter.offered.size(), 1u);
    EXPECT_NE(prompter.offered[0].find(record), std::wstring::npos);
    EXPECT_EQ(window->parts().session.currentRecordPath(), record);
    EXPECT_EQ(window->parts().records.SelectedIndex(), 0);
    EXPECT_EQ(window->parts().records.SelectedNames(), std::vector<std::wstring>{L"Dec 08,2026_001"});
    EXPECT_EQ(TopCaptions(window->parts().pages.views().TVDocs), (std::vector<std::wstring>{L"a", L"handed.txt"}));
    EXPECT_TRUE(window->parts().session.unsavedChange());

    // Discarded: the clicked record is shown, and neither file is written.
    prompter.choices = {2};
    ClickRecord(1);
    EXPECT_EQ(prompter.offered.size(), 2u);
    EXPECT_EQ(window->parts().session.currentRecordPath(), other);
    EXPECT_EQ(window->parts().records.SelectedIndex(), 1);
    EXPECT_EQ(TopCaptions(window->parts().pages.views().TVDocs), std::vector<std::wstring>{L"other"});
    EXPECT_FALSE(window->parts().session.unsavedChange());
    LetGo();
    EXPECT_EQ(FileBytes(record), before);
    EXPECT_EQ(FileBytes(other), otherBefore);
    EXPECT_EQ(ListRecordNames(folder()).size(), 2u);

    // With nothing unsaved, another click asks nothing.
    ClickRecord(0);
    EXPECT_EQ(prompter.offered.size(), 2u);
    EXPECT_EQ(window->parts().session.currentRecordPath(), record);
}

TEST_F(UnsavedChangeAndAnotherRecord, TryingAgainSavesIntoTheShownRecordNotTheClickedOne) {
    // Still held: the retry fails and asks again; let go, the next retry goes through.
    prompter.choices = {0};
    ClickRecord(1);
    EXPECT_EQ(prompter.offered.size(), 2u);  // asked again after the failed retry, then closed
    EXPECT_EQ(window->parts().session.currentRecordPath(), record);
    LetGo();
    prompter.choices = {0};
    ClickRecord(1);
    EXPECT_EQ(prompter.offered.size(), 3u);
    EXPECT_EQ(SavedItems(record), 2);
    EXPECT_EQ(FileBytes(other), otherBefore);
    EXPECT_EQ(window->parts().session.currentRecordPath(), other);
    EXPECT_EQ(window->parts().records.SelectedIndex(), 1);
    EXPECT_EQ(TopCaptions(window->parts().pages.views().TVDocs), std::vector<std::wstring>{L"other"});
    EXPECT_EQ(prompter.unscripted, 0);
}

TEST_F(UnsavedChangeAndAnotherRecord, SavingAsANewRecordKeepsBothFilesAndShowsTheClickedOne) {
    prompter.choices = {1};
    ClickRecord(1);
    EXPECT_EQ(prompter.offered.size(), 1u);
    LetGo();
    EXPECT_EQ(FileBytes(record), before);
    EXPECT_EQ(FileBytes(other), otherBefore);
    std::vector<std::wstring> names = ListRecordNames(folder());
    ASSERT_EQ(names.size(), 3u);
    std::wstring created;
    for (const auto& n : names)
        if (n != L"Dec 08,2026_001" && n != L"Dec 08,2026_002") created = RecordPath(n);
    ASSERT_FALSE(created.empty());
    EXPECT_EQ(SavedItems(created), 2);
    // The clicked record is shown, selected by its name wherever the new record was listed.
    EXPECT_EQ(window->parts().session.currentRecordPath(), other);
    ASSERT_GE(window->parts().records.SelectedIndex(), 0);
    EXPECT_EQ(window->parts().records.Name(window->parts().records.SelectedIndex()), L"Dec 08,2026_002");
    EXPECT_EQ(TopCaptions(window->parts().pages.views().TVDocs), std::vector<std::wstring>{L"other"});
}

namespace {

// A desktop with one running program and nothing else.
struct OneProgram : RecordingSources {
    std::wstring program;
    struct NoFolders : RecentFolderReader {
        std::vector<ListedEntry> List(const std::wstring&, size_t) override { return {}; }
        bool LastWriteDays(const std::wstring&, double&) override { return false; }
        double NowDays() override { return 0; }
    } reader;
    std::function<void()> duringScan;
    explicit OneProgram(std::wstring p, std::function<void()> during = nullptr)
        : program(std::move(p)), duringScan(std::move(during)) {}
    std::vector<ProgramPair> RunningPrograms(const StartupFilter&) override {
        if (duringScan) duringScan();
        return {{program, L"Tool"}};
    }
    std::vector<LocationPair> OpenLocations(bool) override { return {}; }
    std::vector<PagePair> OtherBrowserPages() override { return {}; }
    void RecentDocuments(RecentDocumentList& list, const RecentScanOptions&, ResolutionMachine&) override {
        list.Clear();
    }
    std::vector<std::wstring> InstalledProgramPaths() override { return {}; }
    std::vector<std::wstring> ProgramMenuFolders() override { return {}; }
    RecentFolderReader& FolderReader() override { return reader; }
};

}  // namespace

TEST_F(MainWindowRecords, TheRecordButtonAsksAndAClosedQuestionChangesNothing) {
    WriteTestRecord(RecordPath(L"Dec 08,2026_001"), {{L"a", L"C:\\a.txt"}});
    Open();
    tvtest::TempFolder apps;
    const std::wstring tool = apps.file(L"tool.tvx");
    ASSERT_TRUE(WriteTextLines(tool, {L"x"}));
    window->parts().recording.sources = [tool] { return std::make_unique<OneProgram>(tool); };
    std::vector<std::pair<std::wstring, std::wstring>> asked;
    bool confirm = false;
    std::wstring name;
    window->parts().recording.askRecord = [&](const std::wstring& newName, const std::wstring& selected,
                                        std::wstring& chosen, bool&) {
        asked.push_back({newName, selected});
        chosen = name;
        return confirm;
    };

    // Closed: no recording, and the next save still goes to the shown record.
    tvtest::RunCommand(window->hwnd(), kCmdRecord);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].second, L"Dec 08,2026_001");
    EXPECT_EQ(asked[0].first.substr(asked[0].first.size() - 4), L"_001");
    EXPECT_EQ(window->parts().records.Count(), 1);
    EXPECT_EQ(window->parts().session.currentRecordPath(), RecordPath(L"Dec 08,2026_001"));
    window->parts().session.AddItem(L"http://example.org/x", L"X");
    window->parts().session.SaveCurrentRecord();
    EXPECT_EQ(window->parts().records.Count(), 1);

    // Confirmed under a name of the user's: a new record with what the desktop shows. While
    // it runs, the progress strip shows its hint.
    confirm = true;
    name = L"My Day";
    bool stripShown = false, hintOnTop = false;
    std::wstring hint;
    // The strip lies over the foot of the views: the frozen tree keeps its size, and nothing
    // needs laying out again when the strip goes.
    auto placeOf = [&](HWND w) {
        RECT r;
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, window->hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT treeBefore = placeOf(window->parts().pages.views().TVDocs);
    RECT treeDuring{}, hintDuring{};
    window->parts().recording.sources = [&, tool] {
        return std::make_unique<OneProgram>(tool, [&] {
            stripShown = window->parts().progress.shown();
            hint = window->parts().progress.hint();
            treeDuring = placeOf(window->parts().pages.views().TVDocs);
            hintDuring = placeOf(window->parts().progress.PnlHint);
            POINT middle{(hintDuring.left + hintDuring.right) / 2, (hintDuring.top + hintDuring.bottom) / 2};
            hintOnTop =
                ChildWindowFromPointEx(window->hwnd(), middle, CWP_SKIPINVISIBLE) == window->parts().progress.PnlHint;
            RedrawWindow(window->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            tvtest::SaveScreenshot(tvtest::ScreenshotFolder() + L"\\main_window_recording.png");
        });
    };
    tvtest::RunCommand(window->hwnd(), kCmdRecord);
    EXPECT_TRUE(stripShown);
    EXPECT_EQ(hint, L"Loading running applications,please waiting...");
    EXPECT_TRUE(EqualRect(&treeDuring, &treeBefore));
    EXPECT_TRUE(hintOnTop);
    EXPECT_GT(hintDuring.bottom, treeBefore.bottom - 40);
    EXPECT_LE(hintDuring.bottom, treeBefore.bottom + 8);
    const RECT treeAfter = placeOf(window->parts().pages.views().TVDocs);
    EXPECT_TRUE(EqualRect(&treeAfter, &treeBefore));
    EXPECT_EQ(window->parts().session.currentRecordPath(), RecordPath(L"My Day"));
    EXPECT_EQ(window->parts().records.Count(), 2);
    EXPECT_EQ(TopCaptions(window->parts().pages.views().TVDocs), std::vector<std::wstring>{L"Tool"});
    EXPECT_FALSE(window->parts().progress.shown());
    EXPECT_EQ(window->parts().records.Name(window->parts().records.SelectedIndex()), L"My Day");

    // "Add to exist file": the selected record keeps its items and gains the new ones.
    window->parts().options.values.recordType = 1;
    Show(0);
    ASSERT_EQ(window->parts().session.currentRecordPath(), RecordPath(L"Dec 08,2026_001"));
    name = L"Dec 08,2026_001";
    tvtest::RunCommand(window->hwnd(), kCmdRecord);
    EXPECT_EQ(TopCaptions(window->parts().pages.views().TVDocs),
              (std::vector<std::wstring>{L"a", L"example.org", L"Tool"}));
    ShownRecord back;
    ASSERT_EQ(ReadRecordFile(back, RecordPath(L"Dec 08,2026_001")), ReadOutcome::Complete);
    std::vector<std::wstring> captions;
    for (const auto& n : back.docs.top()) captions.push_back(n->caption);
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"a", L"example.org", L"Tool"}));
    EXPECT_EQ(window->parts().records.Count(), 2);
}
