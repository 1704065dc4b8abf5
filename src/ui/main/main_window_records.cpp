// The main window's record list, record trees, search panel and saving of the shown record.
#include "ui/main/main_window.h"

#include "app/settings_store.h"
#include "base/file_util.h"
#include "ui/message_pump.h"
#include "base/path_rules.h"
#include "base/redraw.h"
#include "base/scope_exit.h"
#include "base/strings.h"
#include "base/process_services.h"
#include "records/icon_strip.h"
#include "records/record_file.h"
#include "records/record_library.h"
#include "ui/dialogs/prompter.h"
#include "ui/dialogs/rename_dialog.h"
#include "ui/main/main_menus.h"
#include "ui/window_text.h"

namespace tv {

namespace {
const wchar_t kDefault[] = L"default";
const wchar_t* const kPages[] = {L"All", L"Application", L"File Folder", L"Web Page"};

std::wstring Key(const std::wstring& path) { return ToLower(Trim(path)); }

// Where a new node of an item of this kind goes besides "All".
int KindPage(int kind) { return kind == kWebPage ? 3 : kind == kProgramOrDocument ? 1 : 2; }
}  // namespace

std::wstring TTolvaneWindow::RecordFolder() const { return options_ ? options_->RecordFolder() : L""; }

void TTolvaneWindow::SetStatusText(int panel, const std::wstring& text) {
    EnsureStatusBar();
    SendMessageW(TntStatusBar1, SB_SETTEXTW, panel, reinterpret_cast<LPARAM>(text.c_str()));
}

void TTolvaneWindow::EnsureProgressStrip() {
    if (progress_.created()) return;
    progress_.Create(hwnd_, font_);
}

// ---- the record trees ----------------------------------------------------------------------

void TTolvaneWindow::ShowWebPageTab() {
    if (webPageTab_) return;
    webPageTab_ = true;
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<wchar_t*>(kPages[3]);
    SendMessageW(PageControlTree, TCM_INSERTITEMW, 3, reinterpret_cast<LPARAM>(&tab));
}

void TTolvaneWindow::DrawTab(const DRAWITEMSTRUCT& item) {
    int index = static_cast<int>(item.itemID);
    if (index < 0 || index > 3) return;
    bool active = TabCtrl_GetCurSel(PageControlTree) == index;
    RECT r = item.rcItem;
    FillRect(item.hDC, &r, GetSysColorBrush(active ? COLOR_WINDOW : COLOR_BTNFACE));
    HGDIOBJ old = SelectObject(item.hDC, font_);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(item.hDC, kPages[index], -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    if (active) {
        // Bold drawn as the font engine emboldens: the same text once more, one pixel on. Loading
        // the bold face itself would cost the first paint a font file.
        OffsetRect(&r, 1, 0);
        DrawTextW(item.hDC, kPages[index], -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    SelectObject(item.hDC, old);
}

void TTolvaneWindow::OnNotify(NMHDR* hdr) {
    if (hdr->hwndFrom == PageControlTree) {
        if (hdr->code == TCN_SELCHANGE) ShowPage(TabCtrl_GetCurSel(PageControlTree));
        return;
    }
    bool isTree = false;
    for (int i = 0; i < 4; ++i) isTree = isTree || (hdr->hwndFrom && hdr->hwndFrom == views_.Existing(i));
    if (!isTree) return;
    switch (hdr->code) {
        case TVN_ITEMEXPANDINGW:
            // A large branch repaints smoothly when what is waiting is drawn first.
            if (hdr->hwndFrom == TVDocs) ProcessMessages();
            break;
        case TVN_ITEMEXPANDEDW: {
            auto* tv = reinterpret_cast<NMTREEVIEWW*>(hdr);
            auto* node = reinterpret_cast<RecordNode*>(tv->itemNew.lParam);
            if (hdr->hwndFrom != TVDocs || !node) break;
            if (tv->action & TVE_EXPAND) record_.TVDocsExpanded(*node);
            else if (tv->action & TVE_COLLAPSE) record_.TVDocsCollapsed(*node);
            break;
        }
        case TVN_GETINFOTIPW: {
            // The hint of a node is the path of its item.
            auto* tip = reinterpret_cast<NMTVGETINFOTIPW*>(hdr);
            auto* node = reinterpret_cast<RecordNode*>(tip->lParam);
            if (!node || !record_.items.Valid(node->data.itemIndex) || !tip->pszText || tip->cchTextMax <= 0) break;
            lstrcpynW(tip->pszText, record_.items.At(node->data.itemIndex).path.c_str(), tip->cchTextMax);
            break;
        }
        default:
            break;
    }
}

void TTolvaneWindow::NodeHovered(HWND, RecordNode& node) {
    if (!record_.items.Valid(node.data.itemIndex)) return;
    SetStatusText(1, L" Location : " + record_.items.At(node.data.itemIndex).path);
    SetStatusText(0, L"   Title : " + node.caption);
}

void TTolvaneWindow::SelectByPath(const std::wstring& path) {
    PathQueries queries;
    queries.folderExists = [](const std::wstring& p) { return ProcessServices::Instance().FolderExists(p); };
    tv::SelectByPath(TVDocs, record_.items, path, queries);
}

void TTolvaneWindow::ShowAllPageAndLastAdded() {
    ShowPage(0);
    SelectByPath(lastAdded_);
}

bool TTolvaneWindow::Contains(const std::wstring& path) {
    std::wstring key = Key(path);
    for (const auto& node : record_.docs.top())
        if (record_.items.Valid(node->data.itemIndex) && Key(record_.items.At(node->data.itemIndex).path) == key)
            return true;
    return false;
}

void TTolvaneWindow::AddItem(const std::wstring& path, const std::wstring& title) {
    // Until the add operations exist, an item is a top-level entry of its plain kind.
    TMyDoc item;
    item.path = item.groupKey = path;
    item.title = title.empty() ? path : title;
    item.kind = IsWebAddress(path) ? kWebPage
                : ProcessServices::Instance().FolderExists(path) ? kFolderOrLocation
                                                                 : kProgramOrDocument;
    item.imageIndex = IconIndex(path, L"", ImageList1);
    item.expanded = true;
    int index = record_.items.Append(item);
    tv::RecordTree* kindTrees[] = {nullptr, &record_.apps, &record_.paths, &record_.pages};
    int page = KindPage(item.kind);
    for (auto [tree, p] : {std::pair<tv::RecordTree*, int>{&record_.docs, 0}, {kindTrees[page], page}}) {
        RecordNode* node = tree->AddSorted(nullptr, item.title, index);
        node->imageIndex = node->selectedImageIndex = item.imageIndex;
        views_.Insert(p, *node);
    }
    if (item.kind == kWebPage) ShowWebPageTab();
    lastAdded_ = path;
}

void TTolvaneWindow::ClearShownRecord() {
    views_.Clear();  // the controls first: their nodes point into the model
    record_.items.Empty();
    for (tv::RecordTree* tree : {&record_.docs, &record_.apps, &record_.paths, &record_.pages}) tree->Clear();
}

void TTolvaneWindow::ReplaceStrip(HIMAGELIST strip) {
    if (!strip || strip == ImageList1) return;
    HIMAGELIST old = ImageList1;
    ImageList1 = strip;
    views_.SetStrip(strip);
    if (old) ImageList_Destroy(old);
}

// ---- text size -----------------------------------------------------------------------------

void TTolvaneWindow::ApplyTextSize() {
    for (size_t i = 0; i < std::size(kTextSizes); ++i)
        CheckMenuItem(PmDocTree, kCmdTextLargest + static_cast<UINT>(i),
                      MF_BYCOMMAND | (kTextSizes[i] == textSize_ ? MF_CHECKED : MF_UNCHECKED));
    views_.SetTextSize(textSize_);
}

void TTolvaneWindow::ArrangeTextSizeClick(UINT id) {
    textSize_ = kTextSizes[id - kCmdTextLargest];
    ApplyTextSize();
    UserSettings().WriteInteger(kDefault, L"curTextSize", textSize_);
    LbRECsClick();
}

// ---- search panel --------------------------------------------------------------------------

void TTolvaneWindow::cbSearchClick() { ShowSearchPanel(!searchShown_); }

void TTolvaneWindow::ShowSearchPanel(bool shown) {
    if (shown) EnsureSearchPanel();
    searchShown_ = shown;
    CheckMenuItem(PopupMenuMore, kCmdSearch, MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
    ShowWindow(ComboBoxSearch, shown ? SW_SHOW : SW_HIDE);
    ShowWindow(BtnSSSearch, shown ? SW_SHOW : SW_HIDE);
    if (!shown) LbRECsClick();
    FormResize();
    if (shown) SetFocus(ComboBoxSearch);
}

void TTolvaneWindow::ComboBoxSearchExit() {
    std::wstring t = Trim(TextOf(ComboBoxSearch));
    bool known = false;
    for (const std::wstring& entry : searchHistory_) known = known || Key(entry) == ToLower(t);
    if (!known) {
        searchHistory_.push_back(t);
        SendMessageW(ComboBoxSearch, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
    }
    BtnSSSearchClick();
}

void TTolvaneWindow::BtnSSSearchClick() {
    ShowWindow(PageControlTree, SW_SHOW);
    std::wstring text = TextOf(ComboBoxSearch);
    if (Key(text).empty()) {
        LbRECsClick();
        return;
    }
    LaterCommand(kIdSearchButton);  // the search over all records comes with the add operations
}

// ---- the record list -----------------------------------------------------------------------

int TTolvaneWindow::ReadRecordList() {
    records_.Read(RecordFolder(), record_.currentRecordPath);
    return records_.Count();
}

void TTolvaneWindow::SelectRecord(int index) { records_.SelectByIndex(index); }

void TTolvaneWindow::SelectCurrentRecord() {
    int index = records_.SelectCurrent(record_.currentRecordPath);
    if (index >= 0) UserSettings().WriteInteger(kDefault, L"LbRECs", index);
}

void TTolvaneWindow::LbRECsClick() {
    // Expanding nodes while the record loads must not write its selection file.
    record_.recording = true;
    OnExit loaded([this] { record_.recording = false; });
    int index = records_.SelectedIndex();
    if (index < 0) return;
    AddSearchItem(PopupMenuMore);
    std::wstring folder = RecordFolder();
    {
        RedrawSuspender quiet(TVDocs);
        record_.currentRecordPath = JoinPath(folder, records_.Name(index) + kRecordExtension);
        SetStatusText(0, L"   File Name :" + record_.currentRecordPath + L" selected.");
        SetStatusText(1, L" Location :" + folder);
        ClearShownRecord();
        try {
            std::wstring icons = IconFilePath(record_.currentRecordPath);
            if (FileExists(icons)) ReplaceStrip(ReadIconFile(icons));
            ReadRecordFile(record_, record_.currentRecordPath, [this] { ShowWebPageTab(); });
        } catch (...) {
            // What was read is shown.
        }
    }
    progress_.Show(false);
    ProcessMessages();
    ReadSelectionFile(record_, SelectionFilePath(record_.currentRecordPath));
    views_.Show(record_);
    UserSettings().WriteInteger(kDefault, L"LbRECs", index);
    CheckMenuItem(PmRecList, kCmdReplayAtStart,
                  MF_BYCOMMAND | (index == startupRecordIndex_ ? MF_CHECKED : MF_UNCHECKED));
}

bool TTolvaneWindow::LbRECsKeyDown(UINT key) {
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (key == VK_DELETE) BtnDeleteClick();
    else if (key == VK_F5) ReadRecordList();
    else if (ctrl && key == 'A') records_.SelectAll();
    else if (ctrl && key == 'V') DuplicateRecord();
    else return false;
    return true;
}

void TTolvaneWindow::BtnRenameClick() {
    try {
        std::wstring folder = RecordFolder();
        int index = records_.SelectedIndex();
        if (index < 0) return;
        if (!FrmReName) FrmReName = std::make_unique<TFrmReName>();
        std::wstring renamed =
            RenameRecord(hwnd_, *FrmReName, *prompter_, folder, records_.Name(index), kRecordExtension, L"");
        if (folder.empty()) return;
        // The trees keep showing the record as read, under its new name.
        record_.currentRecordPath = renamed.empty() ? L"" : JoinPath(folder, renamed);
        ReadRecordList();
    } catch (...) {
    }
}

void TTolvaneWindow::BtnDeleteClick() {
    if (!prompter_->Ask(hwnd_, L"Are you sure you want to delete selected record?")) return;
    EnsureProgressStrip();
    OnExit finished([this] {
        progress_.SetHint(L"");
        progress_.Show(false);
        progress_.SetPosition(0);
        FormResize();
    });
    progress_.stopRequested = false;
    progress_.SetPosition(0);
    progress_.Show(true);
    FormResize();
    ClearShownRecord();
    std::vector<std::wstring> names = records_.SelectedNames();
    if (names.empty()) return;
    progress_.SetMaximum(static_cast<int>(names.size()));
    std::wstring folder = RecordFolder();
    for (const std::wstring& name : names) {
        if (progress_.stopRequested) break;
        std::wstring path = JoinPath(folder, name + kRecordExtension);
        RecycleRecordFiles(path);
        progress_.SetHint(L"Deleting " + path);
        ProcessMessages();
        progress_.Step();
    }
    if (hwnd_) ReadRecordList();
}

void TTolvaneWindow::DuplicateRecord() {
    newRecord_ = true;
    ShowPage(0);
    SaveCurrentRecord();
    ProcessMessages();
    ReadRecordList();
    SelectCurrentRecord();
    SelectByPath(lastAdded_);
    EnsureProgressStrip();
    progress_.SetHint(L"Finish.");
}

// ---- saving --------------------------------------------------------------------------------

void TTolvaneWindow::SaveCurrentRecord() {
    std::wstring folder = RecordFolder();
    bool usingNewRecordFlag = false;
    if (nameChosen_) {
        nameChosen_ = false;  // the record question named it, for this save only
    } else if (newRecord_) {
        record_.currentRecordPath = NewRecordName(folder);
        usingNewRecordFlag = true;
    } else {
        int index = records_.SelectedIndex();
        record_.currentRecordPath = records_.Count() > 0 && index >= 0
                                        ? JoinPath(folder, records_.Name(index) + kRecordExtension)
                                        : NewRecordName(folder);
    }
    std::wstring target = FolderOf(record_.currentRecordPath);
    if (!DirectoryExists(target) && !CreateFolderTree(target)) {
        // No folder for the record: the user may pick another one.
        EnsureSettingsDialog();
        if (!FrmMySettings->Open()) return;
        record_.currentRecordPath = JoinPath(RecordFolder(), FileNameOf(record_.currentRecordPath));
    }
    if (!WriteRecord(record_, ImageList1, record_.currentRecordPath, ModulePath())) return;
    // The flag is spent once its new record is written: later saves go to the record shown.
    if (usingNewRecordFlag) newRecord_ = false;
    ReadRecordList();
}

void TTolvaneWindow::WriteRecordTo(const std::wstring& recordPath) {
    if (WriteRecord(record_, ImageList1, recordPath, ModulePath())) ReadRecordList();
}

}  // namespace tv
