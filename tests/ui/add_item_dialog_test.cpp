// The add-item dialog opened from the main window over record folders, Start-menu folders and
// a Recent folder the tests fill.
#include "ui/dialogs/add_item_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "app/shell_links.h"
#include "base/file_util.h"
#include "base/strings.h"
#include "capture/program_records.h"
#include "records/record_file.h"
#include "capture/windows_start.h"
#include "support/fake_options_host.h"
#include "support/fake_prompter.h"
#include "support/scoped_reg_value.h"
#include "support/test_support.h"
#include "ui/dialogs/dialog_parts.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/main/menus/main_menus.h"
#include "ui/message_pump.h"
#include "ui/window_text.h"

using namespace tv;

namespace {

std::vector<std::wstring> Column(HWND list, int column) {
    std::vector<std::wstring> out;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) out.push_back(ListViewText(list, row, column));
    return out;
}

void Touch(const std::wstring& path) { ASSERT_TRUE(tvtest::WriteAll(path, "x")); }

void Link(const std::wstring& link, const std::wstring& target) {
    ASSERT_TRUE(CreateShortcut(link, target, FolderOf(target)));
}

// Presses a mouse button on the middle of a list row as the user would, `times` times in a row.
void ClickRow(HWND list, int row, bool right = false, int times = 1) {
    RECT r{};
    ListView_GetItemRect(list, row, &r, LVIR_LABEL);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list, &p);
    SetCursorPos(p.x, p.y);
    std::vector<INPUT> inputs;
    for (int i = 0; i < times; ++i)
        for (DWORD flag : {right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN,
                           right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP}) {
            INPUT in{};
            in.type = INPUT_MOUSE;
            in.mi.dwFlags = flag;
            inputs.push_back(in);
        }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A left click on the middle of a control, as the user would make it.
void ClickCentre(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

// The menu a shortcut-menu key or click has opened; null when none shows.
HMENU ShownMenu() {
    HWND popup = FindWindowW(L"#32768", nullptr);
    return popup && IsWindowVisible(popup) ? reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)) : nullptr;
}

class AddItemDialog : public ::testing::Test {
protected:
    tvtest::ScopedDataFolders folders;
    tvtest::TempFolder records, userPrograms, machinePrograms, recent, targets;
    Settings settings = OpenSettingsFiles();
    std::unique_ptr<TTolvaneWindow> window;
    tvtest::ScriptedPrompter prompter;
    std::vector<std::wstring> pickerTitles;
    std::vector<std::wstring> opened;  // by the shortcut menu
    bool escapeWhenSearched = false;  // the user presses Escape as the installed programs are searched
    bool browseWhenSearched = false;  // the user clicks "&Browse" then
    std::vector<bool> pickedWhileLoading;
    std::wstring recordPath = records.file(L"Dec 08,2026_001.tolvane");

    void SetUp() override {
        ShownRecord r;
        TMyDoc d;
        d.kind = kProgramOrDocument;
        d.path = d.groupKey = L"C:\\windows\\notepad.exe";
        d.title = L"Notepad";
        r.docs.Add(nullptr, d.title, r.items.Append(d));
        ASSERT_TRUE(WriteRecordFile(r, recordPath, L"test"));
        settings.user->WriteString(keys::kDefault, keys::kRecordPath, records.path());
        window = std::make_unique<TTolvaneWindow>(settings, nullptr);
        window->parts().recording.askRecord = [](auto&&...) { return false; };
        AddItemSources& s = window->parts().addSources;
        s.programFolders = [this] {
            if (escapeWhenSearched) PostMessageW(dialog().EdtAction, WM_KEYDOWN, VK_ESCAPE, 0);
            if (browseWhenSearched) ClickCentre(dialog().BtnChoose);
            return std::vector<std::wstring>{userPrograms.path(), machinePrograms.path()};
        };
        s.recentFolder = [this] { return recent.path(); };
        s.runningPrograms = [] { return std::vector<ProgramPair>{{L"C:\\windows\\regedit.exe", L"Registry Editor"}}; };
        s.openLocations = [] { return std::vector<LocationPair>{{L"C:\\windows", L"windows"}}; };
        s.open = [this](const std::wstring& path) { opened.push_back(path); };
        s.picker = [this](HWND, const std::wstring& title, const std::wstring&) {
            pickerTitles.push_back(title);
            pickedWhileLoading.push_back(dialog().loading());
            return std::wstring(L"C:\\windows\\system32");
        };
        ASSERT_TRUE(window->Create(GetModuleHandleW(nullptr)));
        window->parts().prompter = &prompter;
        window->Show(SW_SHOWNORMAL);
        for (int i = 0; i < 10; ++i, Sleep(20)) ProcessMessages();
        ASSERT_EQ(window->parts().session.currentRecordPath(), recordPath);
    }
    void TearDown() override {
        if (window && IsWindow(window->hwnd())) DestroyWindow(window->hwnd());
        window.reset();
        tvtest::DropQuitMessages();
    }
    TFrmActionAdd& dialog() { return *window->parts().addDialog; }
    // Opens the dialog through "Add..." and runs `step` once its first page has loaded.
    void OpenAndThen(std::function<void(TFrmActionAdd&)> step) {
        tvtest::RunSoon([this, step] {
            TFrmActionAdd& d = dialog();
            ASSERT_TRUE(tvtest::WaitUntil([&] { return d.loadsDone() > loadsBefore_; }, 20000));
            step(d);
        });
        loadsBefore_ = window->parts().addDialog ? dialog().loadsDone() : 0;
        tvtest::RunCommand(window->hwnd(), kCmdAdd);
    }
    std::vector<std::wstring> RecordPaths() {
        ShownRecord back;
        EXPECT_EQ(ReadRecordFile(back, recordPath), ReadOutcome::Complete);
        std::vector<std::wstring> paths;
        for (int i = 0; i < back.items.Count(); ++i) paths.push_back(ToLower(back.items.At(i).path));
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    // Shortcuts in `folder` named as given, to files of `targets` made for them unless present.
    void Links(const tvtest::TempFolder& folder, const std::vector<std::pair<std::wstring, std::wstring>>& links) {
        for (const auto& [link, target] : links) {
            if (GetFileAttributesW(targets.file(target).c_str()) == INVALID_FILE_ATTRIBUTES) Touch(targets.file(target));
            Link(folder.file(link), targets.file(target));
        }
    }
    void Select(HWND list, const std::vector<int>& rows) {
        for (int row : rows) ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
    }
    bool StepsDone() const { return next_ >= steps_.size(); }
    void StorePage(int page) { settings.user->WriteInteger(keys::kAddDocumentForm, keys::kAddItemPage, page); }
    int Marker() { return settings.common->ReadInteger(keys::kStatus, keys::kOpenWindow, -1); }
    // A step of a test that drives the dialog through its own loop: what it does, and, where it
    // must wait for the program, when it may.
    struct Step {
        template <class F>
        Step(F f) : act(std::move(f)) {}
        Step(std::function<bool()> w, std::function<void()> f) : when(std::move(w)), act(std::move(f)) {}
        std::function<bool()> when;
        std::function<void()> act;
    };
    // Runs `steps` one after another from inside the loop the test enters next, 50 ms apart, so
    // each looks at what the keys and clicks of the one before have done.
    void RunSteps(std::vector<Step> steps) {
        steps_ = std::move(steps);
        next_ = 0;
        tvtest::RunSoon([this] { NextStep(); }, 50);
    }

private:
    void NextStep() {
        if (next_ >= steps_.size()) return;
        const Step& step = steps_[next_];
        if (!step.when || step.when()) {
            ++next_;
            waited_ = 0;
            step.act();
        } else if (++waited_ > 400) {
            ADD_FAILURE() << "step " << next_ << " waited 20 s in vain";
            return;
        }
        tvtest::RunSoon([this] { NextStep(); }, 50);
    }
    int loadsBefore_ = 0;
    int waited_ = 0;
    std::vector<Step> steps_;
    size_t next_ = 0;
};

}  // namespace

TEST_F(AddItemDialog, BlanksKeepItOpenInRedAndTheBoxesPairIsAddedOnceAndStored) {
    OpenAndThen([](TFrmActionAdd& d) {
        SetWindowTextW(d.EdtAction, L"   ");
        d.BtnAddClick();
        EXPECT_TRUE(IsWindowVisible(d.hwnd()));
        EXPECT_EQ(d.addressColour(), kRefusedBoxColour);
        EXPECT_EQ(GetFocus(), d.EdtAction);
        // An empty name takes the address; Enter confirms.
        SetWindowTextW(d.EdtAction, L"C:\\windows\\regedit.exe");
        SetWindowTextW(d.EdtName, L"");
        PostMessageW(d.EdtAction, WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_FALSE(IsWindowVisible(dialog().hwnd()));
    EXPECT_EQ(TextOf(dialog().EdtName), L"C:\\windows\\regedit.exe");
    EXPECT_EQ(RecordPaths(), (std::vector<std::wstring>{L"c:\\windows\\notepad.exe", L"c:\\windows\\regedit.exe"}));
    EXPECT_EQ(settings.user->ReadString(keys::kDefault, keys::kAddItemAddress, L""), L"C:\\windows\\regedit.exe");
    EXPECT_FALSE(settings.user->ReadBool(keys::kDefault, keys::kNeedAlterName, true));

    // The same address again is found in the record: nothing is added and the file is not written.
    const std::string before = tvtest::ReadAll(recordPath);
    OpenAndThen([](TFrmActionAdd& d) {
        EXPECT_EQ(TextOf(d.EdtAction), L"C:\\windows\\regedit.exe");  // the address remembered
        EXPECT_EQ(d.addressColour(), kInputBoxColour);
        SetWindowTextW(d.EdtAction, L"  c:\\WINDOWS\\regedit.exe ");
        d.BtnAddClick();
    });
    EXPECT_EQ(tvtest::ReadAll(recordPath), before);
}

TEST_F(AddItemDialog, CancelAndEscapeAddNothingAndEscapeStopsALoad) {
    for (const char* way : {"cancel", "escape"}) {
        OpenAndThen([way](TFrmActionAdd& d) {
            SetWindowTextW(d.EdtAction, L"C:\\windows\\winhlp32.exe");
            if (std::string(way) == "cancel") SendMessageW(d.SpeedButton1, BM_CLICK, 0, 0);
            else PostMessageW(d.EdtAction, WM_KEYDOWN, VK_ESCAPE, 0);
        });
        EXPECT_FALSE(IsWindowVisible(dialog().hwnd())) << way;
        EXPECT_EQ(RecordPaths().size(), 1u) << way;
    }
    // Escape while the installed programs are being searched ends the search and the dialog.
    Touch(targets.file(L"tool.exe"));
    for (int i = 0; i < 20; ++i) Link(userPrograms.file(L"tool" + std::to_wstring(i) + L".lnk"), targets.file(L"tool.exe"));
    escapeWhenSearched = true;
    OpenAndThen([](TFrmActionAdd&) {});
    EXPECT_FALSE(IsWindowVisible(dialog().hwnd()));
    EXPECT_EQ(ListView_GetItemCount(dialog().LvInstallPrograms), 0);
    EXPECT_FALSE(dialog().loading());
}

TEST_F(AddItemDialog, InstalledProgramsListProgramKindsOnlyAndTwoLoadsGiveTheSameRows) {
    ASSERT_TRUE(CreateDirectoryW(userPrograms.file(L"Tools").c_str(), nullptr));
    Links(userPrograms, {{L"Edit.lnk", L"edit.exe"}, {L"Tools\\Setup.lnk", L"setup.msi"}, {L"Run.lnk", L"run.bat"},
                         {L"TolVane.lnk", L"tolvane.exe"}, {L"Notes.lnk", L"notes.txt"}});
    // Edit is in both folders: two rows.
    Links(machinePrograms, {{L"Go.lnk", L"go.cmd"}, {L"Panel.lnk", L"panel.cpl"}, {L"Console.lnk", L"console.msc"},
                            {L"Edit.lnk", L"edit.exe"}});
    const std::vector<std::wstring> captions = {L"Console", L"Edit", L"Edit", L"Go", L"Panel", L"Run", L"Setup"};
    std::vector<std::wstring> first;
    OpenAndThen([&](TFrmActionAdd& d) {
        EXPECT_EQ(d.activePage(), TFrmActionAdd::kPageInstalled);
        EXPECT_EQ(Column(d.LvInstallPrograms, 0), captions);
        first = Column(d.LvInstallPrograms, 1);
        // "&Refresh" loads the page again.
        const int loads = d.loadsDone();
        SendMessageW(d.btnRefresh, BM_CLICK, 0, 0);
        EXPECT_EQ(d.loadsDone(), loads + 1);
        EXPECT_EQ(Column(d.LvInstallPrograms, 0), captions);
        EXPECT_EQ(Column(d.LvInstallPrograms, 1), first);
        SendMessageW(d.SpeedButton1, BM_CLICK, 0, 0);
    });
    ASSERT_EQ(first.size(), captions.size());
    EXPECT_TRUE(EqualsNoCase(first[0], targets.file(L"console.msc")));
}

TEST_F(AddItemDialog, RecentPagesSkipDeletedHiddenAndRecycledTargetsAndSelectedRowsAreAdded) {
    ASSERT_TRUE(CreateDirectoryW(targets.file(L"Photos").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(targets.file(L"$Recycle.Bin").c_str(), nullptr));
    Links(recent, {{L"plan.lnk", L"plan.txt"}, {L"budget.lnk", L"budget.txt"}, {L"gone.lnk", L"gone.txt"},
                   {L"secret.lnk", L"secret.txt"}, {L"thrown.lnk", L"$Recycle.Bin\\thrown.txt"},
                   {L"Photos.lnk", L"Photos"}});
    ASSERT_TRUE(DeleteFileW(targets.file(L"gone.txt").c_str()));
    ASSERT_TRUE(SetFileAttributesW(targets.file(L"secret.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    settings.user->WriteInteger(keys::kAddDocumentForm, keys::kAddItemPage, TFrmActionAdd::kPageRecentDocuments);

    OpenAndThen([&](TFrmActionAdd& d) {
        EXPECT_EQ(d.activePage(), TFrmActionAdd::kPageRecentDocuments);
        EXPECT_EQ(Column(d.LbRecentDocuments, 0), (std::vector<std::wstring>{L"budget", L"plan"}));
        EXPECT_EQ(Column(d.LvRecentFolders, 0), (std::vector<std::wstring>{L"Photos"}));
        // A click on a row fills the boxes; with rows selected the boxes are not added.
        Select(d.LbRecentDocuments, {0, 1});
        SetWindowTextW(d.EdtAction, L"C:\\windows\\winhlp32.exe");
        d.BtnAddClick();
    });
    const std::vector<std::wstring> paths = RecordPaths();
    EXPECT_EQ(paths, (std::vector<std::wstring>{ToLower(targets.file(L"budget.txt")), ToLower(targets.file(L"plan.txt")),
                                                L"c:\\windows\\notepad.exe"}));
    EXPECT_EQ(settings.user->ReadInteger(keys::kAddDocumentForm, keys::kAddItemPage, -1),
              TFrmActionAdd::kPageRecentDocuments);
}

TEST_F(AddItemDialog, KeysTurnPagesSelectAllReachEveryControlAndBrowseFillsTheBoxes) {
    // Each key goes through the dialog's own loop: a step presses it, the next looks at the result.
    std::vector<Step> steps = {
        [&] {
            TFrmActionAdd& d = dialog();
            // Tab goes round the address box, the buttons, the tabs and the shown list (the name
            // box is disabled until "Alter Name" is ticked).
            std::vector<HWND> reached;
            HWND at = d.EdtAction;
            for (int i = 0; i < 8; ++i, at = GetNextDlgTabItem(d.hwnd(), at, FALSE)) reached.push_back(at);
            EXPECT_EQ(reached, (std::vector<HWND>{d.EdtAction, d.BtnChoose, d.btnRefresh, d.BtnAdd, d.SpeedButton1,
                                                   d.PageControl1, d.LvInstallPrograms, d.EdtAction}));
            EXPECT_FALSE(IsWindowEnabled(d.EdtName));
            SetFocus(d.EdtAction);
            tvtest::PressKey(VK_TAB, false, true);
        },
        [&] {
            TFrmActionAdd& d = dialog();
            // Ctrl+Tab turned to the running programs and loaded them; the page is stored.
            EXPECT_EQ(d.activePage(), TFrmActionAdd::kPageRunning);
            EXPECT_EQ(Column(d.LbApps, 0), (std::vector<std::wstring>{L"Registry Editor"}));
            EXPECT_EQ(settings.user->ReadInteger(keys::kAddDocumentForm, keys::kAddItemPage, -1),
                      TFrmActionAdd::kPageRunning);
            tvtest::PressKey(VK_TAB, false, true);
        },
        [&] {
            TFrmActionAdd& d = dialog();
            EXPECT_EQ(d.activePage(), TFrmActionAdd::kPageOpen);
            EXPECT_EQ(Column(d.LbFiles, 1), (std::vector<std::wstring>{L"C:\\windows"}));
            SetFocus(d.LbFiles);
            tvtest::PressKey('A', false, true);
        },
        [&] {
            TFrmActionAdd& d = dialog();
            EXPECT_EQ(ListView_GetSelectedCount(d.LbFiles), 1u);  // Ctrl+A selected every row
            tvtest::PressKey('B', false, false, true);
        },
        [&] {
            TFrmActionAdd& d = dialog();
            // Alt+B browsed from Program Files and filled both boxes.
            ASSERT_EQ(pickerTitles.size(), 1u);
            EXPECT_EQ(pickerTitles[0].rfind(L"Please Select a Path,Current path is ", 0), 0u);
            EXPECT_EQ(TextOf(d.EdtAction), L"C:\\windows\\system32\\");
            EXPECT_EQ(TextOf(d.EdtName), L"system32");
            tvtest::PressKey(VK_ESCAPE);
        },
    };
    OpenAndThen([&](TFrmActionAdd&) { RunSteps(steps); });
    EXPECT_FALSE(IsWindowVisible(dialog().hwnd()));
    EXPECT_EQ(RecordPaths().size(), 1u);
}

TEST_F(AddItemDialog, RunningPageLeavesOutFilteredProgramsAndRowsAnswerClicksAndDoubleClicks) {
    // A program Windows starts, held back in the start-up filter list, and the program itself
    // give no row.
    tvtest::ScopedRegValue run{HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                               L"TolvaneAddItemTest"};
    ASSERT_TRUE(run.SetText(L"C:\\windows\\winhlp32.exe"));
    TWindowsStartMan startMan;
    ASSERT_TRUE(window->parts().filter.rows().Filter(L"C:\\windows\\winhlp32.exe", L"Help", true, startMan));
    window->parts().addSources.runningPrograms = [] {
        return std::vector<ProgramPair>{{L"C:\\windows\\winhlp32.exe", L"Help"},
                                        {L"C:\\windows\\regedit.exe", L"Registry Editor"},
                                        {L"C:\\Program Files\\TolVane\\TolVane.exe", L"TolVane"}};
    };
    StorePage(TFrmActionAdd::kPageRunning);
    OpenAndThen([&](TFrmActionAdd& d) {
        EXPECT_EQ(Column(d.LbApps, 0), std::vector<std::wstring>{L"Registry Editor"});
        RunSteps({
            [&] { ClickRow(d.LbApps, 0); },
            [&] {
                // A click fills the boxes from the row.
                EXPECT_EQ(TextOf(d.EdtAction), L"C:\\windows\\regedit.exe");
                EXPECT_EQ(TextOf(d.EdtName), L"Registry Editor");
                ClickRow(d.LbApps, 0, false, 2);
            },
        });
    });
    // The double click confirmed: the row was added and the dialog closed.
    EXPECT_FALSE(IsWindowVisible(dialog().hwnd()));
    EXPECT_EQ(RecordPaths(), (std::vector<std::wstring>{L"c:\\windows\\notepad.exe", L"c:\\windows\\regedit.exe"}));
}

TEST_F(AddItemDialog, ShortcutMenuOnRowsAndTabsOpensTheRowOrItsFolderAndF5Reloads) {
    StorePage(TFrmActionAdd::kPageOpen);
    std::vector<HMENU> menus;
    int loads = 0;
    OpenAndThen([&](TFrmActionAdd& d) {
        RunSteps({
            [&] { ClickRow(d.LbFiles, 0, true); },
            [&] {
                menus.push_back(ShownMenu());
                tvtest::PressKey('C');  // "Open &containing folder"
            },
            [&] {
                RECT tab{};
                TabCtrl_GetItemRect(d.PageControl1, 0, &tab);
                POINT at{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
                ClientToScreen(d.PageControl1, &at);
                PostMessageW(d.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(d.PageControl1), MAKELPARAM(at.x, at.y));
            },
            [&] {
                menus.push_back(ShownMenu());
                tvtest::PressKey('O');  // "&Open"
            },
            [&] {
                loads = d.loadsDone();
                SetFocus(d.LbFiles);
                tvtest::PressKey(VK_F5);
            },
            [&] {
                EXPECT_EQ(d.loadsDone(), loads + 1);
                tvtest::PressKey(VK_ESCAPE);
            },
        });
    });
    const HMENU popup = dialog().PopupMenu1.get();
    EXPECT_EQ(menus, (std::vector<HMENU>{popup, popup}));
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"C:\\", L"C:\\windows"}));
}

TEST_F(AddItemDialog, RunTolVaneAsAdminShowsOnTheRunningPageAndLeavesAMarkerOnlyWhenTheRestartStarted) {
    struct Case {
        bool elevated, restartStarts;
        bool stripOnRunningPage, openAfterwards;
        int marker;
    };
    const Case cases[] = {
        {false, false, true, true, kResumeNone},      // no restart: the dialog stays, no marker left
        {false, true, true, false, kResumeAddItem},   // the elevated instance will reopen it
        {true, false, false, true, kResumeNone},      // already elevated: no strip to click
    };
    for (const Case& c : cases) {
        tvtest::FakeOptionsHost host;
        host.admin = c.elevated;
        host.restartStarts = c.restartStarts;
        Options options(*settings.user, *settings.common, host);
        TFrmActionAdd d(options, *settings.user, window->parts().session, window->parts().addSources);
        StorePage(TFrmActionAdd::kPageInstalled);
        bool stripOnFirstPage = true, stripOnRunningPage = false, boxReached = false, open = false;
        int marker = -1;
        RunSteps({
            [&] {
                stripOnFirstPage = d.adminStripShown() || IsWindowVisible(d.PanelHint);
                d.SelectPage(TFrmActionAdd::kPageRunning);
                d.PageControl1Change();
                stripOnRunningPage = d.adminStripShown() && IsWindowVisible(d.PanelHint);
                for (HWND at = GetNextDlgTabItem(d.hwnd(), d.EdtAction, FALSE); at && at != d.EdtAction;
                     at = GetNextDlgTabItem(d.hwnd(), at, FALSE))
                    boxReached = boxReached || at == d.CheckBox1;
                if (stripOnRunningPage) SendMessageW(d.CheckBox1, BM_CLICK, 0, 0);
                marker = Marker();
                EXPECT_EQ(SendMessageW(d.CheckBox1, BM_GETCHECK, 0, 0), BST_UNCHECKED);
            },
            [&] {
                // Still in the dialog's loop when it stayed open; after it otherwise.
                open = IsWindowVisible(d.hwnd());
                // Taken once the queue has run: the strip's box is drawn by then, as the user sees it
                // after a restart that did not happen.
                if (open && d.adminStripShown()) {
                    EXPECT_TRUE(tvtest::SaveScreenshot(tvtest::ScreenshotFolder() + L"\\add_item_admin_strip.png"));
                }
                if (open) SendMessageW(d.SpeedButton1, BM_CLICK, 0, 0);
            },
        });
        std::wstring address;
        d.Open(window->hwnd(), address);
        tvtest::WaitUntil([&] { return StepsDone(); }, 5000);
        EXPECT_FALSE(stripOnFirstPage);
        EXPECT_EQ(stripOnRunningPage, c.stripOnRunningPage) << c.elevated;
        EXPECT_EQ(boxReached, c.stripOnRunningPage) << c.elevated;
        EXPECT_EQ(open, c.openAfterwards) << c.restartStarts;
        EXPECT_EQ(marker, c.marker) << c.restartStarts;
        EXPECT_EQ(host.adminRuns, c.elevated ? 0 : 1);
    }
}

// A start of the program after an elevated restart asked for from the dialog.
class AddItemDialogAfterRestart : public AddItemDialog {
protected:
    AddItemDialogAfterRestart() {
        settings.common->WriteInteger(keys::kStatus, keys::kOpenWindow, kResumeAddItem);
        // The first-run step opens the dialog while the fixture sets up; it is looked at and
        // cancelled from inside its own loop.
        Poll();
    }
    void Poll() {
        tvtest::RunSoon([this] {
            TFrmActionAdd* d = window ? window->parts().addDialog.get() : nullptr;
            if (!d || !IsWindowVisible(d->hwnd()) || d->loadsDone() == 0) return Poll();
            reopened = true;
            markerWhileOpen = Marker();
            SendMessageW(d->SpeedButton1, BM_CLICK, 0, 0);
        }, 50);
    }
    bool reopened = false;
    int markerWhileOpen = -1;
};

TEST_F(AddItemDialogAfterRestart, OpensByItselfOnceAndClearsTheMarker) {
    EXPECT_TRUE(tvtest::WaitUntil([&] { return reopened; }, 20000));
    EXPECT_EQ(markerWhileOpen, kResumeNone);
    EXPECT_EQ(Marker(), kResumeNone);
}

TEST_F(AddItemDialog, KeyboardOnlyFromTheMainWindowOpensTabsTurnsPagesConfirmsAndCancels) {
    window->parts().lastAddress = L"C:\\windows\\regedit.exe";
    StorePage(TFrmActionAdd::kPageInstalled);
    HWND main = window->hwnd();
    auto shown = [this] { return window->parts().addDialog && IsWindowVisible(dialog().hwnd()); };
    auto loaded = [this, shown] { return shown() && dialog().loadsDone() > 0 && !dialog().loading(); };
    // The window's own menu from the keyboard, then its item "&Add".
    const std::vector<Step> open = {
        [main] {
            SetForegroundWindow(main);
            SetFocus(main);
            tvtest::PressKey(VK_F10, true);
        },
        {[this] { return ShownMenu() == window->parts().menus.PmApp; }, [] { tvtest::PressKey('A'); }},
    };
    std::vector<HWND> reached;
    bool done = false;
    std::vector<Step> steps = open;
    steps.push_back({loaded, [&] {
                         reached.push_back(GetFocus());
                         tvtest::PressKey(VK_TAB);
                     }});
    for (int i = 0; i < 6; ++i)
        steps.push_back([&] {
            reached.push_back(GetFocus());
            tvtest::PressKey(VK_TAB);
        });
    steps.push_back([&] {
        reached.push_back(GetFocus());
        tvtest::PressKey(VK_TAB, false, true);
    });
    steps.push_back({[&] { return dialog().activePage() == TFrmActionAdd::kPageRunning && loaded(); },
                     [] { tvtest::PressKey(VK_RETURN); }});
    steps.insert(steps.end(), open.begin(), open.end());
    steps.push_back({loaded, [] { tvtest::PressKey(VK_ESCAPE); }});
    steps.push_back({[&] { return !shown(); }, [&] { done = true; }});
    RunSteps(steps);
    EXPECT_TRUE(tvtest::WaitUntil([&] { return done; }, 60000));

    TFrmActionAdd& d = dialog();
    EXPECT_EQ(reached, (std::vector<HWND>{d.EdtAction, d.BtnChoose, d.btnRefresh, d.BtnAdd, d.SpeedButton1,
                                           d.PageControl1, d.LvInstallPrograms, d.EdtAction}));
    // Enter added the address; Escape the second time added nothing more.
    EXPECT_EQ(RecordPaths(), (std::vector<std::wstring>{L"c:\\windows\\notepad.exe", L"c:\\windows\\regedit.exe"}));
}

TEST_F(AddItemDialog, AClickIsAnsweredWhileTheInstalledProgramsLoadAndTheLoadGoesOn) {
    Touch(targets.file(L"tool.exe"));
    for (int i = 0; i < 5; ++i) Link(userPrograms.file(L"tool" + std::to_wstring(i) + L".lnk"), targets.file(L"tool.exe"));
    browseWhenSearched = true;
    OpenAndThen([](TFrmActionAdd& d) {
        EXPECT_EQ(ListView_GetItemCount(d.LvInstallPrograms), 5);
        SendMessageW(d.SpeedButton1, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(pickedWhileLoading, std::vector<bool>{true});
}
