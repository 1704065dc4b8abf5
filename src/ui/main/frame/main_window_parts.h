#pragma once
// The main window's parts and controls, made in the order they depend on each other and each
// handed what it needs. Tests and benchmarks reach inside the window through this one struct.
#include <windows.h>

#include <memory>

#include "app/options.h"
#include "base/file_util.h"
#include "app/record_session.h"
#include "replay/shell_calls.h"
#include "ui/dialogs/add_item_dialog.h"
#include "ui/dialogs/prompter.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/main/commands/command_table.h"
#include "ui/main/commands/item_commands.h"
#include "ui/main/commands/record_list_commands.h"
#include "ui/main/commands/recording_commands.h"
#include "ui/main/commands/replay_commands.h"
#include "ui/main/commands/search_commands.h"
#include "ui/main/commands/send_to_commands.h"
#include "ui/main/commands/system_commands.h"
#include "ui/main/frame/main_layout.h"
#include "ui/main/frame/shown_parts.h"
#include "ui/main/frame/status_bar.h"
#include "ui/main/frame/window_hints.h"
#include "ui/main/frame/window_hosts.h"
#include "ui/main/frame/window_keys.h"
#include "ui/main/intakes/intake_messages.h"
#include "ui/main/intakes/window_intakes.h"
#include "ui/main/menus/main_menus.h"
#include "ui/main/views/record_list.h"
#include "ui/main/views/record_list_hint.h"
#include "ui/main/views/record_pages.h"
#include "ui/main/views/search_panel.h"
#include "ui/main/views/selected_record.h"
#include "ui/main/views/startup_filter_view.h"
#include "ui/main/work/long_work.h"
#include "ui/main/work/progress_strip.h"
#include "ui/main/work/smart_record.h"

namespace tv {

class TTolvaneWindow;

struct MainWindowParts {
    MainWindowParts(TTolvaneWindow& window, Settings& settings);
    MainWindowParts(const MainWindowParts&) = delete;
    MainWindowParts& operator=(const MainWindowParts&) = delete;

    // Questions and messages go through `prompter`, the openers' calls through `shellCalls`;
    // tests put their own in.
    Prompter* prompter = &SystemPrompter();
    ShellCalls* shellCalls = &RealShellCalls();
    SystemCalls* systemCalls = &RealSystemCalls();
    std::wstring programFolder = FolderOf(ModulePath());  // the elevation program and the guide

    MainWindowHosts hosts;  // the window as the options and the first-run step see it
    Options options;
    WindowKeys keys;
    RecordPages pages;
    RecordList records;
    RecordSession session;  // owns the shown record
    LongWork work;          // what arrives during a long operation waits here
    CommandTable commands;
    WindowIntakes intakes;
    MainMenus menus;

    // The command strip and the record list, made with the window.
    HWND BtnRec = nullptr;
    HWND BtnAdd2 = nullptr;
    HWND BtnRecordByType = nullptr;
    HWND cbSmartRecord = nullptr;
    HWND PnlSmartRecord = nullptr;  // the Smart Record interval slider
    HWND LbRECs = nullptr;

    SearchPanel search;  // shown by "Search..."
    MainParts layout;
    Splitter splitter;
    ProgressStrip progress;
    StatusBar status;
    HoverStatus hover;
    WindowHints hints;
    RecordListHint listHint;
    SelectedRecord selected;
    ShownParts shown;
    IntakeMessages drops;
    SearchCommands searching;
    RecordListCommands listCommands;
    RecordingCommands recording;
    ReplayCommands replay;
    ItemCommands items;  // the record trees' menu and keys
    SendToCommands sendTo;  // the trees' "Send to " and the record's "Send To"
    SystemCommands system;  // Windows' places, shutting down, the elevated restart
    StartupFilterView filter;
    SmartRecord smart;
    std::unique_ptr<TFrmMySettings> settingsDialog;  // made after the first paint
    // The add-item dialog, made when first opened from what `addSources` lists, and the address
    // it last held (empty when the program starts).
    AddItemSources addSources = RealAddItemSources(ModulePath());
    std::unique_ptr<TFrmActionAdd> addDialog;
    std::wstring lastAddress;

private:
    // What recording and replay are both handed.
    LongCommandParts LongCommands(TTolvaneWindow& w);
};

}  // namespace tv
