#include "ui/main/frame/window_hints.h"

#include <commctrl.h>

namespace tv {

namespace {

TTTOOLINFOW ToolOf(HWND window, UINT_PTR id, UINT flags) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = flags;
    ti.hwnd = window;
    ti.uId = id;
    return ti;
}

}  // namespace

WindowHints::~WindowHints() {
    if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

bool WindowHints::Create(HWND window) {
    if (tooltip_) return true;
    window_ = window;
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0,
                               0, 0, 0, window, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tooltip_) return false;
    // Hints of more than one line break where they say so.
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
    TTTOOLINFOW menuTool = ToolOf(window, kMenuTool, TTF_TRACK | TTF_ABSOLUTE);
    menuTool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&menuTool));
    for (const ControlHint& hint : waiting_) Add(hint.control, hint.text);
    waiting_.clear();
    return true;
}

void WindowHints::Add(HWND control, const std::wstring& text) {
    if (!control) return;
    if (!tooltip_) {
        Wait(control, text);
        return;
    }
    TTTOOLINFOW ti = ToolOf(window_, reinterpret_cast<UINT_PTR>(control), TTF_IDISHWND | TTF_SUBCLASS);
    ti.lpszText = const_cast<wchar_t*>(text.c_str());  // the control keeps its own copy
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void WindowHints::Set(HWND control, const std::wstring& text) {
    if (!control) return;
    if (!tooltip_) {
        Wait(control, text);
        return;
    }
    TTTOOLINFOW ti = ToolOf(window_, reinterpret_cast<UINT_PTR>(control), TTF_IDISHWND | TTF_SUBCLASS);
    if (!SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti))) {
        Add(control, text);
        return;
    }
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void WindowHints::Wait(HWND control, const std::wstring& text) {
    for (ControlHint& hint : waiting_)
        if (hint.control == control) {
            hint.text = text;  // the latest hint of a control is the one it shows
            return;
        }
    waiting_.push_back(ControlHint{control, text});
}

void WindowHints::AddMenuHint(HMENU bar, UINT index, const std::wstring& text) {
    menuHints_.push_back(MenuHint{bar, index, text});
}

void WindowHints::MenuSelected(HMENU menu, UINT item, UINT flags) {
    const MenuHint* selected = nullptr;
    for (const MenuHint& hint : menuHints_)
        if (menu == hint.bar && item == hint.index && (flags & MF_POPUP) && flags != 0xFFFF) selected = &hint;
    ShowMenuHint(selected);
}

void WindowHints::ShowMenuHint(const MenuHint* hint) {
    if (!tooltip_) return;
    TTTOOLINFOW ti = ToolOf(window_, kMenuTool, TTF_TRACK | TTF_ABSOLUTE);
    RECT item{};
    if (!hint || !GetMenuItemRect(window_, hint->bar, hint->index, &item)) {
        SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
        return;
    }
    menuText_ = hint->text;
    ti.lpszText = const_cast<wchar_t*>(menuText_.c_str());
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    // Beside the menu rather than under it, where the menu's own items open.
    SendMessageW(tooltip_, TTM_TRACKPOSITION, 0, MAKELPARAM(item.right + 2, item.top));
    SendMessageW(tooltip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace tv
