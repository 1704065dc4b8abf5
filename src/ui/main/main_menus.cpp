#include "ui/main/main_menus.h"

#include <initializer_list>

namespace tv {

namespace {

// One row of a menu table: a command, a separator (id 0, no caption) or a submenu.
struct MenuRow {
    UINT id;
    const wchar_t* caption;
    std::initializer_list<MenuRow> submenu;
};

HMENU Build(HMENU menu, std::initializer_list<MenuRow> rows) {
    for (const MenuRow& row : rows) {
        if (!row.caption) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (row.submenu.size() > 0) {
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(Build(CreatePopupMenu(), row.submenu)), row.caption);
        } else {
            AppendMenuW(menu, MF_STRING, row.id, row.caption);
        }
    }
    return menu;
}

const MenuRow kSeparator{0, nullptr, {}};

}  // namespace

HMENU BuildMainMenu() {
    return Build(CreateMenu(), {
        {0, L"&TolVane", {
            {kCmdRecord, L"Record", {}},
            {kCmdSmartRecord, L"Smart Record", {}},
            {kCmdAdd, L"Add...", {}},
            {kCmdSendTo, L"Send To", {}},
            {kCmdReplayAll, L"&Replay All", {}},
            kSeparator,
            {kCmdRunAsAdmin, L"Run as administrator", {}},
            kSeparator,
            {kCmdExit, L"Exit", {}},
        }},
        {0, L"&Tools", {
            {kCmdStartup, L"&Startup", {}},
            {kCmdClearRecentDocuments, L"Clear My Recent Documents", {}},
            kSeparator,
            {kCmdSettings, L"&Settings...", {}},
        }},
        {0, L"&Windows", {
            {kCmdMyComputer, L"My Computer", {}},
            {kCmdMyDocuments, L"My Documents", {}},
            {kCmdShowDesktop, L"Destop", {}},
            {kCmdDesktopFolder, L"Desktop Folder", {}},
            {kCmdRecycleBin, L"Recycle Bin", {}},
            {kCmdNetworkPlaces, L"My Network Places", {}},
            {kCmdHistory, L"History", {}},
            {kCmdFavorites, L"Favorites", {}},
            {kCmdRecentDocuments, L"My Recent Documents", {}},
            {kCmdClearRecentDocuments, L"Clear My Recent Documents", {}},
            kSeparator,
            {kCmdControlPanel, L"Control Panel", {}},
            {kCmdAddRemovePrograms, L"Add or Remove Programs", {}},
            {kCmdTaskManager, L"Windows Task Manager", {}},
            {kCmdSystemProperties, L"System Properties", {}},
            {kCmdSystemHardware, L"System Properties - Hareware", {}},
            {kCmdSystemAdvanced, L"System Properties - Advanced", {}},
            {kCmdDisplayDesktop, L"Display Properties - Desktop", {}},
            {kCmdDisplaySettings, L"Display Properties - Settings", {}},
            {kCmdDisplayScreenSaver, L"Display Properties - Screen Saver", {}},
        }},
        {0, L"&View", {
            {kCmdViewMenuBar, L"Menu Bar", {}},
            {kCmdViewStatusBar, L"Status Bar", {}},
            {kCmdViewRecordList, L"Record List", {}},
        }},
        {0, L"&Internet Explorer", {
            {kCmdBrowserFavorites, L"Favorites", {}},
            {kCmdBrowserHistory, L"History", {}},
        }},
        {0, L"&Shut down", {
            {kCmdLogOff, L"&Log off", {}},
            {kCmdRestart, L"&Restart", {}},
            {kCmdShutDown, L"&Shut down", {}},
        }},
        {0, L"&Help", {
            {kCmdHelp, L"Tolvane Help", {}},
            {0, L"&Online Help and Imformation", {
                {kCmdHomePage, L"Home Page", {}},
            }},
            kSeparator,
            {kCmdAbout, L"About Tolvane", {}},
        }},
    });
}

HMENU BuildAppMenu() {
    return Build(CreatePopupMenu(), {
        {kCmdAdd, L"&Add", {}},
        {kCmdSettings, L"&Settings", {}},
        kSeparator,
        {kCmdAppMenuBar, L"&Menu Bar", {}},
        {kCmdAppRecordList, L"&List of Records", {}},
        {kCmdAppStatusBar, L"&Status Bar", {}},
        kSeparator,
        {kCmdOpenApplicationPath, L"Open Application Path", {}},
    });
}

HMENU BuildMoreMenu() {
    return Build(CreatePopupMenu(), {
        {kCmdSettings, L"Settings...", {}},
        {kCmdAdd, L"Add...", {}},
        {kCmdSendTo, L"Send To", {}},
        {kCmdReplayAll, L"&Replay All", {}},
        kSeparator,
        {kCmdRunTolvaneAsAdmin, L"Run Tolvane as admin", {}},
        {kCmdAlwaysRunAsAdmin, L"Always run Tolvane as admin", {}},
        {kCmdStartup, L"Startup", {}},
        {0, L"Windows", {
            {kCmdMyComputer, L"My Computer", {}},
            {kCmdMyDocuments, L"My Documents", {}},
            {kCmdShowDesktop, L"Destop", {}},
            {kCmdControlPanel, L"Control Panel", {}},
            {kCmdAddRemovePrograms, L"Add or Remove Programs", {}},
            {kCmdTaskManager, L"Windows Task Manager", {}},
            {kCmdNetworkPlaces, L"My Network Places", {}},
        }},
        {0, L"&Power", {
            {kCmdLogOff, L"&Log off", {}},
            {kCmdRestart, L"&Restart", {}},
            {kCmdShutDown, L"&Shut down", {}},
        }},
        kSeparator,
        {0, L"&Online Help and Imformation", {
            {kCmdHomePage, L"Home Page", {}},
        }},
        {kCmdHelp, L"Help", {}},
        {kCmdExit, L"Exit", {}},
    });
}

bool IsViewCommand(UINT id) { return id >= kCmdViewMenuBar && id <= kCmdAppRecordList; }

}  // namespace tv
