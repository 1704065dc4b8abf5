#include "ui/main/frame/shown_parts.h"

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "ui/main/commands/command_table.h"
#include "ui/main/frame/main_layout.h"
#include "ui/main/menus/main_menus.h"
#include "ui/main/frame/status_bar.h"

namespace tv {

ShownParts::ShownParts(MainMenus& menus, StatusBar& status, MainParts& parts, SettingsStore& user,
                       std::function<void()> layOut)
    : menus_(menus), status_(status), parts_(parts), user_(user), layOut_(std::move(layOut)) {}

bool ShownParts::statusBarShown() const { return status_.shown(); }

bool ShownParts::recordListShown() const { return parts_.recordListShown; }

void ShownParts::Restore(HWND window) {
    window_ = window;
    ApplyMenuBar(user_.ReadBool(keys::kDefault, keys::kMenuBar, false), false);
    ApplyStatusBar(user_.ReadBool(keys::kDefault, keys::kStatusBar, false), false);
    ApplyRecordList(user_.ReadBool(keys::kDefault, keys::kRecordList, true), false);
}

void ShownParts::AddCommands(CommandTable& commands) {
    for (UINT id : {kCmdViewMenuBar, kCmdAppMenuBar})
        commands.Add(id, [this](UINT) { ApplyMenuBar(!menuBarShown()); });
    for (UINT id : {kCmdViewStatusBar, kCmdAppStatusBar})
        commands.Add(id, [this](UINT) { ApplyStatusBar(!statusBarShown()); });
    for (UINT id : {kCmdViewRecordList, kCmdAppRecordList})
        commands.Add(id, [this](UINT) { ApplyRecordList(!recordListShown()); });
}

void ShownParts::ApplyMenuBar(bool shown, bool store) {
    HMENU bar = shown ? menus_.MainMenu1 : nullptr;
    if (GetMenu(window_) != bar) SetMenu(window_, bar);  // a new frame costs a layout pass
    menus_.CheckPair(kCmdViewMenuBar, kCmdAppMenuBar, shown);
    if (store) user_.WriteBool(keys::kDefault, keys::kMenuBar, shown);
}

void ShownParts::ApplyStatusBar(bool shown, bool store) {
    status_.Show(shown);
    menus_.CheckPair(kCmdViewStatusBar, kCmdAppStatusBar, shown);
    layOut_();
    if (store) user_.WriteBool(keys::kDefault, keys::kStatusBar, shown);
}

void ShownParts::ApplyRecordList(bool shown, bool store) {
    parts_.recordListShown = shown;
    ShowWindow(parts_.recordList, shown ? SW_SHOW : SW_HIDE);
    menus_.CheckPair(kCmdViewRecordList, kCmdAppRecordList, shown);
    layOut_();
    if (store) user_.WriteBool(keys::kDefault, keys::kRecordList, shown);
}

void ShownParts::Store() {
    stored_ = true;
    user_.WriteBool(keys::kDefault, keys::kMenuBar, menuBarShown());
    user_.WriteBool(keys::kDefault, keys::kStatusBar, statusBarShown());
    user_.WriteBool(keys::kDefault, keys::kRecordList, recordListShown());
}

}  // namespace tv
