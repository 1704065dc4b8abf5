#include "ui/main/frame/window_keys.h"

#include <vector>

#include "ui/main/frame/main_layout.h"
#include "ui/main/menus/main_menus.h"
#include "ui/main/work/progress_strip.h"
#include "ui/main/views/record_pages.h"
#include "ui/main/views/search_panel.h"
#include "ui/main/frame/window_layout.h"
#include "ui/window_text.h"

namespace tv {

WindowKeys::~WindowKeys() {
    if (shortcuts_) DestroyAcceleratorTable(shortcuts_);
}

void WindowKeys::Create(Actions actions) {
    actions_ = std::move(actions);
    if (shortcuts_) return;
    ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'F', static_cast<WORD>(kCmdSearch)},
                    {FVIRTKEY, VK_F1, static_cast<WORD>(kCmdHelp)}};
    shortcuts_ = CreateAcceleratorTableW(keys, 2);
}

namespace {

// The Tab order: the command strip, the record list, the search panel, the tabs, the shown tree,
// then the Stop button.
std::vector<HWND> TabOrder(const MainParts& parts) {
    RecordPages& pages = *parts.pages;
    return {parts.strip[0], parts.strip[1], parts.strip[2], parts.strip[3], parts.slider,
            parts.recordList, parts.search->box(), parts.search->button(), pages.pageControl(),
            pages.views().Existing(pages.activePage()), parts.progress->SpeedButton5};
}

bool Usable(HWND control) { return IsWindowVisible(control) && IsWindowEnabled(control); }

// Alt with the letter a control's caption marks: a button is pressed, anything else takes the
// focus. Where captions share a letter the first in the Tab order keeps it ("&Start Recording"
// before "&Search"). False when no shown control marks the letter; the menu bar then has it.
bool ActOnMnemonic(const MainParts& parts, WPARAM key) {
    HWND target = MnemonicOwner(TabOrder(parts), static_cast<wchar_t>(key), Usable);
    if (!target) return false;
    if (IsButtonControl(target)) SendMessageW(target, BM_CLICK, 0, 0);
    else SetFocus(target);
    return true;
}

}  // namespace

bool WindowKeys::Translate(HWND window, const MainParts& parts, MSG& msg) {
    if (!window) return false;
    HWND box = parts.search->box();
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && box && GetParent(msg.hwnd) == box) {
        actions_.search();  // Enter in the search box searches
        return true;
    }
    if (IsChild(window, msg.hwnd) && PressFocusedButton(msg)) return true;
    if (msg.message == WM_SYSKEYDOWN && (msg.hwnd == window || IsChild(window, msg.hwnd)) && IsWindowEnabled(window) &&
        ActOnMnemonic(parts, msg.wParam))
        return true;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_MENU) >= 0 && (msg.hwnd == window || IsChild(window, msg.hwnd)) && IsWindowEnabled(window)) {
        MoveFocus(parts, GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && parts.search->shown() &&
        (msg.hwnd == box || GetParent(msg.hwnd) == box) && !SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0)) {
        actions_.closeSearch();  // Escape closes the panel; an open drop-down list closes first
        return true;
    }
    return shortcuts_ && TranslateAcceleratorW(window, shortcuts_, &msg);
}

void WindowKeys::MoveFocus(const MainParts& parts, bool backwards) {
    if (HWND next = NextTabStop(TabOrder(parts), GetFocus(), backwards, Usable)) SetFocus(next);
}



}  // namespace tv
