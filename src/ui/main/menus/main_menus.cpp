#include "ui/main/menus/main_menus.h"

#include <initializer_list>
#include <vector>

namespace tv {

namespace {

// One row of a menu table: a command, a separator (id 0, no caption) or a submenu.
struct MenuRow {
    UINT id;
    const wchar_t* caption;
    std::initializer_list<MenuRow> submenu;
};

// Rows whose command `shown` refuses are left out, and so is a separator before such a row.
HMENU Build(HMENU menu, std::initializer_list<MenuRow> rows, const ItemShown& shown = nullptr) {
    auto left = [&shown](const MenuRow* row) { return shown && row->id != 0 && !shown(row->id); };
    for (const MenuRow* row = rows.begin(); row != rows.end(); ++row) {
        if (left(row)) continue;
        if (!row->caption) {
            if (row + 1 != rows.end() && left(row + 1)) continue;
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (row->submenu.size() > 0) {
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(Build(CreatePopupMenu(), row->submenu, shown)),
                        row->caption);
        } else {
            AppendMenuW(menu, MF_STRING, row->id, row->caption);
        }
    }
    return menu;
}

// The commands of `menu` and its submenus that carry a check mark.
void CheckedCommands(HMENU menu, std::vector<UINT>& out) {
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) CheckedCommands(sub, out);
        else if (GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED) out.push_back(GetMenuItemID(menu, i));
    }
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
            kSeparator,
            {kCmdPromptBeforeExecuting, L"Prompt before executing", {}},
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
            {kCmdOnlineGuide, L"Online Guide", {}},
            {kCmdHomePage, L"Home Page", {}},
        }},
        {kCmdHelp, L"Help", {}},
        {kCmdExit, L"Exit", {}},
    });
}

HMENU BuildRecordListMenu() {
    return Build(CreatePopupMenu(), {
        {kCmdRenameRecord, L"Re&name", {}},
        {kCmdRefresh, L"Re&fresh\tF5", {}},
        {kCmdDeleteRecord, L"&Delete\tDel", {}},
        kSeparator,
        {kCmdSendTo, L"Send To", {}},
        {kCmdCreateBlankFile, L"Create a Blank File", {}},
        {kCmdCreateDuplicatedFile, L"Create a Dulpicated File", {}},
        kSeparator,
        {kCmdReplayAll, L"&Replay All", {}},
        {kCmdReplayAtStart, L"Replay all when windows start", {}},
    });
}

HMENU BuildTreeMenu() { return FillTreeMenu(CreatePopupMenu(), nullptr); }

HMENU FillTreeMenu(HMENU menu, const ItemShown& shown) {
    std::vector<UINT> checked;
    CheckedCommands(menu, checked);
    while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
    Build(menu, {
        {kCmdOpen, L"&Open\tCtrl+O", {}},
        {kCmdOpenLocation, L"Open file location\tCtrl+L", {}},
        {kCmdOpenAsAdmin, L"Open as admin", {}},
        {kCmdRunItemAsAdmin, L"Run as admin", {}},
        {kCmdOpenWith, L"Open &with...\tCtrl+W", {}},
        {kCmdOpenWithAdmin, L"Open with (admin)\tShift+W", {}},
        kSeparator,
        {kCmdCopyFile, L"Copy file\tCtrl+C", {}},
        {kCmdCopyFileName, L"Copy file Name", {}},
        {kCmdCopyFileLocation, L"Copy file location", {}},
        {kCmdPasteShortcut, L"Paste shortcut\tCtrl+V", {}},
        kSeparator,
        {kCmdPaste, L"Paste", {}},
        {kCmdOpenAfterPaste, L"Open file location after paste", {}},
        {0, L"Send to ", {
            {kCmdSendToDesktop, L"Desktop (create shortcut)", {}},
            {kCmdSendToDocuments, L"Documents", {}},
            {kCmdSendToRemovable, L"Removable Disk", {}},
            kSeparator,
            {kCmdOpenAfterSendTo, L"Open file location after sent", {}},
        }},
        kSeparator,
        {kCmdFullExpand, L"Full &Expand", {}},
        {kCmdFullCollapse, L"Full Collapse", {}},
        kSeparator,
        {kCmdDeleteSelected, L"&Deleted Selected\tDel", {}},
        {kCmdDeleteAll, L"Delete All (&l)", {}},
        kSeparator,
        {0, L"&Text Size", {
            {kCmdTextLargest, L"Largest", {}},
            {kCmdTextLarger, L"Larger", {}},
            {kCmdTextMedium, L"Medium", {}},
            {kCmdTextSmaller, L"Smaller", {}},
            {kCmdTextSmallest, L"Smallest", {}},
        }},
    }, shown);
    for (UINT id : checked) CheckMenuItem(menu, id, MF_BYCOMMAND | MF_CHECKED);
    return menu;
}

void AddSearchItem(HMENU moreMenu) {
    if (GetMenuState(moreMenu, kCmdSearch, MF_BYCOMMAND) != static_cast<UINT>(-1)) return;
    // Right after "Add...".
    int count = GetMenuItemCount(moreMenu), at = count;
    for (int i = 0; i < count; ++i)
        if (GetMenuItemID(moreMenu, i) == kCmdAdd) at = i + 1;
    InsertMenuW(moreMenu, at, MF_BYPOSITION | MF_STRING, kCmdSearch, L"Search...");
}

bool IsViewCommand(UINT id) { return id >= kCmdViewMenuBar && id <= kCmdAppRecordList; }

MainMenus::~MainMenus() {
    for (HMENU menu : {MainMenu1, PmApp, PopupMenuMore, PmRecList, PmDocTree})
        if (menu) DestroyMenu(menu);
}

void MainMenus::Build(bool windows7) {
    MainMenu1 = BuildMainMenu();
    PmApp = BuildAppMenu();
    PopupMenuMore = BuildMoreMenu();
    PmRecList = BuildRecordListMenu();
    PmDocTree = BuildTreeMenu();
    if (!windows7) return;
    for (HMENU menu : {MainMenu1, PopupMenuMore})
        for (UINT id : {static_cast<UINT>(kCmdHistory), static_cast<UINT>(kCmdSystemProperties)})
            while (DeleteMenu(menu, id, MF_BYCOMMAND)) {
            }
}

void MainMenus::CheckPair(UINT viewItem, UINT appItem, bool on) {
    UINT state = MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(MainMenu1, viewItem, state);
    CheckMenuItem(PmApp, appItem, state);
}

}  // namespace tv
