#include "ui/main/views/search_panel.h"

#include <commctrl.h>

#include "base/strings.h"
#include "ui/main/views/record_views.h"
#include "ui/window_text.h"

namespace tv {

void SearchPanel::Ensure(HWND parent, HFONT font, HWND after) {
    if (ComboBoxSearch) return;
    auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
        HWND w = CreateWindowExW(0, cls, text, WS_CHILD | WS_TABSTOP | style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return w;
    };
    ComboBoxSearch = make(WC_COMBOBOXW, L"", WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, kIdSearchBox);
    BtnSSSearch = make(WC_BUTTONW, L"&Search", BS_PUSHBUTTON, kIdSearchButton);
    // Tab order: the panel comes right after `after` (the record list), where it is shown.
    SetWindowPos(ComboBoxSearch, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(BtnSSSearch, ComboBoxSearch, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void SearchPanel::Show(bool shown) {
    shown_ = shown;
    ShowWindow(ComboBoxSearch, shown ? SW_SHOW : SW_HIDE);
    ShowWindow(BtnSSSearch, shown ? SW_SHOW : SW_HIDE);
}

std::wstring SearchPanel::Text() const { return ComboBoxSearch ? TextOf(ComboBoxSearch) : L""; }

void SearchPanel::RememberText() {
    std::wstring t = Trim(Text());
    for (const std::wstring& entry : history_)
        if (ToLower(Trim(entry)) == ToLower(t)) return;
    history_.push_back(t);
    SendMessageW(ComboBoxSearch, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
}

int SearchPanel::Place(HDWP& defer, const RECT& area, int dpi) const {
    if (!shown_) return 0;
    const int boxHeight = ScaleToDpi(24, dpi), button = ScaleToDpi(80, dpi), pad = ScaleToDpi(6, dpi);
    const int width = area.right - area.left;
    if (defer)
        defer = DeferWindowPos(defer, ComboBoxSearch, nullptr, area.left, area.top, width - button - pad,
                               ScaleToDpi(200, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    if (defer)
        defer = DeferWindowPos(defer, BtnSSSearch, nullptr, area.right - button, area.top, button, boxHeight,
                               SWP_NOZORDER | SWP_NOACTIVATE);
    return boxHeight + pad;
}

}  // namespace tv
