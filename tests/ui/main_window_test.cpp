#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/main/commands/recording_commands.h"
#include "ui/main/work/smart_record.h"

#include <algorithm>
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/settings_store.h"
#include "app/startup.h"
#include "base/file_util.h"
#include "ui/message_pump.h"
#include "records/record_file.h"
#include "support/fake_prompter.h"
#include "support/recording_system.h"
#include "support/test_support.h"
#include "ui/main/menus/main_menus.h"
#include "app/settings_keys.h"
#include "ui/main/views/startup_filter_view.h"

using namespace tv;

namespace {
bool Checked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

// While the settings dialog runs its own loop: note whether it is up, then press Escape in it.
TTolvaneWindow* g_window = nullptr;
bool g_dialogSeen = false;
void CALLBACK EscapeSettings(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    TFrmMySettings* dlg = g_window->parts().settingsDialog.get();
    g_dialogSeen = dlg && IsWindowVisible(dlg->hwnd());
    if (dlg) PostMessageW(dlg->EdtRecordPath, WM_KEYDOWN, VK_ESCAPE, 0);
}

// The command of every item of `menu` and of its submenus; separators and submenu parents are
// not commands.
void MenuCommands(HMENU menu, std::vector<UINT>& ids) {
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item)) continue;
        if (item.hSubMenu) MenuCommands(item.hSubMenu, ids);
        else if (!(item.fType & MFT_SEPARATOR)) ids.push_back(item.wID);
    }
}

// Menu items whose commands are still to come; each leaves this list as it gains its handler.
const std::set<UINT> kCommandsToCome = {
    // the browser's favourites and history menus, built from the browser's folders
    kCmdBrowserFavorites, kCmdBrowserHistory,
};
}  // namespace

TEST(MainWindowCommands, EveryMenuItemHasAHandlerButThoseStillToCome) {
    tvtest::ScopedDataFolders folders;
    Settings settings = OpenSettingsFiles();
    TTolvaneWindow window(settings, nullptr);
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    AddSearchItem(window.parts().menus.PopupMenuMore);  // shown once a record is shown
    std::vector<UINT> ids;
    for (HMENU menu : {window.parts().menus.MainMenu1, window.parts().menus.PmApp, window.parts().menus.PopupMenuMore, window.parts().menus.PmRecList,
                       window.parts().menus.PmDocTree})
        MenuCommands(menu, ids);
    for (UINT id : ids) {
        if (kCommandsToCome.count(id)) continue;
        EXPECT_TRUE(window.parts().commands.Has(id)) << "menu command " << id << " does nothing";
    }
    // A command that gained its handler leaves the list.
    for (UINT id : kCommandsToCome) EXPECT_FALSE(window.parts().commands.Has(id)) << "command " << id << " has a handler now";

    std::vector<UINT> filterIds;
    MenuCommands(window.parts().filter.PmFilterStartup.get(), filterIds);
    ASSERT_FALSE(filterIds.empty());
    for (UINT id : filterIds) EXPECT_TRUE(window.parts().filter.Handles(id)) << "filter command " << id;
    DestroyWindow(window.hwnd());
    tvtest::DropQuitMessages();
}

TEST(MainWindowClass, ItsBackgroundOutlivesTheWindowThatRegisteredIt) {
    tvtest::ScopedDataFolders folders;
    Settings settings = OpenSettingsFiles();
    auto first = std::make_unique<TTolvaneWindow>(settings, nullptr);
    auto second = std::make_unique<TTolvaneWindow>(settings, nullptr);
    ASSERT_TRUE(first->Create(GetModuleHandleW(nullptr)));
    ASSERT_TRUE(second->Create(GetModuleHandleW(nullptr)));
    first.reset();
    // The class's brush is still the one the second window paints with.
    auto brush = reinterpret_cast<HGDIOBJ>(GetClassLongPtrW(second->hwnd(), GCLP_HBRBACKGROUND));
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    second.reset();
    tvtest::DropQuitMessages();
}

TEST(MainWindowMenus, EachShowOrHidePairKeepsBothItemsAndTheSettingInStep) {
    tvtest::ScopedDataFolders folders;
    Settings settings = OpenSettingsFiles();
    TTolvaneWindow window(settings, nullptr);
    window.parts().recording.askRecord = [](auto&&...) { return false; };  // no first recording
    window.parts().smart.askSmartRecord = [](int, int&) { return false; };  // nor Smart Record
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    window.Show(SW_SHOWNORMAL);
    HWND w = window.hwnd();
    ASSERT_TRUE(window.parts().shown.recordListShown());
    // Pages Windows 7 does not have are not offered there.
    bool seven = Startup().versionName == L"windows 7";
    EXPECT_EQ(GetMenuState(window.parts().menus.MainMenu1, kCmdHistory, MF_BYCOMMAND) == static_cast<UINT>(-1), seven);
    EXPECT_EQ(GetMenuState(window.parts().menus.MainMenu1, kCmdSystemProperties, MF_BYCOMMAND) == static_cast<UINT>(-1),
              seven);
    EXPECT_NE(GetMenuState(window.parts().menus.MainMenu1, kCmdMyComputer, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_TRUE(Checked(window.parts().menus.MainMenu1, kCmdViewRecordList));
    EXPECT_TRUE(Checked(window.parts().menus.PmApp, kCmdAppRecordList));

    // "Record List" in the View menu: the list goes, both items uncheck, the choice is stored.
    SendMessageW(w, WM_COMMAND, kCmdViewRecordList, 0);
    EXPECT_FALSE(window.parts().shown.recordListShown());
    EXPECT_FALSE(IsWindowVisible(window.parts().LbRECs));
    EXPECT_FALSE(Checked(window.parts().menus.MainMenu1, kCmdViewRecordList));
    EXPECT_FALSE(Checked(window.parts().menus.PmApp, kCmdAppRecordList));
    EXPECT_FALSE(settings.user->ReadBool(keys::kDefault, keys::kRecordList, true));
    // The page control then starts where the list was.
    RECT page;
    GetWindowRect(window.parts().pages.pageControl(), &page);
    MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&page), 2);
    EXPECT_LT(page.left, 20);

    // The window's own menu switches it back, and the View menu follows.
    SendMessageW(w, WM_COMMAND, kCmdAppRecordList, 0);
    EXPECT_TRUE(IsWindowVisible(window.parts().LbRECs));
    EXPECT_TRUE(Checked(window.parts().menus.MainMenu1, kCmdViewRecordList));

    SendMessageW(w, WM_COMMAND, kCmdAppMenuBar, 0);
    EXPECT_TRUE(window.parts().shown.menuBarShown());
    EXPECT_TRUE(Checked(window.parts().menus.MainMenu1, kCmdViewMenuBar));
    EXPECT_TRUE(settings.user->ReadBool(keys::kDefault, keys::kMenuBar, false));
    SendMessageW(w, WM_COMMAND, kCmdViewStatusBar, 0);
    EXPECT_TRUE(window.parts().shown.statusBarShown());
    EXPECT_TRUE(Checked(window.parts().menus.PmApp, kCmdAppStatusBar));
    EXPECT_TRUE(settings.user->ReadBool(keys::kDefault, keys::kStatusBar, false));

    // "Settings..." opens the settings dialog over the window; Escape closes it unconfirmed.
    // The first-run step runs first, as it does 10 ms after the window is made.
    for (int i = 0; i < 10; ++i, Sleep(20)) ProcessMessages();
    g_window = &window;
    SetTimer(nullptr, 0, 50, EscapeSettings);
    SendMessageW(w, WM_COMMAND, kCmdSettings, 0);
    EXPECT_TRUE(g_dialogSeen);
    ASSERT_NE(window.parts().settingsDialog.get(), nullptr);
    EXPECT_FALSE(IsWindowVisible(window.parts().settingsDialog->hwnd()));
    EXPECT_FALSE(window.parts().settingsDialog->confirmed());

    // A drive attached while nothing removable is there adds nothing; the window stays.
    SendMessageW(w, WM_DEVICECHANGE, 0x8000, 0);
    EXPECT_EQ(TreeView_GetCount(window.parts().pages.views().TVDocs), 0u);

    // The shown record is written as its three files.
    window.parts().session.AddItem(L"http://example.org/a", L"A");
    tvtest::TempFolder dir;
    window.parts().session.WriteTo(dir.file(L"r.tolvane"));
    EXPECT_TRUE(FileExists(dir.file(L"r.dat")));
    EXPECT_TRUE(FileExists(dir.file(L"r.tolvanetreesel")));
    ShownRecord back;
    ASSERT_EQ(ReadRecordFile(back, dir.file(L"r.tolvane")), ReadOutcome::Complete);
    ASSERT_EQ(back.docs.top().size(), 1u);
    EXPECT_EQ(back.items.At(0).path, L"example.org");
    EXPECT_EQ(back.docs.top()[0]->imageIndex, 1);  // the web page picture
    ASSERT_EQ(back.docs.top()[0]->children.size(), 1u);
    EXPECT_EQ(back.items.At(back.docs.top()[0]->children[0]->data.itemIndex).path, L"http://example.org/a");

    // Commands of parts still to come do nothing, and never end the program; questions are cancelled.
    tvtest::ScriptedPrompter prompter;
    window.parts().prompter = &prompter;
    // Windows' own places, the restart and shutting down are asked for, never made.
    tvtest::RecordingShell shell;
    tvtest::RecordingSystem system(shell);
    window.parts().shellCalls = &shell;
    window.parts().systemCalls = &system;
    system.helperExitCode = kElevationRefused;
    for (UINT id = kCmdFirst + 1; id < kCmdLast; ++id)
        if (id != kCmdExit && id != kCmdHelp && id != kCmdOpenApplicationPath && id != kCmdSettings &&
            id != kCmdMoreButton &&  // opens its menu at the mouse and waits for a choice
            id != kCmdAdd &&         // opens the add-item dialog, which waits for the user
            id != kCmdSendTo &&      // so does the send-to dialog
            // make and select a record, on which the record list's commands after them would act
            id != kCmdCreateBlankFile && id != kCmdCreateDuplicatedFile &&
            !IsViewCommand(id))
            SendMessageW(w, WM_COMMAND, id, 0);
    EXPECT_TRUE(IsWindow(w));
    // "About Tolvane" names the program and its version over the window.
    const auto about = std::find_if(prompter.told.begin(), prompter.told.end(),
                                    [](const std::wstring& text) { return text.rfind(L"Tolvane 3.1\r\n", 0) == 0; });
    EXPECT_NE(about, prompter.told.end());
    DestroyWindow(w);
}
