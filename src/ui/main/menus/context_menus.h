#pragma once
// The pop-up menus the main window opens: the menu of what was right-clicked, and the "more"
// menu of the button beside the record buttons.
#include <windows.h>

namespace tv {

struct MainMenus;
struct MainParts;

// The menu a right click on `from` opens: the window's own menu for the window, the record
// list's for the list, the trees' for a tree. Null for anything else (the tabs included).
HMENU ContextMenuFor(const MainMenus& menus, const MainParts& parts, HWND window, HWND from);

// True for a WM_CONTEXTMENU of the window itself from a right click outside its client area
// (the title bar, the frame): that click belongs to the system, which opens the window menu.
bool ClickedOutsideClientArea(HWND window, HWND from, LPARAM at);

// Opens the menu of `from` at the point of a WM_CONTEXTMENU (at the mouse for one from the
// keyboard). The record list's menu marks "replay at start" when `replayAtStart`.
void ShowContextMenu(const MainMenus& menus, const MainParts& parts, HWND window, HWND from, LPARAM at,
                     bool replayAtStart);

// Opens `menu` for `window` at the mouse.
void ShowMenuAtMouse(HWND window, HMENU menu);

// The check mark of "replay at start" in the record list's menu.
void MarkReplayAtStart(const MainMenus& menus, bool on);

}  // namespace tv
