// The main window's commands: the table's rows, the record list, text size and the search panel.
#include "ui/main/main_window.h"

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "base/debug_log.h"
#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/process_services.h"
#include "base/redraw.h"
#include "base/strings.h"
#include "records/record_library.h"
#include "ui/main/main_menus.h"
#include "ui/main/program_commands.h"
#include "ui/main/window_hosts.h"
#include "ui/message_pump.h"
#include "ui/window_text.h"

namespace tv {

void TTolvaneWindow::AddCommands() {
    commands_.Add(kCmdExit, [this](UINT) { PostMessageW(hwnd_, WM_CLOSE, 0, 0); });
    AddProgramCommands(commands_, [this] { return hwnd_; });
    commands_.Add(kCmdSettings, [this](UINT) {
        EnsureSettingsDialog();
        FrmMySettings->Open();
    });
    commands_.Add(kCmdRenameRecord, [this](UINT) { listCommands_->BtnRenameClick(); });
    commands_.Add(kCmdRefresh, [this](UINT) { ReadRecordList(); });
    commands_.Add(kCmdDeleteRecord, [this](UINT) { listCommands_->BtnDeleteClick(); });
    commands_.Add(kCmdSearch, [this](UINT) { cbSearchClick(); });
    commands_.Add(kIdSearchButton, [this](UINT) { BtnSSSearchClick(); });
    commands_.Add(kIdStopButton, [this](UINT) { progress_.stopRequested = true; });
    commands_.AddRange(kCmdTextLargest, kCmdTextSmallest, [this](UINT id) { ArrangeTextSizeClick(id); });
    commands_.Add(kCmdMoreButton, [this](UINT) {
        // The button beside the record buttons opens the "more" menu at the mouse.
        POINT at;
        GetCursorPos(&at);
        TrackPopupMenu(menus_.PopupMenuMore, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, hwnd_, nullptr);
    });
    for (UINT id : {kCmdViewMenuBar, kCmdAppMenuBar})
        commands_.Add(id, [this](UINT) { ApplyMenuBar(!menuBarShown()); });
    for (UINT id : {kCmdViewStatusBar, kCmdAppStatusBar})
        commands_.Add(id, [this](UINT) { ApplyStatusBar(!statusBarShown()); });
    for (UINT id : {kCmdViewRecordList, kCmdAppRecordList})
        commands_.Add(id, [this](UINT) { ApplyRecordList(!parts_.recordListShown); });
}

void TTolvaneWindow::OnCommand(UINT id) {
    // While a long operation runs only Stop and Exit act; other commands are refused, as a
    // button of a busy dialog would be.
    if (work_.busy() && id != kIdStopButton && id != kCmdExit) return;
    commands_.Run(id);
}

// ---- the record trees ----------------------------------------------------------------------

void TTolvaneWindow::NodeHovered(HWND, RecordNode& node) {
    const ShownRecord& record = session_->record();
    if (!record.items.Valid(node.data.itemIndex)) return;
    SetStatusText(1, L" Location : " + record.items.At(node.data.itemIndex).path);
    SetStatusText(0, L"   Title : " + node.caption);
}

void TTolvaneWindow::SelectByPath(const std::wstring& path) {
    PathQueries queries;
    queries.folderExists = [](const std::wstring& p) { return ProcessServices::Instance().FolderExists(p); };
    tv::SelectByPath(tvDocs(), session_->record().items, path, queries);
}

// ---- text size -----------------------------------------------------------------------------

void TTolvaneWindow::ArrangeTextSizeClick(UINT id) {
    views().SetTextSize(kTextSizes[id - kCmdTextLargest]);
    hosts_->ApplyTextSize();
    UserSettings().WriteInteger(keys::kDefault, keys::kTextSize, textSize());
    LbRECsClick();
}

// ---- search panel --------------------------------------------------------------------------

void TTolvaneWindow::cbSearchClick() { ShowSearchPanel(!search_.shown()); }

void TTolvaneWindow::ShowSearchPanel(bool shown) {
    if (shown) search_.Ensure(hwnd_, font_, LbRECs);
    CheckMenuItem(menus_.PopupMenuMore, kCmdSearch, MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
    // The focus leaves the panel before it hides, so it is not lost with it.
    HWND focus = GetFocus();
    HWND box = search_.box();
    if (!shown && focus && box && (focus == box || GetParent(focus) == box || focus == search_.button()))
        SetFocus(tvDocs());
    search_.Show(shown);
    if (!shown) LbRECsClick();
    FormResize();
    if (shown) SetFocus(search_.box());
}

void TTolvaneWindow::BtnSSSearchClick() {
    ShowWindow(pages_.pageControl(), SW_SHOW);
    // An empty box shows the selected record again; the search over all records comes with
    // the add operations, as a row of its own.
    if (Trim(search_.Text()).empty()) LbRECsClick();
}

// ---- the record list -----------------------------------------------------------------------

int TTolvaneWindow::ReadRecordList() {
    records_.Read(RecordFolder(), session_->currentRecordPath());
    return records_.Count();
}

void TTolvaneWindow::SelectRecord(int index) { records_.SelectByIndex(index); }

void TTolvaneWindow::StoreSelectedRecord(int index) {
    if (index < 0) return;
    try {
        UserSettings().WriteInteger(keys::kDefault, keys::kSelectedRecord, index);
    } catch (const SettingsWriteError&) {
        LogSwallowed(L"storing the selected record");
    }
}

bool TTolvaneWindow::MayLeaveShownRecord(int& index) {
    if (!session_->unsavedChange()) return true;
    const std::wstring wanted = records_.Name(index);
    // While the user decides, the list names the shown record again: a save tried again goes
    // to the shown record's own file, and a closed question leaves it selected.
    records_.SelectCurrent(session_->currentRecordPath());
    if (!SettleUnsavedChange()) return false;
    // A save as a new record has listed one more record, so the entry is found by its name.
    index = -1;
    for (int i = 0; i < records_.Count() && index < 0; ++i)
        if (records_.Name(i) == wanted) index = i;
    records_.SelectByIndex(index);
    return index >= 0;
}

void TTolvaneWindow::LbRECsClick() {
    int index = records_.SelectedIndex();
    if (index < 0) return;
    LongWork::Scope busy(work_);
    // Reading a record replaces what the trees show: a change not on disk is asked about first.
    if (!MayLeaveShownRecord(index)) return;
    AddSearchItem(menus_.PopupMenuMore);
    {
        RedrawSuspender quiet(tvDocs());
        // The window paints and its Stop button works while a large record is read; clicks and
        // hand-offs meanwhile wait for the reading to end.
        session_->Load(index, [] { KeepResponsive(); });
        DescribeState();
        if (!session_->readWhole())
            SetStatusText(0, L"   File Name :" + session_->currentRecordPath() +
                                 L" was not read completely; changes are saved as a new record.");
    }
    progress_.Show(false);
    StoreSelectedRecord(index);
    CheckMenuItem(menus_.PmRecList, kCmdReplayAtStart, MF_BYCOMMAND | (index == startupRecordIndex_ ? MF_CHECKED : MF_UNCHECKED));
}

void TTolvaneWindow::DescribeState() {
    // The list's selection counts only when it is the record the trees show.
    int index = records_.SelectedIndex();
    const std::wstring& path = session_->currentRecordPath();
    bool shown = index >= 0 && !path.empty() && EqualsNoCase(FileNameOf(path), records_.Name(index) + kRecordExtension);
    SetStatusText(0, shown ? L"   File Name :" + session_->currentRecordPath() + L" selected." : L"No Items Selected.");
    SetStatusText(1, L" Location :" + RecordFolder());
}

bool TTolvaneWindow::LbRECsKeyDown(UINT key) {
    if (work_.busy()) return key == VK_DELETE || key == VK_F5;  // not while a long operation runs
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (key == VK_DELETE) listCommands_->BtnDeleteClick();
    else if (key == VK_F5) ReadRecordList();
    else if (ctrl && key == 'A') records_.SelectAll();
    else if (ctrl && key == 'V') listCommands_->DuplicateRecord();
    else return false;
    return true;
}

}  // namespace tv
