#pragma once
// The main window's menus: the menu bar and its pop-up menus, built from tables.
#include <windows.h>

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
    kCmdRunTolvaneAsAdmin, kCmdAlwaysRunAsAdmin,
    kCmdLast
};

// The menu bar `MainMenu1`.
HMENU BuildMainMenu();
// `PmApp`, opened by a right click on the window.
HMENU BuildAppMenu();
// `PopupMenuMore`, opened by the button beside the record buttons.
HMENU BuildMoreMenu();

// True for the commands that show or hide a part of the window.
bool IsViewCommand(UINT id);

}  // namespace tv
