#pragma once
// The main window's keys: its shortcuts (Ctrl+F, F1), Enter and Escape in the search box, Enter
// on a focused button, and Tab, Shift+Tab and Alt with a letter reaching the window's controls as
// in a dialog.
#include <windows.h>

#include <functional>

namespace tv {

struct MainParts;

class WindowKeys {
public:
    struct Actions {
        std::function<void()> search;       // Enter in the search box
        std::function<void()> closeSearch;  // Escape in the search box
    };

    WindowKeys() = default;
    ~WindowKeys();
    WindowKeys(const WindowKeys&) = delete;
    WindowKeys& operator=(const WindowKeys&) = delete;

    // Makes the shortcut table.
    void Create(Actions actions);
    // True when the message was one of the window's keys, which has then been acted on.
    bool Translate(HWND window, const MainParts& parts, MSG& msg);
    // Tab and Shift+Tab: the command strip, the record list, the search panel, the tabs, the
    // shown tree, then the Stop button while it shows.
    static void MoveFocus(const MainParts& parts, bool backwards);

private:
    HACCEL shortcuts_ = nullptr;
    Actions actions_;
};

}  // namespace tv
