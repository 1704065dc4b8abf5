// menus/: the menus the main window shows, the menu bar and the pop-up menus, built from tables;
// what an item does is a row of the command table, not the menu's business.

#pragma once
// The main window's menus: the menu bar and its pop-up menus, built from tables.
#include <windows.h>

#include <functional>

namespace tv {

// Command identifiers of the menu items and buttons of the main window.
enum Command : UINT {
    kCmdFirst = 40000,
    // "&TolVane"
    kCmdRecord, kCmdSmartRecord, kCmdAdd, kCmdSearch, kCmdSendTo, kCmdReplayAll, kCmdRunAsAdmin, kCmdExit,
    // "&Tools"
    kCmdStartup, kCmdClearRecentDocuments, kCmdSettings,
    // "&Windows"
    kCmdMyComputer, kCmdMyDocuments, kCmdShowDesktop, kCmdDesktopFolder, kCmdRecycleBin, kCmdControlPanel,
    kCmdAddRemovePrograms, kCmdTaskManager, kCmdNetworkPlaces, kCmdHistory, kCmdFavorites, kCmdRecentDocuments,
    kCmdSystemProperties, kCmdSystemHardware, kCmdSystemAdvanced, kCmdDisplayDesktop, kCmdDisplaySettings,
    kCmdDisplayScreenSaver,
    // "&View" and the matching items of the window's own menu
    kCmdViewMenuBar, kCmdViewStatusBar, kCmdViewRecordList,
    kCmdAppMenuBar, kCmdAppStatusBar, kCmdAppRecordList,
    // "&Internet Explorer"
    kCmdBrowserFavorites, kCmdBrowserHistory,
    // "&Shut down"
    kCmdLogOff, kCmdRestart, kCmdShutDown,
    // "&Help"
    kCmdHelp, kCmdOnlineGuide, kCmdHomePage, kCmdAbout,
    // the window's own menu
    kCmdOpenApplicationPath,
    // the "more" menu
    kCmdRunTolvaneAsAdmin, kCmdAlwaysRunAsAdmin, kCmdPromptBeforeExecuting,
    // the record list's menu
    kCmdRenameRecord, kCmdRefresh, kCmdDeleteRecord, kCmdCreateBlankFile, kCmdCreateDuplicatedFile, kCmdReplayAtStart,
    // the trees' menu
    kCmdOpen, kCmdOpenLocation, kCmdOpenAsAdmin, kCmdRunItemAsAdmin, kCmdOpenWith, kCmdOpenWithAdmin, kCmdCopyFile,
    kCmdCopyFileName, kCmdCopyFileLocation, kCmdPasteShortcut, kCmdPaste, kCmdOpenAfterPaste, kCmdSendToDesktop,
    kCmdSendToDocuments, kCmdSendToRemovable, kCmdOpenAfterSendTo, kCmdFullExpand, kCmdFullCollapse,
    kCmdDeleteSelected, kCmdDeleteAll,
    // "&Text Size", largest to smallest
    kCmdTextLargest, kCmdTextLarger, kCmdTextMedium, kCmdTextSmaller, kCmdTextSmallest,
    kCmdMoreButton,  // the "..." button beside the record buttons
    kCmdLast
};
// The entries of the trees' "Recent" submenu, one identifier each, made as the menu opens.
constexpr UINT kCmdRecentFirst = 45000;

// The menu bar `MainMenu1`.
HMENU BuildMainMenu();
// `PmApp`, opened by a right click on the window.
HMENU BuildAppMenu();
// `PopupMenuMore`, opened by the button beside the record buttons.
HMENU BuildMoreMenu();

// `PmRecList`, the record list's menu.
HMENU BuildRecordListMenu();
// `PmDocTree`, the record trees' menu, with the text size submenu `MnTextSize`.
HMENU BuildTreeMenu();
// Empties `menu` and fills it again as `PmDocTree`, leaving out the commands `shown` refuses
// (all are shown when it is null); the commands that stay keep their check marks.
using ItemShown = std::function<bool(UINT id)>;
HMENU FillTreeMenu(HMENU menu, const ItemShown& shown);
// The "Search..." item `cbSearch` of the "more" menu, which appears once a record is shown.
void AddSearchItem(HMENU moreMenu);

// True for the commands that show or hide a part of the window.
bool IsViewCommand(UINT id);

// The five menus of the main window, made together and destroyed together (the menu bar must
// be taken off its window first).
struct MainMenus {
    HMENU MainMenu1 = nullptr;
    HMENU PmApp = nullptr;
    HMENU PopupMenuMore = nullptr;
    HMENU PmRecList = nullptr;
    HMENU PmDocTree = nullptr;

    MainMenus() = default;
    ~MainMenus();
    MainMenus(const MainMenus&) = delete;
    MainMenus& operator=(const MainMenus&) = delete;
    // Windows 7 has no History or System Properties pages to open: those items are left out.
    void Build(bool windows7);
    // A show-or-hide item of the View menu and its twin in the window's own menu.
    void CheckPair(UINT viewItem, UINT appItem, bool on);
};

}  // namespace tv
