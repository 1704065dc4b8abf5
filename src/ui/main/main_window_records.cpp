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
#include "ui/message_pump.h"
#include "ui/window_text.h"

namespace tv {

void TTolvaneWindow::AddCommands() {
    commands_.Add(kCmdExit, [this](UINT) { PostMessageW(hwnd_, WM_CLOSE, 0, 0); });
    commands_.Add(kCmdHelp, [this](UINT) { BtnHelpClick(); });
    commands_.Add(kCmdOpenApplicationPath, [this](UINT) { OpenApplicationPath1Click(); });
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
        TrackPopupMenu(PopupMenuMore, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, hwnd_, nullptr);
    });
    for (UINT id : {kCmdViewMenuBar, kCmdAppMenuBar})
        commands_.Add(id, [this](UINT) { ApplyMenuBar(!menuBarShown()); });
    for (UINT id : {kCmdViewStatusBar, kCmdAppStatusBar})
        commands_.Add(id, [this](UINT) { ApplyStatusBar(!statusBarShown()); });
    for (UINT id : {kCmdViewRecordList, kCmdAppRecordList})
        commands_.Add(id, [this](UINT) { ApplyRecordList(!recordListShown_); });
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

void TTolvaneWindow::ApplyTextSize() {
    for (size_t i = 0; i < std::size(kTextSizes); ++i)
        CheckMenuItem(PmDocTree, kCmdTextLargest + static_cast<UINT>(i),
                      MF_BYCOMMAND | (kTextSizes[i] == textSize() ? MF_CHECKED : MF_UNCHECKED));
    views().SetTextSize(textSize());
}

void TTolvaneWindow::ArrangeTextSizeClick(UINT id) {
    views().SetTextSize(kTextSizes[id - kCmdTextLargest]);
    ApplyTextSize();
    UserSettings().WriteInteger(keys::kDefault, keys::kTextSize, textSize());
    LbRECsClick();
}

// ---- search panel --------------------------------------------------------------------------

void TTolvaneWindow::cbSearchClick() { ShowSearchPanel(!searchShown_); }

void TTolvaneWindow::EnsureSearchPanel() {
    if (ComboBoxSearch) return;
    auto make = [this](const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
        HWND w = CreateWindowExW(0, cls, text, WS_CHILD | WS_TABSTOP | style, 0, 0, 0, 0, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return w;
    };
    ComboBoxSearch = make(WC_COMBOBOXW, L"", WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, kIdSearchBox);
    BtnSSSearch = make(WC_BUTTONW, L"&Search", BS_PUSHBUTTON, kIdSearchButton);
    // Tab order: the panel comes between the record list and the pages, where it is shown.
    SetWindowPos(ComboBoxSearch, LbRECs, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(BtnSSSearch, ComboBoxSearch, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TTolvaneWindow::ShowSearchPanel(bool shown) {
    if (shown) EnsureSearchPanel();
    searchShown_ = shown;
    CheckMenuItem(PopupMenuMore, kCmdSearch, MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
    // The focus leaves the panel before it hides, so it is not lost with it.
    HWND focus = GetFocus();
    if (!shown && focus && (focus == ComboBoxSearch || GetParent(focus) == ComboBoxSearch || focus == BtnSSSearch))
        SetFocus(tvDocs());
    ShowWindow(ComboBoxSearch, shown ? SW_SHOW : SW_HIDE);
    ShowWindow(BtnSSSearch, shown ? SW_SHOW : SW_HIDE);
    if (!shown) LbRECsClick();
    FormResize();
    if (shown) SetFocus(ComboBoxSearch);
}

void TTolvaneWindow::ComboBoxSearchExit() {
    std::wstring t = Trim(TextOf(ComboBoxSearch));
    bool known = false;
    for (const std::wstring& entry : searchHistory_) known = known || ToLower(Trim(entry)) == ToLower(t);
    if (!known) {
        searchHistory_.push_back(t);
        SendMessageW(ComboBoxSearch, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
    }
    BtnSSSearchClick();
}

void TTolvaneWindow::BtnSSSearchClick() {
    ShowWindow(pages_.pageControl(), SW_SHOW);
    // An empty box shows the selected record again; the search over all records comes with
    // the add operations, as a row of its own.
    if (Trim(TextOf(ComboBoxSearch)).empty()) LbRECsClick();
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

void TTolvaneWindow::LbRECsClick() {
    int index = records_.SelectedIndex();
    if (index < 0) return;
    LongWork::Scope busy(work_);
    AddSearchItem(PopupMenuMore);
    {
        RedrawSuspender quiet(tvDocs());
        // The window paints and its Stop button works while a large record is read; clicks and
        // hand-offs meanwhile wait for the reading to end.
        session_->Load(index, [] { KeepResponsive(); });
        DescribeState();
    }
    progress_.Show(false);
    StoreSelectedRecord(index);
    CheckMenuItem(PmRecList, kCmdReplayAtStart, MF_BYCOMMAND | (index == startupRecordIndex_ ? MF_CHECKED : MF_UNCHECKED));
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
