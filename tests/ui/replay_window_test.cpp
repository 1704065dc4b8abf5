// Replay All and the start-up record through the main window, with a shell that records what
// would be started.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "base/file_util.h"
#include "records/record_file.h"
#include "replay/recording_shell.h"
#include "support/fake_prompter.h"
#include "support/played_desktop.h"
#include "support/record_entries.h"
#include "support/test_support.h"
#include "ui/main/menus/main_menus.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/main/commands/recording_commands.h"
#include "ui/message_pump.h"

using namespace tv;

namespace {

class ReplayWindow : public ::testing::Test {
protected:
    tvtest::ScopedDataFolders folders;
    tvtest::TempFolder dir, docs;
    Settings settings = OpenSettingsFiles();
    std::unique_ptr<TTolvaneWindow> window;
    tvtest::ScriptedPrompter prompter;
    tvtest::RecordingShell shell;

    std::wstring RecordPath(const std::wstring& name) const { return dir.file(name + L".tolvane"); }

    // A record of `programs` programs, each with `documents` existing documents under it.
    void WriteRecord(const std::wstring& name, int programs, int documents, bool withItself = false) {
        ShownRecord r;
        for (int p = 0; p < programs; ++p) {
            RecordNode* program = tvtest::AddEntry(r, nullptr, L"Tool " + std::to_wstring(p),
                                                   L"C:\\Tools\\tool" + std::to_wstring(p) + L".exe",
                                                   kProgramOrDocument, 12);
            for (int d = 0; d < documents; ++d) {
                std::wstring doc = docs.file(L"p" + std::to_wstring(p) + L" d" + std::to_wstring(d) + L".tvr");
                ASSERT_TRUE(tvtest::WriteAll(doc, "x"));
                tvtest::AddEntry(r, program, L"d" + std::to_wstring(d), doc, kProgramOrDocument, 13);
            }
        }
        if (withItself) tvtest::AddEntry(r, nullptr, L"TolVane", L"C:\\Apps\\TolVane\\tolvane.exe", kProgramOrDocument, 12);
        ASSERT_TRUE(WriteRecordFile(r, RecordPath(name), L"C:\\tolvane.exe"));
    }

    void Open(bool ask = false) {
        settings.user->WriteString(keys::kDefault, keys::kRecordPath, dir.path());
        settings.user->WriteBool(keys::kDefault, keys::kAskWhenReplay, ask);
        window = std::make_unique<TTolvaneWindow>(settings, nullptr);
        window->parts().recording.askRecord = [](auto&&...) { return false; };
        window->parts().shellCalls = &shell;
        ASSERT_TRUE(window->Create(GetModuleHandleW(nullptr)));
        window->parts().prompter = &prompter;
        window->Show(SW_SHOWNORMAL);
        for (int i = 0; i < 10; ++i, Sleep(20)) ProcessMessages();
        window->parts().replay.pause = [] { ProcessMessages(); };
    }
    void TearDown() override {
        if (window && IsWindow(window->hwnd())) DestroyWindow(window->hwnd());
        window.reset();
        MSG m;
        while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    void Show(int index) {
        window->parts().records.SelectByIndex(index);
        window->parts().selected.Show();
    }
    std::vector<std::wstring> Opened() const {
        std::vector<std::wstring> files;
        for (const auto& call : shell.calls)
            if (call.kind == L"ExecuteW" && call.verb == L"open") files.push_back(call.file);
        return files;
    }
    std::wstring Hint() {
        wchar_t text[512] = {};
        GetWindowTextW(GetDlgItem(window->hwnd(), kIdHint), text, 512);
        return text;
    }
};

}  // namespace

TEST_F(ReplayWindow, FirstChildModeOpensOneDocumentAllChildrenModeThreeAndNeverTheProgramOrItself) {
    WriteRecord(L"Day", 1, 3, true);
    settings.user->WriteBool(keys::kDefault, keys::kReplayAllChildren, false);
    Open();
    Show(0);
    tvtest::RunCommand(window->hwnd(), kCmdReplayAll);
    EXPECT_EQ(Opened(), (std::vector<std::wstring>{docs.file(L"p0 d0.tvr")}));
    EXPECT_EQ(Hint(), L"Finish.");

    shell.calls.clear();
    window->parts().options.values.replayAllChildren = true;
    tvtest::RunCommand(window->hwnd(), kCmdReplayAll);
    EXPECT_EQ(Opened(), (std::vector<std::wstring>{docs.file(L"p0 d0.tvr"), docs.file(L"p0 d1.tvr"),
                                                   docs.file(L"p0 d2.tvr")}));
    EXPECT_TRUE(prompter.told.empty());
}

TEST_F(ReplayWindow, SixHundredItemsStopAtTheLimitAndTheMessageFollowsFinish) {
    WriteRecord(L"Big", 600, 1);
    settings.user->WriteBool(keys::kDefault, keys::kReplayAllChildren, true);
    Open();
    Show(0);
    // What the strip said when the message came.
    struct HintAtMessage : tvtest::ScriptedPrompter {
        std::function<std::wstring()> hint;
        std::wstring seen;
        void Tell(HWND owner, const std::wstring& text) override {
            seen = hint();
            ScriptedPrompter::Tell(owner, text);
        }
    } told;
    told.hint = [this] { return Hint(); };
    window->parts().prompter = &told;
    tvtest::RunCommand(window->hwnd(), kCmdReplayAll);
    EXPECT_EQ(Opened().size(), 499u);
    ASSERT_EQ(told.told.size(), 1u);
    EXPECT_EQ(told.told[0], L"Launch toom many items will be slow down,Please manually launch.");
    EXPECT_EQ(told.seen, L"Finish.");
    // Three seconds on, the strip goes.
    HWND hint = GetDlgItem(window->hwnd(), kIdHint);
    EXPECT_TRUE(IsWindowVisible(hint));
    for (int i = 0; i < 80 && IsWindowVisible(hint); ++i, Sleep(50)) ProcessMessages();
    EXPECT_FALSE(IsWindowVisible(hint));
}

TEST_F(ReplayWindow, TheQuestionGetsTheCountsAndNoReplaysNothing) {
    WriteRecord(L"Day", 2, 3);
    Open(true);
    Show(0);
    std::wstring name;
    int top = -1, all = -1;
    bool answer = false;
    window->parts().replay.askReplay = [&](const std::wstring& record, int t, int a) {
        name = record;
        top = t;
        all = a;
        return answer;
    };
    tvtest::RunCommand(window->hwnd(), kCmdReplayAll);
    EXPECT_EQ(name, L"Day");
    EXPECT_EQ(top, 2);
    EXPECT_EQ(all, 2 + 6);
    EXPECT_TRUE(shell.calls.empty());
    answer = true;
    tvtest::RunCommand(window->hwnd(), kCmdReplayAll);
    EXPECT_EQ(Opened().size(), 2u);  // the first document of each program
}

TEST_F(ReplayWindow, UntickingTheStartUpRecordStoresNoneAndTheCheckFollowsTheSelection) {
    WriteRecord(L"A", 1, 1);
    WriteRecord(L"B", 1, 1);
    settings.user->WriteInteger(keys::kDefault, keys::kStartupRecord, 1);
    Open();
    Show(1);
    HMENU menu = window->parts().menus.PmRecList;
    EXPECT_TRUE(GetMenuState(menu, kCmdReplayAtStart, MF_BYCOMMAND) & MF_CHECKED);
    Show(0);
    EXPECT_FALSE(GetMenuState(menu, kCmdReplayAtStart, MF_BYCOMMAND) & MF_CHECKED);
    Show(1);
    tvtest::RunCommand(window->hwnd(), kCmdReplayAtStart);  // unticks it
    EXPECT_FALSE(GetMenuState(menu, kCmdReplayAtStart, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(settings.user->ReadInteger(keys::kDefault, keys::kStartupRecord, 5), -1);
}

TEST_F(ReplayWindow, TickingTheStartUpRecordRenamesItWindowsStartAndStoresItsIndex) {
    WriteRecord(L"A", 1, 1);
    WriteRecord(L"B", 1, 1);
    Open();
    Show(1);
    // The rename dialog comes up proposing "Windows Start"; Enter takes it.
    std::wstring proposed;
    tvtest::RunSoon([&proposed] {
        HWND dlg = FindWindowW(L"TFrmReName", nullptr);
        HWND box = dlg ? FindWindowExW(dlg, nullptr, WC_EDITW, nullptr) : nullptr;
        if (!box) return;
        wchar_t text[128] = {};
        GetWindowTextW(box, text, 128);
        proposed = text;
        PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    });
    tvtest::RunCommand(window->hwnd(), kCmdReplayAtStart);
    EXPECT_EQ(proposed, L"Windows Start");
    ASSERT_TRUE(FileExists(RecordPath(L"Windows Start")));
    const int index = window->parts().records.SelectedIndex();
    ASSERT_GE(index, 0);
    EXPECT_EQ(window->parts().records.Name(index), L"Windows Start");
    EXPECT_EQ(settings.user->ReadInteger(keys::kDefault, keys::kStartupRecord, -5), index);
    EXPECT_TRUE(GetMenuState(window->parts().menus.PmRecList, kCmdReplayAtStart, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(ReplayWindow, EnterOnANodeAndOpenOnTheSelectionHandTheirItemsToTheLauncher) {
    WriteRecord(L"Day", 1, 2);
    Open();
    Show(0);
    HWND tree = window->parts().pages.views().TVDocs;
    HTREEITEM program = TreeView_GetRoot(tree);
    HTREEITEM document = TreeView_GetChild(tree, program);
    ASSERT_NE(document, nullptr);
    TreeView_SelectItem(tree, document);
    SendMessageW(tree, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(Opened(), (std::vector<std::wstring>{docs.file(L"p0 d0.tvr")}));

    // Open on the program node: its documents are not opened, the program's own path is.
    shell.calls.clear();
    TreeView_SelectItem(tree, program);
    tvtest::RunCommand(window->hwnd(), kCmdOpen);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.Messages(), (std::vector<std::wstring>{L"Windows cannot find 'C:\\Tools\\tool0.exe'."}));
}

TEST_F(ReplayWindow, AlwaysOnTopHoldsFromTheStartThroughTheSettingsRecordingsAndReplays) {
    WriteRecord(L"Day", 1, 1);
    settings.user->WriteBool(keys::kDefault, L"Alwaysontop1", true);
    Open();
    auto onTop = [&] { return (GetWindowLongPtrW(window->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    // The box ticked or unticked in the settings dialog, which is then confirmed.
    auto tickInSettings = [&](bool on) {
        tvtest::RunSoon([&, on] {
            TFrmMySettings* dlg = window->parts().settingsDialog.get();
            if (!dlg) return;
            SendMessageW(dlg->Alwaysontop1, BM_SETCHECK, on ? BST_UNCHECKED : BST_CHECKED, 0);
            SendMessageW(dlg->Alwaysontop1, BM_CLICK, 0, 0);
            SendMessageW(dlg->BtnConfirm, BM_CLICK, 0, 0);
        });
        tvtest::RunCommand(window->hwnd(), kCmdSettings);
    };
    auto recordAndReplay = [&] {
        tvtest::Desktop desktop;
        window->parts().recording.sources = [&] { return std::make_unique<tvtest::PlayedDesktop>(desktop); };
        window->parts().options.values.askWhenRecord = false;
        tvtest::RunCommand(window->hwnd(), kCmdRecord);
        const bool afterRecording = onTop();
        Show(0);
        tvtest::RunCommand(window->hwnd(), kCmdReplayAll);
        SendMessageW(window->hwnd(), WM_TIMER, ReplayCommands::kTimerFinishId, 0);  // the strip goes
        return std::make_pair(afterRecording, onTop());
    };
    EXPECT_TRUE(onTop());  // as stored by the last run
    EXPECT_EQ(recordAndReplay(), std::make_pair(true, true));

    tickInSettings(false);
    EXPECT_FALSE(onTop());
    EXPECT_FALSE(settings.user->ReadBool(keys::kDefault, L"Alwaysontop1", true));
    EXPECT_EQ(recordAndReplay(), std::make_pair(false, false));

    tickInSettings(true);
    EXPECT_TRUE(onTop());
    EXPECT_EQ(recordAndReplay(), std::make_pair(true, true));
}
