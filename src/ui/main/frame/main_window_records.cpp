// The main window's commands: the table's rows, text size and the record list.
#include "ui/main/frame/main_window.h"

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "ui/main/menus/context_menus.h"
#include "ui/main/commands/program_commands.h"
#include "ui/main/frame/main_window_parts.h"

namespace tv {

void TTolvaneWindow::AddCommands() {
    parts_->commands.Add(kCmdExit, [this](UINT) { PostMessageW(hwnd_, WM_CLOSE, 0, 0); });
    AddProgramCommands(parts_->commands, [this] { return hwnd_; },
                       [this]() -> ShellCalls& { return *parts_->shellCalls; },
                       [this](const std::wstring& text) { parts_->prompter->Tell(hwnd_, text); });
    parts_->commands.Add(kCmdSettings, [this](UINT) { OpenSettings(); });
    parts_->commands.Add(kCmdAdd, [this](UINT) { OpenAddItem(); });
    parts_->commands.Add(kCmdRecord, [this](UINT) { parts_->recording.BtnRecClick(); });
    parts_->commands.Add(kCmdSmartRecord, [this](UINT) { parts_->smart.SmartRecord1Click(); });
    parts_->commands.Add(kCmdRenameRecord, [this](UINT) { parts_->listCommands.BtnRenameClick(); });
    parts_->commands.Add(kCmdRefresh, [this](UINT) { ReadRecordList(); });
    parts_->commands.Add(kCmdDeleteRecord, [this](UINT) { parts_->listCommands.BtnDeleteClick(); });
    parts_->commands.Add(kCmdSearch, [this](UINT) { parts_->searching.Switch(); });
    parts_->commands.Add(kIdSearchButton, [this](UINT) { parts_->searching.Search(); });
    parts_->commands.Add(kIdStopButton, [this](UINT) { parts_->progress.stopRequested = true; });
    parts_->commands.AddRange(kCmdTextLargest, kCmdTextSmallest, [this](UINT id) { ArrangeTextSizeClick(id); });
    // The button beside the record buttons opens the "more" menu at the mouse.
    parts_->commands.Add(kCmdMoreButton, [this](UINT) { ShowMenuAtMouse(hwnd_, parts_->menus.PopupMenuMore); });
    parts_->shown.AddCommands(parts_->commands);
    parts_->system.AddCommands(parts_->commands);
    AddItemCommands();
}

bool TTolvaneWindow::OpenAddItem() {
    if (!parts_->addDialog)
        parts_->addDialog = std::make_unique<TFrmActionAdd>(parts_->options, *settings_.user, parts_->session,
                                                            parts_->addSources);
    return parts_->addDialog->Open(hwnd_, parts_->lastAddress);
}

void TTolvaneWindow::OnCommand(UINT id) {
    // While a long operation runs only Stop and Exit act; other commands are refused, as a
    // button of a busy dialog would be.
    if (parts_->work.busy() && id != kIdStopButton && id != kCmdExit) return;
    parts_->commands.Run(id);
}

// ---- text size -----------------------------------------------------------------------------

void TTolvaneWindow::ArrangeTextSizeClick(UINT id) {
    RecordViews& views = parts_->pages.views();
    views.SetTextSize(kTextSizes[id - kCmdTextLargest]);
    parts_->hosts.ApplyTextSize();
    settings_.user->WriteInteger(keys::kDefault, keys::kTextSize, views.textSize());
    LbRECsClick();
}

// ---- the record list -----------------------------------------------------------------------

int TTolvaneWindow::ReadRecordList() {
    parts_->records.Read(parts_->options.RecordFolder(), parts_->session.currentRecordPath());
    return parts_->records.Count();
}

void TTolvaneWindow::SelectRecord(int index) { parts_->records.SelectByIndex(index); }

void TTolvaneWindow::LbRECsClick() { parts_->selected.Show(); }

}  // namespace tv
