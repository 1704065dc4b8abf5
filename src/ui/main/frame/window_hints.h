#pragma once
// The main window's hints: tool tips over its controls when the mouse rests on one, and the hint
// of a menu of the menu bar, shown beside it while that menu is selected.
#include <windows.h>

#include <string>
#include <vector>

namespace tv {

class WindowHints {
public:
    WindowHints() = default;
    ~WindowHints();
    WindowHints(const WindowHints&) = delete;
    WindowHints& operator=(const WindowHints&) = delete;

    // Makes the tool tip control of `window`, with the hints given so far. False when it could not
    // be made; hints then show nowhere.
    bool Create(HWND window);
    // `text` shows while the mouse rests on `control`. Given before Create, it waits for it.
    void Add(HWND control, const std::wstring& text);
    // The same for a hint that changes: `control`'s hint becomes `text` (none when empty).
    void Set(HWND control, const std::wstring& text);
    // `text` shows beside item `index` of the menu bar `bar` while that menu is selected.
    void AddMenuHint(HMENU bar, UINT index, const std::wstring& text);
    // WM_MENUSELECT of the window: shows the menu's hint, or hides it when another item, or
    // none, is selected.
    void MenuSelected(HMENU menu, UINT item, UINT flags);
    HWND tooltip() const { return tooltip_; }

private:
    struct MenuHint {
        HMENU bar;
        UINT index;
        std::wstring text;
    };
    struct ControlHint {
        HWND control;
        std::wstring text;
    };
    void ShowMenuHint(const MenuHint* hint);
    void Wait(HWND control, const std::wstring& text);

    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    std::vector<MenuHint> menuHints_;
    std::vector<ControlHint> waiting_;  // given before the tool tip control was made
    std::wstring menuText_;  // the menu hint the tracking tool shows
    static constexpr UINT_PTR kMenuTool = 1;
};

}  // namespace tv
