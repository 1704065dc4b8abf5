#include "ui/dialogs/add_item_dialog.h"

#include <commctrl.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>

#include "app/folders.h"
#include "app/options.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "app/startup.h"
#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "capture/add_operations.h"
#include "capture/program_records.h"
#include "capture/recording.h"
#include "records/icon_strip.h"
#include "ui/dialogs/add_item_listings.h"
#include "ui/dialogs/dialog_parts.h"
#include "ui/message_pump.h"
#include "ui/window_text.h"

namespace tv {

namespace {
constexpr wchar_t kDialogClass[] = L"TFrmActionAdd";
constexpr wchar_t kPageCaptions[TFrmActionAdd::kPageCount][32] = {
    L"   Installed Programs   ", L"   Running Programs   ", L"   Folders and Webpage   ", L"   Recent Documents   ",
    L"      Recent Folders      "};
constexpr wchar_t kColumns[TFrmActionAdd::kPageCount][2][10] = {
    {L"Name", L"Address"}, {L"Name", L"Location"}, {L"Name", L"Address"}, {L"Caption", L"Location"},
    {L"Caption", L"Location"}};
constexpr wchar_t kBrowseTitle[] = L"Please Select a Path,Current path is ";
// A disabled name box is light grey.
constexpr COLORREF kDisabledBoxColour = RGB(239, 239, 239);
// Client area and places at 96 dots per inch.
constexpr int kWidth = 720, kHeight = 440, kMargin = 8, kPagesTop = 72, kStripHeight = 24;
constexpr UINT_PTR kTimerInit = 1;
constexpr UINT kInitDelayMs = 200;
// While a page loads, the queue runs at most this often.
constexpr ULONGLONG kPumpEveryMs = 30;
enum { IdBrowse = 100, IdRefresh, IdAlterName, IdRunAsAdmin, IdOpenContaining, IdOpen };
constexpr wchar_t kAdminHint[] =
    L"Some running programs require the admin to view,including Installer or other programs that run as admin. "
    L"For a full vistion of \"Running Programs Record\",you can select \"Run TolVane as admin\".";
}  // namespace

AddItemSources RealAddItemSources(const std::wstring& ownPath) {
    AddItemSources s;
    s.programFolders = StartMenuProgramFolders;
    s.recentFolder = RecentFolder;
    s.runningPrograms = [ownPath] { return RealRecordingSources(ownPath).RunningPrograms(NoStartupFilter); };
    // The dialog lists web pages whatever the recording option says.
    s.openLocations = [ownPath] { return RealRecordingSources(ownPath).OpenLocations(true); };
    return s;
}

TFrmActionAdd::TFrmActionAdd(Options& options, SettingsStore& userSettings, RecordIntake& record,
                             AddItemSources sources)
    : options_(options), user_(userSettings), record_(record), sources_(std::move(sources)) {}

TFrmActionAdd::~TFrmActionAdd() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool TFrmActionAdd::Create(HWND owner) {
    if (hwnd_) return true;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                              ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    if (!RegisterDialogClass(kDialogClass, WndProc, LoadIconW(inst, MAKEINTRESOURCEW(1)))) return false;
    dpi_ = ScreenDpi();
    font_ = modal_.Font();
    boldFont_.reset(MessageFont(FW_BOLD));
    ownerDrawnTabs_ = TabsDrawnByProgram();
    strip_.reset(CreateStandardStrip());

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, S(kWidth), S(kHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    hwnd_ = CreateWindowExW(exStyle, kDialogClass, L"Add document", style, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, owner, nullptr, inst, this);
    if (!hwnd_) return false;
    FormCreate();
    FormResize();
    return true;
}

HWND TFrmActionAdd::Control(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
                            DWORD exStyle) {
    return CreateControl(hwnd_, font_, dpi_, cls, text, style, x, y, w, h, id, exStyle);
}

void TFrmActionAdd::FormCreate() {
    // Created in tab order: the boxes, the buttons, the page tabs, then the lists.
    const DWORD label = SS_LEFT | SS_NOPREFIX;
    lbAction = Control(WC_STATICW, L"Address", label, kMargin, 12, 50, 16);
    EdtAction = Control(WC_EDITW, L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, 60, 8, 380, 23, 0, WS_EX_CLIENTEDGE);
    lbName = Control(WC_STATICW, L"Name", label, 450, 12, 40, 16);
    EdtName = Control(WC_EDITW, L"", ES_AUTOHSCROLL | WS_TABSTOP, 492, 8, kWidth - kMargin - 492, 23, 0,
                      WS_EX_CLIENTEDGE);
    cbNeedAlterName = Control(WC_BUTTONW, L"Alter Name", BS_AUTOCHECKBOX | WS_TABSTOP, 492, 34, 100, 20, IdAlterName);
    ShowWindow(cbNeedAlterName, SW_HIDE);
    BtnChoose = Control(WC_BUTTONW, L"&Browse", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, kMargin, 38, 84, 25, IdBrowse);
    btnRefresh = Control(WC_BUTTONW, L"&Refresh", BS_PUSHBUTTON | WS_TABSTOP, 98, 38, 84, 25, IdRefresh);
    const int cancelLeft = kWidth - kMargin - 82;
    BtnAdd = Control(WC_BUTTONW, L"Confirm to &Add", BS_DEFPUSHBUTTON | WS_TABSTOP, cancelLeft - 138, 38, 130, 25, IDOK);
    SpeedButton1 = Control(WC_BUTTONW, L"&Cancel", BS_PUSHBUTTON | WS_TABSTOP, cancelLeft, 38, 82, 25, IDCANCEL);

    const DWORD tabStyle = WS_CLIPSIBLINGS | WS_TABSTOP | WS_GROUP | (ownerDrawnTabs_ ? TCS_OWNERDRAWFIXED : 0);
    PageControl1 = Control(WC_TABCONTROLW, L"", tabStyle, 0, kPagesTop, 10, 10);
    const DWORD listStyle = LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SORTASCENDING | WS_TABSTOP | WS_BORDER;
    for (int i = 0; i < kPageCount; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kPageCaptions[i]);
        TabCtrl_InsertItem(PageControl1, i, &item);
        HWND list = Control(WC_LISTVIEWW, L"", listStyle, 0, 0, 10, 10);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
        ListView_SetImageList(list, strip_.get(), LVSIL_SMALL);
        for (int c = 0; c < 2; ++c) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = const_cast<wchar_t*>(kColumns[i][c]);
            column.cx = S(220);
            ListView_InsertColumn(list, c, &column);
        }
        lists_[i] = list;
    }
    LvInstallPrograms = lists_[kPageInstalled];
    LbApps = lists_[kPageRunning];
    LbFiles = lists_[kPageOpen];
    LbRecentDocuments = lists_[kPageRecentDocuments];
    LvRecentFolders = lists_[kPageRecentFolders];

    PnlHint = Control(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS | SS_CENTERIMAGE, 0, 0, 10, 10);
    Gauge1 = Control(PROGRESS_CLASSW, L"", PBS_SMOOTH, 0, 0, 10, 10);
    ShowWindow(PnlHint, SW_HIDE);
    ShowWindow(Gauge1, SW_HIDE);
    adminStrip_ = CreateAdminStrip(hwnd_, font_, dpi_, kAdminHint, IdRunAsAdmin);
    PanelHint = adminStrip_.panel;
    CheckBox1 = adminStrip_.box;

    PopupMenu1.reset(CreatePopupMenu());
    AppendMenuW(PopupMenu1.get(), MF_STRING, IdOpenContaining, L"Open &containing folder");
    AppendMenuW(PopupMenu1.get(), MF_STRING, IdOpen, L"&Open");
    AppendMenuW(PopupMenu1.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(PopupMenu1.get(), MF_STRING, IdRefresh, L"&Refresh\tF5");
    ShowPageList();
}

void TFrmActionAdd::FormResize() {
    if (!hwnd_) return;
    RECT c{};
    GetClientRect(hwnd_, &c);
    // From the bottom up: the elevation strip, the progress strip, then the pages.
    int bottom = c.bottom - S(kMargin);
    if (adminStripShown_) {
        const int height = AdminStripHeight(adminStrip_, font_, c.right - S(2 * kMargin), dpi_);
        PlaceAdminStrip(adminStrip_, RECT{S(kMargin), bottom - height, c.right - S(kMargin), bottom}, dpi_);
        bottom -= height + S(4);
    }
    const int stripTop = bottom - S(kStripHeight);
    const int pagesBottom = progressShown_ ? stripTop - S(4) : bottom;
    const int pagesWidth = c.right - S(2 * kMargin);
    MoveWindow(PageControl1, S(kMargin), S(kPagesTop), pagesWidth, pagesBottom - S(kPagesTop), TRUE);
    RECT inside{S(kMargin), S(kPagesTop), S(kMargin) + pagesWidth, pagesBottom};
    TabCtrl_AdjustRect(PageControl1, FALSE, &inside);
    for (HWND list : lists_) {
        MoveWindow(list, inside.left, inside.top, inside.right - inside.left, inside.bottom - inside.top, TRUE);
        ListView_SetColumnWidth(list, 0, S(220));
        ListView_SetColumnWidth(list, 1, std::max(S(40), pagesWidth - S(240)));
    }
    const int gaugeWidth = S(200);
    MoveWindow(PnlHint, S(kMargin), stripTop, pagesWidth - gaugeWidth - S(8), S(kStripHeight), TRUE);
    MoveWindow(Gauge1, c.right - S(kMargin) - gaugeWidth, stripTop + S(4), gaugeWidth, S(kStripHeight - 8), TRUE);
}

int TFrmActionAdd::activePage() const { return PageControl1 ? TabCtrl_GetCurSel(PageControl1) : -1; }

void TFrmActionAdd::SelectPage(int index) {
    if (!hwnd_ || index < 0 || index >= kPageCount) return;
    TabCtrl_SetCurSel(PageControl1, index);
    ShowPageList();
}

void TFrmActionAdd::ShowPageList() {
    const int page = activePage();
    for (int i = 0; i < kPageCount; ++i) ShowWindow(lists_[i], i == page && !loading_ ? SW_SHOW : SW_HIDE);
}

void TFrmActionAdd::ApplyNeedAlterName() {
    EnableWindow(EdtName, Checked(cbNeedAlterName));
    InvalidateRect(EdtName, nullptr, TRUE);
}

void TFrmActionAdd::SetAddressColour(COLORREF colour) {
    addressColour_ = colour;
    addressBrush_.reset(CreateSolidBrush(colour));
    InvalidateRect(EdtAction, nullptr, TRUE);
}

bool TFrmActionAdd::Open(HWND owner, std::wstring& lastAddress) {
    if (modal_.running()) return false;
    const bool needAlterName = user_.ReadBool(keys::kDefault, keys::kNeedAlterName, false);
    if (!Create(owner)) return false;
    if (GetWindow(hwnd_, GW_OWNER) != owner)
        SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    const int page = user_.ReadInteger(keys::kAddDocumentForm, keys::kAddItemPage, 0);
    SelectPage(page >= 0 && page < kPageCount ? page : 0);
    SetWindowTextW(EdtAction, lastAddress.c_str());
    Check(cbNeedAlterName, needAlterName);
    ApplyNeedAlterName();
    CentreOverOwner(hwnd_, owner);

    SetAddressColour(kInputBoxColour);
    WriteResumeMarker(options_, kResumeNone);
    stop_ = false;
    SetTimer(hwnd_, kTimerInit, kInitDelayMs, nullptr);
    const bool confirmed = modal_.Run(hwnd_, Behaviour());
    if (hwnd_) KillTimer(hwnd_, kTimerInit);

    lastAddress = hwnd_ ? TextOf(EdtAction) : lastAddress;
    try {
        user_.WriteString(keys::kDefault, keys::kAddItemAddress, lastAddress);
        if (hwnd_) user_.WriteBool(keys::kDefault, keys::kNeedAlterName, Checked(cbNeedAlterName));
    } catch (const SettingsWriteError&) {
        // A settings file the user may not write keeps its old values; the dialog still closed.
    }
    return confirmed;
}

ModalDialog::Behaviour TFrmActionAdd::Behaviour() {
    ModalDialog::Behaviour behaviour;
    behaviour.focusFirst = [this] { SetFocus(EdtAction); };
    behaviour.confirm = [this] { BtnAddClick(); };
    behaviour.cancel = [this] { SpeedButton1Click(); };
    behaviour.keys = [this](const MSG& msg) { return Keys(msg); };
    return behaviour;
}

bool TFrmActionAdd::Keys(const MSG& msg) {
    if (msg.wParam == VK_F5 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
        PageControl1Change();  // "&Refresh" of the shortcut menu
        return true;
    }
    if (GetKeyState(VK_CONTROL) >= 0) return false;
    if (msg.wParam == VK_TAB) {
        // Ctrl+Tab and Ctrl+Shift+Tab turn the pages, round the ends.
        const int step = GetKeyState(VK_SHIFT) < 0 ? kPageCount - 1 : 1;
        SelectPage((activePage() + step) % kPageCount);
        PageControl1Change();
        return true;
    }
    if (msg.wParam == 'A' && std::find(std::begin(lists_), std::end(lists_), msg.hwnd) != std::end(lists_)) {
        ListView_SetItemState(msg.hwnd, -1, LVIS_SELECTED, LVIS_SELECTED);
        return true;
    }
    return false;
}

void TFrmActionAdd::Close(bool confirmed) {
    stop_ = true;  // a load in progress ends with the dialog
    modal_.End(confirmed);
}

void TFrmActionAdd::SpeedButton1Click() { Close(false); }

std::vector<std::pair<std::wstring, std::wstring>> TFrmActionAdd::ChosenPairs() {
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    const int page = activePage();
    if (page < 0) return pairs;
    HWND list = lists_[page];
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED))
        pairs.emplace_back(ListViewText(list, row, 1), ListViewText(list, row, 0));
    return pairs;
}

void TFrmActionAdd::BtnAddClick() {
    const std::wstring address = Trim(TextOf(EdtAction));
    if (address.empty()) {
        SetAddressColour(kRefusedBoxColour);
        SetFocus(EdtAction);
        return;
    }
    if (Trim(TextOf(EdtName)).empty()) SetWindowTextW(EdtName, address.c_str());
    stop_ = true;  // what a load has listed so far is what can be chosen
    auto pairs = ChosenPairs();
    if (pairs.empty()) pairs.emplace_back(address, TextOf(EdtName));
    bool added = false;
    try {
        record_.LoadProgramNames();
        record_.NoteExisting(address);  // the address stands as the last added until a pair is added
        for (const auto& pair : pairs) added |= TakeItem(record_, pair.first, pair.second);
    } catch (...) {
        // What was added stays, and is saved below.
    }
    try {
        if (added) record_.SaveCurrentRecord();
        record_.ShowAllPageAndLastAdded();
    } catch (...) {
        // The record's own failure report has told the user.
    }
    Close(true);
}

void TFrmActionAdd::BtnChooseClick() {
    const std::wstring programFiles = SpecialFolderPath(CSIDL_PROGRAM_FILES);
    const std::wstring chosen = sources_.picker(hwnd_, kBrowseTitle + programFiles, programFiles);
    if (chosen.empty()) return;
    const std::wstring folder = NormaliseFolder(chosen);
    SetWindowTextW(EdtAction, folder.c_str());
    std::wstring bare = folder;
    if (bare.size() > 3 && bare.back() == L'\\') bare.pop_back();
    SetWindowTextW(EdtName, DisplayNameOfPath(bare).c_str());
}

void TFrmActionAdd::ListClick(HWND list) {
    const int row = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    if (row < 0) return;
    const std::wstring path = ListViewText(list, row, 1);
    const bool recentPage = list == LbRecentDocuments || list == LvRecentFolders;
    if (!recentPage && path.empty()) return;
    SetWindowTextW(EdtAction, path.c_str());
    SetWindowTextW(EdtName, ListViewText(list, row, 0).c_str());
}

void TFrmActionAdd::BtnRunAsAdminClick() {
    if (!Checked(CheckBox1)) return;
    Check(CheckBox1, false);
    // The elevated instance reopens this dialog; when it did not start, the dialog stays.
    if (RestartElevated(options_, kResumeAddItem)) Close(false);
}

std::wstring TFrmActionAdd::SelectedRowPath() {
    const int page = activePage();
    if (page < 0) return L"";
    const int row = ListView_GetNextItem(lists_[page], -1, LVNI_SELECTED);
    return row < 0 ? L"" : ListViewText(lists_[page], row, 1);
}

void TFrmActionAdd::Opencontainingfolder1Click() {
    const std::wstring folder = ContainerOf(SelectedRowPath());
    if (!folder.empty() && sources_.open) sources_.open(folder);
}

void TFrmActionAdd::Open1Click() {
    const std::wstring path = SelectedRowPath();
    if (!path.empty() && sources_.open) sources_.open(path);
}

void TFrmActionAdd::ShowPopupMenu(HWND from, LPARAM at) {
    POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (p.x == -1 && p.y == -1) {
        // From the keyboard: at the focused row, or at the control's corner.
        RECT r{};
        const int row = from == PageControl1 ? -1 : ListView_GetNextItem(from, -1, LVNI_FOCUSED);
        if (row < 0 || !ListView_GetItemRect(from, row, &r, LVIR_LABEL)) GetClientRect(from, &r);
        p = {r.left, r.bottom};
        ClientToScreen(from, &p);
    }
    TrackPopupMenu(PopupMenu1.get(), TPM_LEFTALIGN | TPM_TOPALIGN, p.x, p.y, 0, hwnd_, nullptr);
}

// ---- page loads ----------------------------------------------------------------------------

void TFrmActionAdd::StorePage(int index) {
    try {
        user_.WriteInteger(keys::kAddDocumentForm, keys::kAddItemPage, index);
    } catch (const SettingsWriteError&) {
        // The next showing starts on the page stored before.
    }
}

void TFrmActionAdd::PageControl1Change() {
    const int page = activePage();
    if (page < 0 || loading_) return;
    loading_ = true;
    stop_ = false;
    // Only the running programs need the elevated program to be seen whole.
    ShowAdminStrip(page == kPageRunning && !options_.host().RunningAsAdmin());
    ShowPageList();
    ShowProgress(true);
    try {
        switch (page) {
        case kPageInstalled: LoadInstalledPrograms(); break;
        case kPageRunning: LoadRunningPrograms(); break;
        case kPageOpen: LoadOpenLocations(); break;
        default: LoadRecentLists(); break;
        }
    } catch (...) {
        // The list keeps what was added before the failure.
    }
    loading_ = false;
    ++loadsDone_;
    if (hwnd_) {
        ShowProgress(false);
        ShowPageList();
    }
    StorePage(page);
}

void TFrmActionAdd::ShowProgress(bool shown) {
    progressShown_ = shown;
    SendMessageW(Gauge1, PBM_SETPOS, 0, 0);
    ShowWindow(PnlHint, shown ? SW_SHOW : SW_HIDE);
    ShowWindow(Gauge1, shown ? SW_SHOW : SW_HIDE);
    FormResize();
}

void TFrmActionAdd::ShowAdminStrip(bool shown) {
    adminStripShown_ = shown && PanelHint;
    ShowWindow(PanelHint, adminStripShown_ ? SW_SHOW : SW_HIDE);
    FormResize();
}

void TFrmActionAdd::Hint(const std::wstring& text) { SetWindowTextW(PnlHint, text.c_str()); }

void TFrmActionAdd::StepGauge() { SendMessageW(Gauge1, PBM_DELTAPOS, 1, 0); }

void TFrmActionAdd::RowShown(const std::wstring& text) {
    // A row's text would stand for a fraction of a millisecond, and drawing it costs more than
    // reading the row: the strip shows the latest row each time the queue runs.
    rowHint_ = text;
    ++rowSteps_;
}

void TFrmActionAdd::ShowRowProgress() {
    if (rowSteps_ == 0) return;
    Hint(rowHint_);
    SendMessageW(Gauge1, PBM_DELTAPOS, rowSteps_, 0);
    rowSteps_ = 0;
}

bool TFrmActionAdd::StopAsked() {
    const ULONGLONG now = GetTickCount64();
    if (!stop_ && now - pumpedAt_ >= kPumpEveryMs) {
        pumpedAt_ = now;
        ShowRowProgress();
        // The dialog's keys work as in its own loop: Escape and Cancel stop the load.
        const ModalDialog::Behaviour behaviour = Behaviour();
        MSG msg;
        while (!stop_ && NextMessage(msg, false)) {
            if (hwnd_ && (ModalDialog::TranslateKey(hwnd_, msg, behaviour) || IsDialogMessageW(hwnd_, &msg))) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return stop_ || !hwnd_;
}

int TFrmActionAdd::IconOf(const std::wstring& path) {
    // The same program found again, in this listing or a later one, keeps its image: the strip
    // does not grow with every reload.
    const std::wstring key = ToLower(path);
    const auto known = icons_.find(key);
    if (known != icons_.end()) return known->second;
    const int index = IconIndex(path, L"", strip_.get());
    icons_.emplace(key, index);
    return index;
}

// Rows of the long listings ask for their image when the list first draws them: reading a
// program's icon costs many times what reading its shortcut does, and few rows are ever seen.
int TFrmActionAdd::IconWhenDrawn(const std::wstring&) { return I_IMAGECALLBACK; }

void TFrmActionAdd::LoadInstalledPrograms() {
    HWND list = LvInstallPrograms;
    Hint(L"Loading...");
    collected_.clear();  // each listing gathers its paths afresh
    RealRecentFolderReader reader;
    const std::vector<std::wstring> folders = sources_.programFolders();
    static const wchar_t* const kStages[] = {L"Loading All Programs in Current User...",
                                             L"Loading All Programs in Load Machine..."};
    for (size_t i = 0; i < folders.size() && !StopAsked(); ++i) {
        Hint(kStages[std::min<size_t>(i, 1)]);
        for (const FoundPath& found : PathsBelow({folders[i]}, reader)) collected_.push_back(found.path);
        StepGauge();
    }
    SendMessageW(Gauge1, PBM_SETRANGE32, 0, static_cast<LPARAM>(collected_.size() + 4));
    Hint(L"Clear Older Data...");
    ListView_DeleteAllItems(list);
    StepGauge();
    RecordingResolutionMachine machine;  // one link object for every shortcut
    auto rows = InstalledProgramRows(
        collected_, machine, IconWhenDrawn,
        [this](const std::wstring& t) { RowShown(t); },
        [this] { return StopAsked(); });
    ShowRowProgress();
    if (hwnd_) AppendListRows(list, rows);
}

void TFrmActionAdd::LoadRecentLists() {
    Hint(L"Loading...");
    RealRecentFolderReader reader;
    const std::wstring folder = sources_.recentFolder();
    const std::vector<ListedEntry> entries = RecentFolderEntries(folder, reader);
    SendMessageW(Gauge1, PBM_SETRANGE32, 0, static_cast<LPARAM>(entries.size() + 3));
    Hint(L"Clear Older Data...");
    ListView_DeleteAllItems(LbRecentDocuments);
    ListView_DeleteAllItems(LvRecentFolders);
    Hint(L"Load All Data...");
    RecordingResolutionMachine machine;
    const RecentRows rows = RecentFolderRows(
        folder, entries, machine, IconWhenDrawn,
        [this](const std::wstring& t) { RowShown(t); },
        [this] { return StopAsked(); });
    if (!hwnd_) return;
    ShowRowProgress();
    AppendListRows(LbRecentDocuments, rows.documents);
    AppendListRows(LvRecentFolders, rows.folders);
}

void TFrmActionAdd::LoadRunningPrograms() {
    Hint(L"Loading...");
    const std::vector<ProgramPair> programs = sources_.runningPrograms();
    SendMessageW(Gauge1, PBM_SETRANGE32, 0, static_cast<LPARAM>(programs.size() + 1));
    ListView_DeleteAllItems(LbApps);
    ProgramRowServices services;
    services.inStartupFilterList = sources_.inStartupFilterList;
    services.iconIndex = [this](const std::wstring& p) { return IconOf(p); };
    services.stepGauge = [this] { StepGauge(); };
    AppendRunningProgramRows(LbApps, programs, services);
}

void TFrmActionAdd::LoadOpenLocations() {
    Hint(L"Loading...");
    const std::vector<LocationPair> locations = sources_.openLocations();
    ListView_DeleteAllItems(LbFiles);
    LocationRowServices services;
    services.iconIndex = [this](const std::wstring& p) { return IconOf(p); };
    services.fileExists = [](const std::wstring& p) { return FileExists(p); };
    AppendOpenLocationRows(LbFiles, locations, services);
}

// ---- messages ------------------------------------------------------------------------------

LRESULT TFrmActionAdd::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) return 0;
        switch (LOWORD(wParam)) {
        case IDOK: BtnAddClick(); break;
        case IDCANCEL: SpeedButton1Click(); break;
        case IdBrowse: BtnChooseClick(); break;
        case IdRefresh: PageControl1Change(); break;
        case IdAlterName: ApplyNeedAlterName(); break;
        case IdRunAsAdmin: BtnRunAsAdminClick(); break;
        case IdOpenContaining: Opencontainingfolder1Click(); break;
        case IdOpen: Open1Click(); break;
        }
        return 0;
    case WM_CONTEXTMENU: {
        HWND from = reinterpret_cast<HWND>(wParam);
        if (from == PageControl1 || std::find(std::begin(lists_), std::end(lists_), from) != std::end(lists_))
            ShowPopupMenu(from, lParam);
        return 0;
    }
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_NOTIFY: {
        const NMHDR* n = reinterpret_cast<const NMHDR*>(lParam);
        if (n->hwndFrom == PageControl1 && n->code == TCN_SELCHANGE) {
            ShowPageList();
            PageControl1Change();
        } else if (n->code == LVN_DELETEALLITEMS) {
            return TRUE;  // no note for each row a reload drops
        } else if (n->code == LVN_GETDISPINFOW) {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
            if (item.mask & LVIF_IMAGE) {
                item.iImage = IconOf(ListViewText(n->hwndFrom, item.iItem, 1));
                item.mask |= LVIF_DI_SETITEM;  // asked once per row
            }
        } else if (n->code == NM_CLICK) {
            ListClick(n->hwndFrom);
        } else if (n->code == NM_DBLCLK) {
            ListClick(n->hwndFrom);
            BtnAddClick();
        }
        return 0;
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (dis.hwndItem != PageControl1) return FALSE;
        const wchar_t* caption = dis.itemID < kPageCount ? kPageCaptions[dis.itemID] : L"";
        DrawTabCaption(dis, caption, static_cast<int>(dis.itemID) == activePage(), font_, boldFont_.get());
        return TRUE;
    }
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lParam) == EdtAction && addressBrush_) {
            SetBkColor(reinterpret_cast<HDC>(wParam), addressColour_);
            return reinterpret_cast<LRESULT>(addressBrush_.get());
        }
        break;
    case WM_CTLCOLORSTATIC:
        // A read-only or disabled name box says so in light grey.
        if (reinterpret_cast<HWND>(lParam) == EdtName) {
            if (!greyBrush_) greyBrush_.reset(CreateSolidBrush(kDisabledBoxColour));
            SetBkColor(reinterpret_cast<HDC>(wParam), kDisabledBoxColour);
            return reinterpret_cast<LRESULT>(greyBrush_.get());
        }
        break;
    case WM_TIMER:
        if (wParam == kTimerInit) {
            KillTimer(hwnd_, kTimerInit);
            PageControl1Change();
        }
        return 0;
    case WM_SIZE:
        FormResize();
        return 0;
    case WM_CLOSE:
        SpeedButton1Click();
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK TFrmActionAdd::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = AttachedObject<TFrmActionAdd>(hwnd, msg, lParam);
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE) self->hwnd_ = hwnd;
    if (msg == WM_NCDESTROY) {
        // Gone with its owner: the next opening makes a new one.
        self->stop_ = true;
        self->hwnd_ = nullptr;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    try {
        return self->Handle(msg, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace tv
