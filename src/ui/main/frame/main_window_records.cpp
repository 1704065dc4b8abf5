// The main window's commands: the table's rows, text size and the record list.
#include "ui/main/frame/main_window.h"

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "ui/main/menus/context_menus.h"
#include "ui/main/commands/recording_commands.h"
#include "ui/main/work/smart_record.h"
#include "ui/main/views/startup_filter_view.h"
#include "ui/main/commands/program_commands.h"
#include "ui/main/frame/window_hosts.h"

namespace tv {

void TTolvaneWindow::AddCommands() {
    commands_.Add(kCmdExit, [this](UINT) { PostMessageW(hwnd_, WM_CLOSE, 0, 0); });
    AddProgramCommands(commands_, [this] { return hwnd_; }, [this]() -> ShellCalls& { return *shellCalls_; });
    commands_.Add(kCmdSettings, [this](UINT) {
        EnsureSettingsDialog();
        FrmMySettings->Open();
    });
    commands_.Add(kCmdRecord, [this](UINT) { recording_->BtnRecClick(); });
    commands_.Add(kCmdSmartRecord, [this](UINT) { smart_->SmartRecord1Click(); });
    commands_.Add(kCmdRenameRecord, [this](UINT) { listCommands_->BtnRenameClick(); });
    commands_.Add(kCmdRefresh, [this](UINT) { ReadRecordList(); });
    commands_.Add(kCmdDeleteRecord, [this](UINT) { listCommands_->BtnDeleteClick(); });
    commands_.Add(kCmdSearch, [this](UINT) { searching_.Switch(); });
    commands_.Add(kIdSearchButton, [this](UINT) { searching_.Search(); });
    commands_.Add(kIdStopButton, [this](UINT) { progress_.stopRequested = true; });
    commands_.AddRange(kCmdTextLargest, kCmdTextSmallest, [this](UINT id) { ArrangeTextSizeClick(id); });
    // The button beside the record buttons opens the "more" menu at the mouse.
    commands_.Add(kCmdMoreButton, [this](UINT) { ShowMenuAtMouse(hwnd_, menus_.PopupMenuMore); });
    shown_.AddCommands(commands_);
    AddItemCommands();
}

void TTolvaneWindow::WireSmartRecord() {
    filter_ = std::make_unique<StartupFilterView>(StartupFilterView::Parts{
        *session_, records_, options_, [this] { return tvDocs(); }, [this] { FormResize(); },
        [this] {
            EnsureSettingsDialog();
            FrmMySettings->Open();
        }});
    smart_ = std::make_unique<SmartRecord>(SmartRecord::Parts{hwnd_, cbSmartRecord, PnlSmartRecord, menus_.MainMenu1,
                                                              *recording_, work_, options_, *settings_.user,
                                                              [this] { FormResize(); }});
    recording_->startupFilter = filter_->Filter();
    recording_->beforeRecording = [this](bool smart) { filter_->BeforeRecording(smart); };
    recording_->afterRecording = [this] { filter_->AfterRecording(); };
    recording_->switchSmartRecordOff = [this] { smart_->SetChecked(false); };
}

void TTolvaneWindow::OnCommand(UINT id) {
    // While a long operation runs only Stop and Exit act; other commands are refused, as a
    // button of a busy dialog would be.
    if (work_.busy() && id != kIdStopButton && id != kCmdExit) return;
    commands_.Run(id);
}

// ---- text size -----------------------------------------------------------------------------

void TTolvaneWindow::ArrangeTextSizeClick(UINT id) {
    views().SetTextSize(kTextSizes[id - kCmdTextLargest]);
    hosts_->ApplyTextSize();
    settings_.user->WriteInteger(keys::kDefault, keys::kTextSize, textSize());
    LbRECsClick();
}

// ---- the record list -----------------------------------------------------------------------

int TTolvaneWindow::ReadRecordList() {
    records_.Read(RecordFolder(), session_->currentRecordPath());
    return records_.Count();
}

void TTolvaneWindow::SelectRecord(int index) { records_.SelectByIndex(index); }

}  // namespace tv
