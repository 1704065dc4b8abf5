// Smart Record and the start-up filter list in the real main window, over a played desktop.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/settings_store.h"
#include "app/startup.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "records/record_file.h"
#include "records/record_library.h"
#include "records/record_items.h"
#include "records/record_tree.h"
#include "support/fake_prompter.h"
#include "support/played_desktop.h"
#include "support/scoped_reg_value.h"
#include "support/test_support.h"
#include "replay/recording_shell.h"
#include "ui/main/menus/main_menus.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/main/commands/recording_commands.h"
#include "ui/main/work/smart_record.h"
#include "ui/main/views/startup_filter_view.h"
#include "ui/message_pump.h"
#include "ui/window_text.h"
#include "app/settings_keys.h"

using namespace tv;

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

using tvtest::Desktop;
using tvtest::PlayedDesktop;

bool Ticked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::vector<std::wstring> SavedCaptions(const std::wstring& recordPath) {
    ShownRecord back;
    std::vector<std::wstring> captions;
    if (ReadRecordFile(back, recordPath) != ReadOutcome::Complete) return {L"(unreadable)"};
    for (const auto& n : back.docs.top()) captions.push_back(n->caption);
    return captions;
}

std::vector<std::wstring> SavedPaths(const std::wstring& recordPath) {
    ShownRecord back;
    std::vector<std::wstring> paths;
    if (ReadRecordFile(back, recordPath) != ReadOutcome::Complete) return {L"(unreadable)"};
    for (int i = 0; i < back.items.Count(); ++i) paths.push_back(back.items.At(i).path);
    return paths;
}

bool Holds(const std::vector<std::wstring>& list, const std::wstring& wanted) {
    for (const std::wstring& s : list)
        if (ToLower(s) == ToLower(wanted)) return true;
    return false;
}

FILETIME LastWrite(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a);
    return a.ftLastWriteTime;
}

// Sets a file's last-write time to a day long past, so that any write shows.
void MakeOld(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SYSTEMTIME st{2001, 1, 0, 1, 12, 0, 0, 0};
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
}

class SmartRecordWindow : public ::testing::Test {
protected:
    tvtest::ScopedDataFolders folders;
    tvtest::TempFolder dir, apps;
    Settings settings = OpenSettingsFiles();
    std::unique_ptr<TTolvaneWindow> window;
    tvtest::ScriptedPrompter prompter;
    Desktop desktop;

    std::wstring RecordPath(const std::wstring& name) const { return dir.file(name + L".tolvane"); }
    std::wstring Tool(const std::wstring& name) {
        std::wstring path = apps.file(name);
        EXPECT_TRUE(WriteTextLines(path, {L"x"}));
        return path;
    }
    // Writes a record with one program in it, so the window opens on a selected record.
    void WriteRecordWithOne(const std::wstring& name, const std::wstring& program) {
        ShownRecord r;
        TMyDoc d;
        d.kind = kProgramOrDocument;
        d.path = d.groupKey = program;
        d.title = L"First";
        r.docs.Add(nullptr, d.title, r.items.Append(d));
        ASSERT_TRUE(WriteRecordFile(r, RecordPath(name), L"test"));
    }
    void Open() {
        settings.user->WriteString(keys::kDefault, keys::kRecordPath, dir.path());
        window = std::make_unique<TTolvaneWindow>(settings, nullptr);
        window->parts().recording.askRecord = [](auto&&...) { return false; };
        window->parts().recording.sources = [this] { return std::make_unique<PlayedDesktop>(desktop); };
        ASSERT_TRUE(window->Create(GetModuleHandleW(nullptr)));
        window->parts().prompter = &prompter;
        window->Show(SW_SHOWNORMAL);
        for (int i = 0; i < 10; ++i, Sleep(20)) ProcessMessages();
        ASSERT_FALSE(Startup().startupPhase);  // the first-run step is over
    }
    SmartRecord& smart() { return window->parts().smart; }
    HWND box() { return GetDlgItem(window->hwnd(), kCmdSmartRecord); }
    HWND slider() { return FindWindowExW(window->hwnd(), nullptr, TRACKBAR_CLASSW, nullptr); }
    // The user clicks the box.
    void ClickBox() { SendMessageW(box(), BM_CLICK, 0, 0); }
    // Smart Record switched on without its question.
    void SwitchOnQuietly() {
        window->parts().options.values.askWhenSmartRecord = false;
        ClickBox();
        ASSERT_TRUE(smart().on());
    }
    bool MenuChecked() {
        return (GetMenuState(window->parts().menus.MainMenu1, kCmdSmartRecord, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    void TearDown() override {
        if (window && IsWindow(window->hwnd())) DestroyWindow(window->hwnd());
        window.reset();
        MSG m;
        while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
};

}  // namespace

TEST_F(SmartRecordWindow, ACancelledQuestionLeavesItOffAndStoredOffAConfirmedOneRecordsAndStartsTheTimer) {
    WriteRecordWithOne(L"Dec 08,2026_001", Tool(L"first.tvx"));
    desktop.windows = {{Tool(L"tool.tvx"), L"Tool"}};
    Open();
    settings.user->WriteBool(keys::kDefault, keys::kSmartRecord, true);  // so that a write of "off" shows
    window->parts().options.values.askWhenSmartRecord = true;

    // The program's own question, closed by the user.
    bool asked = false;
    tvtest::RunSoon([&] {
        HWND question = FindWindowW(L"TFrmSmartRecordSettings", nullptr);
        asked = question != nullptr;
        if (question) PostMessageW(question, WM_CLOSE, 0, 0);
    }, 200);
    ClickBox();
    EXPECT_TRUE(asked);
    EXPECT_FALSE(Ticked(box()));
    EXPECT_FALSE(MenuChecked());
    EXPECT_FALSE(settings.user->ReadBool(keys::kDefault, keys::kSmartRecord, true));
    EXPECT_FALSE(smart().timerEnabled());
    EXPECT_FALSE(smart().panelShown());
    EXPECT_EQ(desktop.scans, 0);

    // Confirmed with 5 seconds: one recording at once, then the timer at the chosen interval.
    const int storedInterval = window->parts().options.values.recordInterval;
    int shownInterval = 0;
    smart().askSmartRecord = [&](int interval, int& chosen) {
        shownInterval = interval;
        chosen = 5;
        return true;
    };
    tvtest::RunCommand(window->hwnd(), kCmdSmartRecord);  // the menu item this time: the box follows it
    EXPECT_EQ(shownInterval, storedInterval);
    EXPECT_EQ(window->parts().options.values.recordInterval, 5);
    EXPECT_TRUE(Ticked(box()));
    EXPECT_TRUE(MenuChecked());
    EXPECT_EQ(desktop.scans, 1);
    EXPECT_TRUE(smart().timerEnabled());
    EXPECT_EQ(smart().timerInterval(), 5000u);
    EXPECT_EQ(TextOf(smart().lbRecording), L"Record Every 5 seconds");
    EXPECT_TRUE(smart().panelShown());
    EXPECT_TRUE(settings.user->ReadBool(keys::kDefault, keys::kSmartRecord, false));
    EXPECT_EQ(settings.user->ReadInteger(keys::kDefault, keys::kRecordInterval, 0), 5);
    // The panel fits in the window, label and slider.
    RECT panel{}, client{};
    GetWindowRect(slider(), &panel);
    MapWindowPoints(nullptr, window->hwnd(), reinterpret_cast<POINT*>(&panel), 2);
    GetClientRect(window->hwnd(), &client);
    EXPECT_LE(panel.right, client.right);
    EXPECT_GE(panel.right - panel.left, MulDiv(SmartRecord::kSliderLeast, ScreenDpi(), 96) / 2);

    // Off by the box: the timer stops at once and the panel goes.
    ClickBox();
    EXPECT_FALSE(smart().timerEnabled());
    EXPECT_FALSE(smart().panelShown());
    EXPECT_FALSE(MenuChecked());
    EXPECT_FALSE(settings.user->ReadBool(keys::kDefault, keys::kSmartRecord, true));
}

TEST_F(SmartRecordWindow, TheSliderChangesTheRunningTimerAndTheLabelAtOnce) {
    Open();
    SwitchOnQuietly();
    SendMessageW(slider(), TBM_SETPOS, TRUE, 60);
    SendMessageW(window->hwnd(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 60), reinterpret_cast<LPARAM>(slider()));
    EXPECT_EQ(smart().timerInterval(), 60000u);
    EXPECT_TRUE(smart().timerEnabled());
    EXPECT_EQ(TextOf(smart().lbRecording), L"Record Every 60 seconds");
    EXPECT_EQ(settings.user->ReadInteger(keys::kDefault, keys::kRecordInterval, 0), 60);
    EXPECT_EQ(window->parts().options.values.recordInterval, 60);
    // The options setting it (a confirmed settings dialog) moves the same slider.
    window->parts().options.values.recordInterval = 3;
    window->parts().options.SaveAndApply();
    EXPECT_EQ(smart().timerInterval(), 3000u);
    EXPECT_EQ(TextOf(smart().lbRecording), L"Record Every 3 seconds");
}

TEST_F(SmartRecordWindow, TicksAddWhatIsNewToTheSelectedRecordAndSaveNothingWhenNothingIsNew) {
    const std::wstring first = Tool(L"first.tvx");
    WriteRecordWithOne(L"Dec 08,2026_001", first);
    const std::wstring tool = Tool(L"tool.tvx");
    desktop.windows = {{tool, L"Tool"}};
    Open();
    const std::wstring record = RecordPath(L"Dec 08,2026_001");
    ASSERT_EQ(window->parts().records.SelectedIndex(), 0);
    SwitchOnQuietly();
    // Switching on recorded at once into the selected record, keeping what it held.
    EXPECT_EQ(SavedCaptions(record), (std::vector<std::wstring>{L"First", L"Tool"}));
    EXPECT_EQ(window->parts().records.Count(), 1);

    // A document opened meanwhile: the next tick adds it and saves the selected record.
    const std::wstring doc = Tool(L"notes.txt");
    desktop.documents.push_back(doc);
    HWND tree = window->parts().pages.views().TVDocs;
    UpdateWindow(tree);
    smart().TimerContinueRecordTimer();
    EXPECT_TRUE(Holds(SavedPaths(record), doc));
    EXPECT_EQ(window->parts().records.Count(), 1);
    EXPECT_TRUE(GetUpdateRect(tree, nullptr, FALSE));  // the tree shows the new node

    // Nothing new: the file is not written, and the tree is not painted again.
    MakeOld(record);
    const FILETIME before = LastWrite(record);
    const int scansBefore = desktop.scans;
    UpdateWindow(tree);
    smart().TimerContinueRecordTimer();
    EXPECT_FALSE(GetUpdateRect(tree, nullptr, FALSE));
    EXPECT_EQ(desktop.scans, scansBefore + 1);
    const FILETIME after = LastWrite(record);
    EXPECT_EQ(CompareFileTime(&before, &after), 0);
    EXPECT_EQ(window->parts().records.Count(), 1);
    // Every scan of Smart Record kept the recent-document list of the scan before.
    EXPECT_EQ(desktop.keepModes, std::vector<bool>(desktop.keepModes.size(), true));
    EXPECT_EQ(desktop.keepModes.size(), 3u);
}

TEST_F(SmartRecordWindow, ATickDuringARecordingIsDroppedAndAFailingTickStopsTheTimer) {
    desktop.windows = {{Tool(L"tool.tvx"), L"Tool"}};
    Open();
    SwitchOnQuietly();
    ASSERT_EQ(desktop.scans, 1);

    // A tick delivered while a tick's recording lets the queue run is not a second recording.
    int nested = 0;
    desktop.duringScan = [&] {
        ++nested;
        smart().TimerContinueRecordTimer();
        SendMessageW(window->hwnd(), WM_TIMER, 2, 0);
    };
    smart().TimerContinueRecordTimer();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(desktop.scans, 2);
    desktop.duringScan = nullptr;
    EXPECT_TRUE(smart().timerEnabled());

    // A tick that fails stops the timer; the box stays ticked.
    window->parts().recording.sources = []() -> std::unique_ptr<RecordingSources> { throw std::runtime_error("gone"); };
    smart().TimerContinueRecordTimer();
    EXPECT_FALSE(smart().timerEnabled());
    EXPECT_TRUE(smart().on());
    EXPECT_FALSE(window->parts().work.busy());
    // Off and on again starts it once more.
    window->parts().recording.sources = [this] { return std::make_unique<PlayedDesktop>(desktop); };
    ClickBox();
    ClickBox();
    EXPECT_TRUE(smart().timerEnabled());
}

TEST_F(SmartRecordWindow, TheRecordButtonSwitchesSmartRecordOffFirst) {
    desktop.windows = {{Tool(L"tool.tvx"), L"Tool"}};
    Open();
    SwitchOnQuietly();
    window->parts().options.values.askWhenRecord = false;
    const int scans = desktop.scans;
    tvtest::RunCommand(window->hwnd(), kCmdRecord);
    EXPECT_FALSE(smart().on());
    EXPECT_FALSE(smart().timerEnabled());
    EXPECT_FALSE(MenuChecked());
    EXPECT_FALSE(settings.user->ReadBool(keys::kDefault, keys::kSmartRecord, true));
    EXPECT_EQ(desktop.scans, scans + 1);  // and then it records
    ASSERT_FALSE(desktop.keepModes.empty());
    EXPECT_FALSE(desktop.keepModes.back());  // from an emptied list
}

TEST_F(SmartRecordWindow, TheStartupPhaseSwitchesOnWithoutAsking) {
    Open();
    bool asked = false;
    smart().askSmartRecord = [&](int, int&) { return asked = true; };
    window->parts().options.values.askWhenSmartRecord = true;
    Startup().startupPhase = true;  // as while the first-run step restores it
    smart().SetChecked(true);
    EXPECT_FALSE(asked);
    EXPECT_FALSE(Startup().startupPhase);
    EXPECT_EQ(desktop.scans, 1);
    EXPECT_TRUE(smart().timerEnabled());
    // Setting the same state again changes nothing and records nothing.
    smart().SetChecked(true);
    EXPECT_EQ(desktop.scans, 1);
}

// ---- the start-up filter list ----------------------------------------------------------------

class StartupFilterWindow : public SmartRecordWindow {
protected:
    tvtest::ScopedRegValue entry{HKEY_CURRENT_USER, kRunKey, L"TolvaneSmartRecordTest"};
    std::wstring started;
    void SetUp() override {
        started = Tool(L"starter.exe");
        ASSERT_TRUE(entry.SetText(L"\"" + started + L"\" /background"));
    }
    HWND list() { return window->parts().filter.LvAutoRunFilter; }
    int Rows() { return ListView_GetItemCount(list()); }
    std::wstring Cell(int row, int column) {
        wchar_t buf[MAX_PATH] = {};
        ListView_GetItemText(list(), row, column, buf, MAX_PATH);
        return buf;
    }
    void SelectAll() { ListView_SetItemState(list(), -1, LVIS_SELECTED, LVIS_SELECTED); }
};

TEST_F(StartupFilterWindow, TwoWindowsOfAStartupProgramGiveOneRowShownUnderTheTreeAndNotRecorded) {
    const std::wstring tool = Tool(L"tool.tvx");
    desktop.windows = {{started, L"Starter main"}, {tool, L"Tool"}, {started, L"Starter other"}};
    Open();
    window->parts().options.values.filterWindowsStart = true;
    window->parts().options.values.showStartFilterList = true;
    window->parts().options.values.askWhenRecord = false;
    tvtest::RunCommand(window->hwnd(), kCmdRecord);

    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 0), L"Starter main");
    EXPECT_EQ(ToLower(Cell(0, 1)), ToLower(started));
    EXPECT_TRUE(window->parts().filter.shown());
    EXPECT_TRUE(IsWindowVisible(window->parts().filter.gbFilterAutoStart));
    EXPECT_EQ(TextOf(window->parts().filter.gbFilterAutoStart),
              L"Filter Startup Programs - You can drag to the top of the list...");
    // Laid out under the record tree, not over it.
    RECT tree{}, group{};
    GetWindowRect(window->parts().pages.views().TVDocs, &tree);
    GetWindowRect(window->parts().filter.gbFilterAutoStart, &group);
    EXPECT_LE(tree.bottom, group.top);
    const std::wstring record = window->parts().session.currentRecordPath();
    EXPECT_FALSE(Holds(SavedPaths(record), started));
    EXPECT_TRUE(Holds(SavedPaths(record), tool));

    // Smart Record keeps the list; a recording by hand begins it anew.
    SwitchOnQuietly();
    EXPECT_EQ(Rows(), 1);
    desktop.windows = {{tool, L"Tool"}};
    tvtest::RunCommand(window->hwnd(), kCmdRecord);
    EXPECT_EQ(Rows(), 0);
    EXPECT_FALSE(window->parts().filter.shown());
    // With the filter off the program is recorded like any other.
    window->parts().options.values.filterWindowsStart = false;
    desktop.windows = {{started, L"Starter main"}};
    tvtest::RunCommand(window->hwnd(), kCmdRecord);
    EXPECT_EQ(Rows(), 0);
    EXPECT_TRUE(Holds(SavedPaths(window->parts().session.currentRecordPath()), started));
}

TEST_F(StartupFilterWindow, AddToRecordAndDroppingOnTheTreeAddAndSaveTheSelectedRecord) {
    WriteRecordWithOne(L"Dec 08,2026_001", Tool(L"first.tvx"));
    const std::wstring second = Tool(L"second.exe");
    tvtest::ScopedRegValue secondEntry(HKEY_CURRENT_USER, kRunKey, L"TolvaneSmartRecordTest2");
    ASSERT_TRUE(secondEntry.SetText(second));
    desktop.windows = {{started, L"Starter"}, {second, L"Second"}};
    Open();
    window->parts().options.values.showStartFilterList = true;
    const std::wstring record = RecordPath(L"Dec 08,2026_001");
    ASSERT_EQ(window->parts().records.SelectedIndex(), 0);
    SwitchOnQuietly();  // adds to the selected record, nothing to add but the filtered ones
    ASSERT_EQ(Rows(), 2);
    EXPECT_FALSE(Holds(SavedPaths(record), started));

    ListView_SetItemState(list(), 0, LVIS_SELECTED, LVIS_SELECTED);
    window->parts().filter.AddtoRecord1Click();
    EXPECT_TRUE(Holds(SavedPaths(record), started));
    EXPECT_FALSE(Holds(SavedPaths(record), second));
    EXPECT_EQ(window->parts().records.Count(), 1);
    EXPECT_EQ(window->parts().records.SelectedIndex(), 0);

    // Dropped beside the tree: nothing. Dropped on it: the selected rows are added.
    ListView_SetItemState(list(), -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list(), 1, LVIS_SELECTED, LVIS_SELECTED);
    RECT r{};
    GetWindowRect(list(), &r);
    EXPECT_FALSE(window->parts().filter.DropAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    EXPECT_FALSE(Holds(SavedPaths(record), second));
    GetWindowRect(window->parts().pages.views().TVDocs, &r);
    EXPECT_TRUE(window->parts().filter.DropAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    EXPECT_TRUE(Holds(SavedPaths(record), second));
}

TEST_F(StartupFilterWindow, OpenAndOpenContainerFolderHandTheRowsToTheShell) {
    desktop.windows = {{started, L"Starter"}};
    Open();
    window->parts().options.values.askWhenRecord = false;
    tvtest::RunCommand(window->hwnd(), kCmdRecord);
    ASSERT_EQ(Rows(), 1);
    tvtest::RecordingShell shell;
    window->parts().filter.UseShell(shell);
    SelectAll();
    window->parts().filter.Open3Click();
    ASSERT_FALSE(shell.calls.empty());
    EXPECT_EQ(ToLower(shell.calls.back().file), ToLower(started));
    shell.calls.clear();
    window->parts().filter.OpencontainerFolder1Click();
    ASSERT_FALSE(shell.calls.empty());
    // The folder as Explorer is to read it once the shell has quoted it.
    EXPECT_EQ(ToLower(tvtest::ArgumentAsReceived(shell.calls.back().file)), ToLower(apps.path()));
}

TEST_F(StartupFilterWindow, TheProgramEndingDuringADragEndsItAndLeavesTheQuitForTheMainLoop) {
    desktop.windows = {{started, L"Starter"}};
    Open();
    window->parts().options.values.askWhenRecord = false;
    tvtest::RunCommand(window->hwnd(), kCmdRecord);  // the list is made with its first rows
    ASSERT_EQ(Rows(), 1);
    tvtest::DropQuitMessages();  // one left by an earlier test would end the drag at once
    NMHDR begin{list(), 0, LVN_BEGINDRAG};
    PostQuitMessage(5);
    SendMessageW(window->hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&begin));
    EXPECT_NE(GetCapture(), list());
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 5u);
}

TEST_F(StartupFilterWindow, Screenshot) {
    WriteRecordWithOne(L"Dec 08,2026_001", Tool(L"first.tvx"));
    desktop.windows = {{started, L"Starter - a program Windows starts"}, {Tool(L"tool.tvx"), L"Tool"}};
    Open();
    window->parts().options.values.showStartFilterList = true;
    SwitchOnQuietly();
    ASSERT_TRUE(window->parts().filter.shown());
    RedrawWindow(window->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int i = 0; i < 5; ++i, Sleep(20)) ProcessMessages();
    EXPECT_TRUE(tvtest::SaveScreenshot(tvtest::ScreenshotFolder() + L"\\main_window_smart_record.png"));
    EXPECT_TRUE(tvtest::ClippedCaptions(window->hwnd()).empty());
}

TEST(SmartRecordPanel, TheWindowWidensToThePanelAndStaysOnTheScreen) {
    // Room enough: nothing moves.
    WindowSpan span = SpanForPanel({100, 800}, 600, 1280);
    EXPECT_EQ(span.left, 100);
    EXPECT_EQ(span.width, 800);
    // The panel reaches the window's edge: the window widens to it, and stays where it is.
    span = SpanForPanel({100, 800}, 800, 1280);
    EXPECT_EQ(span.left, 100);
    EXPECT_EQ(span.width, 800);
    span = SpanForPanel({100, 800}, 900, 1280);
    EXPECT_EQ(span.left, 100);
    EXPECT_EQ(span.width, 900);
    // Widened past the screen's right edge: moved left, 5 pixels short of it.
    span = SpanForPanel({500, 700}, 900, 1280);
    EXPECT_EQ(span.width, 900);
    EXPECT_EQ(span.left, 1280 - 900 - 5);
    // Already touching the edge counts as passing it.
    span = SpanForPanel({580, 700}, 100, 1280);
    EXPECT_EQ(span.left, 1280 - 700 - 5);
}

TEST_F(SmartRecordWindow, RecordingsTicksAndDropsSayInTheStatusBarWhatTheyAdded) {
    desktop.windows = {{Tool(L"tool.exe"), L"Tool"}, {Tool(L"edit.exe"), L"Edit"}};
    Open();
    auto said = [&] {
        wchar_t text[512] = {};
        SendMessageW(window->parts().status.hwnd(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
        return std::wstring(text);
    };
    window->parts().options.values.askWhenRecord = false;
    tvtest::RunCommand(window->hwnd(), kCmdRecord);
    const std::wstring record = RecordName(window->parts().session.currentRecordPath());
    ASSERT_FALSE(record.empty());
    EXPECT_EQ(said(), L"2 programs recorded into " + record);

    // Switched on, Smart Record finds nothing new at once: the status bar tells when it looked.
    SwitchOnQuietly();
    const std::wstring idle = L"Smart Record: nothing new at ";
    auto tellsTheTime = [&](const std::wstring& text) {
        return text.size() == idle.size() + 8 && text.compare(0, idle.size(), idle) == 0 && text[idle.size() + 2] == L':' &&
               text[idle.size() + 5] == L':';
    };
    EXPECT_PRED1(tellsTheTime, said());
    desktop.windows.push_back({Tool(L"third.exe"), L"Third"});
    smart().TimerContinueRecordTimer();
    EXPECT_EQ(said(), L"1 program recorded into " + record);
    smart().TimerContinueRecordTimer();
    EXPECT_PRED1(tellsTheTime, said());

    // Files dropped on the window: a folder and a file of no known type.
    window->parts().intakes.FilesDropped(std::vector<std::wstring>{apps.path(), Tool(L"notes.tvq")});
    EXPECT_EQ(said(), L"1 document, 1 folder added to " + record);
    window->parts().intakes.FilesDropped(std::vector<std::wstring>{apps.path()});
    EXPECT_EQ(said(), L"Nothing new added to " + record);
}
