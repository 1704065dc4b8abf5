#include "ui/main/menus/context_menus.h"

#include <windowsx.h>

#include "ui/main/frame/main_layout.h"
#include "ui/main/menus/main_menus.h"
#include "ui/main/views/record_pages.h"

namespace tv {

HMENU ContextMenuFor(const MainMenus& menus, const MainParts& parts, HWND window, HWND from) {
    if (!from) return nullptr;
    if (from == window) return menus.PmApp;
    if (from == parts.recordList) return menus.PmRecList;
    if (from != parts.pages->pageControl() && parts.pages->Owns(from)) return menus.PmDocTree;
    return nullptr;
}

bool ClickedOutsideClientArea(HWND window, HWND from, LPARAM at) {
    if (from != window || (GET_X_LPARAM(at) == -1 && GET_Y_LPARAM(at) == -1)) return false;  // -1: the keyboard
    return SendMessageW(window, WM_NCHITTEST, 0, at) != HTCLIENT;
}

void ShowContextMenu(const MainMenus& menus, const MainParts& parts, HWND window, HWND from, LPARAM lParam,
                     bool replayAtStart) {
    HMENU menu = ContextMenuFor(menus, parts, window, from);
    if (!menu) return;
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (at.x == -1 && at.y == -1) GetCursorPos(&at);
    if (menu == menus.PmRecList) MarkReplayAtStart(menus, replayAtStart);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, window, nullptr);
}

void ShowMenuAtMouse(HWND window, HMENU menu) {
    POINT at;
    GetCursorPos(&at);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, window, nullptr);
}

void MarkReplayAtStart(const MainMenus& menus, bool on) {
    CheckMenuItem(menus.PmRecList, kCmdReplayAtStart, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace tv
