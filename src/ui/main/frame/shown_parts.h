#pragma once
// The parts of the main window the user shows or hides: the menu bar, the status bar and the
// record list. Each choice keeps its item in the View menu and its twin in the window's own
// menu in step, and is kept in the user settings.
#include <windows.h>

#include <functional>

namespace tv {

class CommandTable;
class SettingsStore;
class StatusBar;
struct MainMenus;
struct MainParts;

class ShownParts {
public:
    ShownParts(MainMenus& menus, StatusBar& status, MainParts& parts, SettingsStore& user,
               std::function<void()> layOut);

    // Applies the stored choices to `window` as if clicked; writing them back waits until
    // Store, once the window has painted.
    void Restore(HWND window);
    // The six show-or-hide commands of the two menus.
    void AddCommands(CommandTable& commands);
    // Show or hide a part and keep both menu items in step; `store` writes the choice at once.
    void ApplyMenuBar(bool shown, bool store = true);
    void ApplyStatusBar(bool shown, bool store = true);
    void ApplyRecordList(bool shown, bool store = true);
    // Writes all three choices.
    void Store();
    bool stored() const { return stored_; }

    bool menuBarShown() const { return window_ && GetMenu(window_) != nullptr; }
    bool statusBarShown() const;
    bool recordListShown() const;

private:
    MainMenus& menus_;
    StatusBar& status_;
    MainParts& parts_;
    SettingsStore& user_;
    std::function<void()> layOut_;
    HWND window_ = nullptr;
    bool stored_ = false;
};

}  // namespace tv
