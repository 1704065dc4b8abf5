#include "ui/main/main_window.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "base/constants.h"
#include "app/instance.h"
#include "app/settings_store.h"
#include "app/shell_links.h"
#include "app/windows_version.h"
#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/redraw.h"
#include "base/strings.h"
#include "base/process_services.h"
#include "records/icon_strip.h"
#include "records/record_file.h"
#include "ui/dialogs/prompter.h"
#include "ui/dialogs/rename_dialog.h"
#include "ui/main/main_menus.h"
#include "ui/main/text_drop.h"
#include "ui/main/window_layout.h"
#include "ui/window_text.h"

namespace tv {

namespace {
constexpr UINT_PTR kTimerFirstRun = 1;
constexpr UINT kMsgTextDropped = WM_APP + 1;  // lParam: the text, owned by the message
constexpr UINT kFirstRunDelayMs = 10;
constexpr COLORREF kBackground = 16777209;
constexpr int kSplitterWidth = 6;
const wchar_t kDefault[] = L"default";
const wchar_t* const kPages[] = {L"All", L"Application", L"File Folder", L"Web Page"};

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id = 0, DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

// The width of a control's caption in `font`, mnemonic marks left out.
int CaptionWidth(HWND control, HFONT font) {
    std::wstring text = TextOf(control);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    RECT r{};
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return r.right;
}

BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

void Check(HMENU menu, UINT id, bool on) { CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED)); }
}  // namespace

TTolvaneWindow::TTolvaneWindow(Settings& settings, InstanceBlock* instance)
    : settings_(settings), instance_(instance), prompter_(&SystemPrompter()) {
    record_.writeSelectionFile = [this](const std::wstring& path) { WriteSelectionFile(record_, path); };
}

TTolvaneWindow::~TTolvaneWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
    if (MainMenu1 && !menuBarShown()) DestroyMenu(MainMenu1);
    if (PmApp) DestroyMenu(PmApp);
    if (PopupMenuMore) DestroyMenu(PopupMenuMore);
    if (PmRecList) DestroyMenu(PmRecList);
    if (PmDocTree) DestroyMenu(PmDocTree);
    if (shortcuts_) DestroyAcceleratorTable(shortcuts_);
    if (font_) DeleteObject(font_);
    if (background_) DeleteObject(background_);
    if (ImageList1) ImageList_Destroy(ImageList1);
}

std::wstring TTolvaneWindow::Caption() { return Format(L"%ls Free %1.1f", kAppName, kProgramVersion); }

bool TTolvaneWindow::Create(HINSTANCE instance) {
    background_ = CreateSolidBrush(kBackground);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background_;
    wc.lpszClassName = kMainWindowClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    StoredGeometry g = LoadWindowGeometry(*settings_.user, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    maximisedAtStart_ = g.maximised;
    RECT r = g.maximised ? RECT{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT} : g.bounds;
    int width = g.maximised ? CW_USEDEFAULT : r.right - r.left, height = g.maximised ? CW_USEDEFAULT : r.bottom - r.top;
    hwnd_ = CreateWindowExW(0, kMainWindowClass, Caption().c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, r.left,
                            r.top, width, height, nullptr, nullptr, instance, this);
    return hwnd_ != nullptr;
}

void TTolvaneWindow::Show(int showCommand) {
    if (maximisedAtStart_) showCommand = SW_SHOWMAXIMIZED;
    else if (showCommand == SW_SHOWMAXIMIZED || showCommand == SW_MAXIMIZE) showCommand = SW_SHOWNORMAL;
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
}

bool TTolvaneWindow::TranslateShortcut(MSG& msg) {
    if (!hwnd_) return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && ComboBoxSearch && GetParent(msg.hwnd) == ComboBoxSearch) {
        BtnSSSearchClick();  // Enter in the search box searches
        return true;
    }
    return shortcuts_ && TranslateAcceleratorW(hwnd_, shortcuts_, &msg);
}

void TTolvaneWindow::FormCreate() {
    Startup().startupPhase = true;
    Startup().versionName = CurrentWindowsVersionName();
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    font_ = MessageFont();

    ImageList1 = CreateStandardStrip();
    CreateControls();
    if (font_) EnumChildWindows(hwnd_, SetFontOnChild, reinterpret_cast<LPARAM>(font_));
    // What the command strip's controls need at the least, for windows too narrow for their
    // usual widths (the first start's 520 pixels at 150% scaling, say).
    HWND strip[] = {BtnRec, BtnAdd2, BtnRecordByType, cbSmartRecord};
    const int frame[] = {Scale(12), Scale(12), Scale(12), GetSystemMetrics(SM_CXMENUCHECK) + Scale(8)};
    for (int i = 0; i < 4; ++i) stripNeeds_[i] = CaptionWidth(strip[i], font_) + frame[i];

    ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'F', static_cast<WORD>(kCmdSearch)},
                    {FVIRTKEY, VK_F1, static_cast<WORD>(kCmdHelp)}};
    shortcuts_ = CreateAcceleratorTableW(keys, 2);

    SettingsStore& user = *settings_.user;
    GbRecListWidth_ = user.ReadInteger(kDefault, L"GbRecList", 120);
    // Each show-or-hide choice is applied as if clicked; writing them back waits until the
    // window has painted once (see the first-run timer).
    ApplyMenuBar(user.ReadBool(kDefault, L"MenuBar1", false), false);
    ApplyStatusBar(user.ReadBool(kDefault, L"StatusBar1", false), false);
    ApplyRecordList(user.ReadBool(kDefault, L"RecordList1", true), false);
    creating_ = false;
    FormResize();
    if (instance_) instance_->SetWindow(hwnd_);
    SetTimer(hwnd_, kTimerFirstRun, kFirstRunDelayMs, nullptr);
}

void TTolvaneWindow::CreateControls() {
    MainMenu1 = BuildMainMenu();
    PmApp = BuildAppMenu();
    PopupMenuMore = BuildMoreMenu();
    PmRecList = BuildRecordListMenu();
    PmDocTree = BuildTreeMenu();
    if (Startup().versionName == L"windows 7") {
        // Windows 7 has no such pages to open.
        for (HMENU menu : {MainMenu1, PopupMenuMore})
            for (UINT id : {static_cast<UINT>(kCmdHistory), static_cast<UINT>(kCmdSystemProperties)})
                while (DeleteMenu(menu, id, MF_BYCOMMAND)) {
                }
    }

    BtnRec = Child(hwnd_, WC_BUTTONW, L"    &Start Recording", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kCmdRecord);
    BtnAdd2 = Child(hwnd_, WC_BUTTONW, L"       &Add...", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kCmdAdd);
    BtnRecordByType = Child(hwnd_, WC_BUTTONW, L"...", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kCmdLast);
    cbSmartRecord = Child(hwnd_, WC_BUTTONW, L"Smart Record", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, kCmdSmartRecord);
    PnlSmartRecord = Child(hwnd_, TRACKBAR_CLASSW, L"", WS_VISIBLE | WS_TABSTOP | TBS_NOTICKS);
    SendMessageW(PnlSmartRecord, TBM_SETRANGE, TRUE, MAKELPARAM(3, 60));
    SendMessageW(PnlSmartRecord, TBM_SETPOS, TRUE, 7);

    LbRECs = Child(hwnd_, WC_LISTBOXW, L"",
                   WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL |
                       LBS_WANTKEYBOARDINPUT,
                   kIdRecordList, WS_EX_CLIENTEDGE);
    records_.Attach(LbRECs);
    // The tabs are drawn by the window, the active one in bold; a 32-bit copy on 64-bit Windows
    // keeps the standard drawing.
    DWORD tabStyle = ProcessServices::Instance().IsWow64Mode() ? 0 : TCS_OWNERDRAWFIXED;
    PageControlTree = Child(hwnd_, WC_TABCONTROLW, L"", WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | tabStyle, kIdPageControl);
    // "Web Page" joins the tabs once the record has a web page.
    for (int i = 0; i < 3; ++i) {
        TCITEMW tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<wchar_t*>(kPages[i]);
        SendMessageW(PageControlTree, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&tab));
    }
    views_.Create(hwnd_, ImageList1, this);
    TVDocs = views_.TVDocs;
    views_.Show(record_);
    // The trees lie over the page control's display area.
    SetWindowPos(TVDocs, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The status bar is made when first shown, and the progress strip with the long operations
    // that show it: nothing to pay for at start.
}

void TTolvaneWindow::EnsureStatusBar() {
    if (TntStatusBar1) return;
    TntStatusBar1 = Child(hwnd_, STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, kIdStatusBar);
    if (font_) SendMessageW(TntStatusBar1, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    int parts[] = {Scale(250), -1};
    SendMessageW(TntStatusBar1, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    SendMessageW(TntStatusBar1, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"No Items Selected."));
}

void TTolvaneWindow::FormResize() {
    if (!hwnd_ || !TVDocs || creating_) return;
    RECT rc;
    GetClientRect(hwnd_, &rc);
    laidOut_ = SIZE{rc.right, rc.bottom};
    const int pad = Scale(6), strip = Scale(34), buttonHeight = Scale(26);
    int x = pad, y = pad + (strip - pad - buttonHeight) / 2;
    HDWP defer = BeginDeferWindowPos(16);
    auto place = [&defer](HWND w, int left, int top, int width, int height) {
        if (defer) defer = DeferWindowPos(defer, w, nullptr, left, top, std::max(0, width), std::max(0, height),
                                          SWP_NOZORDER | SWP_NOACTIVATE);
    };
    int widths[] = {Scale(140), Scale(96), Scale(28), Scale(100)};
    if (x + widths[0] + widths[1] + widths[2] + widths[3] + pad * 4 + Scale(60) > rc.right)
        for (int i = 0; i < 4; ++i) widths[i] = std::min(widths[i], stripNeeds_[i]);
    place(BtnRec, x, y, widths[0], buttonHeight);
    x += widths[0] + pad;
    place(BtnAdd2, x, y, widths[1], buttonHeight);
    x += widths[1] + pad;
    place(BtnRecordByType, x, y, widths[2], buttonHeight);
    x += widths[2] + pad * 2;
    place(cbSmartRecord, x, y, widths[3], buttonHeight);
    x += widths[3];
    place(PnlSmartRecord, x, y, rc.right - x - Scale(10), buttonHeight);

    int bottom = rc.bottom;
    if (TntStatusBar1 && IsWindowVisible(TntStatusBar1)) {
        SendMessageW(TntStatusBar1, WM_SIZE, 0, 0);
        RECT sb;
        GetWindowRect(TntStatusBar1, &sb);
        bottom -= sb.bottom - sb.top;
    }
    int top = strip + pad, left = pad;
    if (recordListShown_) {
        place(LbRECs, left, top, Scale(GbRecListWidth_) - pad, bottom - top - pad);
        left = Scale(GbRecListWidth_) + Scale(kSplitterWidth);
    }
    // The progress strip and the search panel belong to the details beside the list.
    bottom -= progress_.Place(defer, RECT{left, top, rc.right - pad, bottom - pad}, dpi_);
    if (searchShown_) {
        const int boxHeight = Scale(24), button = Scale(80);
        int width = rc.right - pad - left;
        place(ComboBoxSearch, left, top, width - button - pad, Scale(200));
        place(BtnSSSearch, left + width - button, top, button, boxHeight);
        top += boxHeight + pad;
    }
    RECT page{left, top, rc.right - pad, bottom - pad};
    place(PageControlTree, page.left, page.top, page.right - page.left, page.bottom - page.top);
    if (defer) EndDeferWindowPos(defer);

    // The trees fill the page control's display area.
    RECT display{0, 0, page.right - page.left, page.bottom - page.top};
    TabCtrl_AdjustRect(PageControlTree, FALSE, &display);
    OffsetRect(&display, page.left, page.top);
    views_.SetBounds(display);
}

void TTolvaneWindow::EnsureSearchPanel() {
    if (ComboBoxSearch) return;
    ComboBoxSearch = Child(hwnd_, WC_COMBOBOXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, kIdSearchBox);
    BtnSSSearch = Child(hwnd_, WC_BUTTONW, L"&Search", WS_TABSTOP | BS_PUSHBUTTON, kIdSearchButton);
    // Tab order: the panel comes between the record list and the pages, where it is shown.
    SetWindowPos(ComboBoxSearch, LbRECs, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(BtnSSSearch, ComboBoxSearch, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (HWND w : {ComboBoxSearch, BtnSSSearch}) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

bool TTolvaneWindow::OverSplitter(int x) const {
    int left = Scale(GbRecListWidth_);
    return recordListShown_ && x >= left - Scale(2) && x < left + Scale(kSplitterWidth);
}

void TTolvaneWindow::ShowPage(int page) {
    if (page == 3) ShowWebPageTab();
    TabCtrl_SetCurSel(PageControlTree, page);
    ShowWindow(views_.Tree(page), SW_SHOW);
    for (int i = 0; i < 4; ++i)
        if (i != page && views_.Existing(i)) ShowWindow(views_.Existing(i), SW_HIDE);
}

void TTolvaneWindow::ApplyMenuBar(bool shown, bool store) {
    HMENU bar = shown ? MainMenu1 : nullptr;
    if (GetMenu(hwnd_) != bar) SetMenu(hwnd_, bar);  // a new frame costs a layout pass
    Check(MainMenu1, kCmdViewMenuBar, shown);
    Check(PmApp, kCmdAppMenuBar, shown);
    if (store) settings_.user->WriteBool(kDefault, L"MenuBar1", shown);
}

void TTolvaneWindow::ApplyStatusBar(bool shown, bool store) {
    if (shown) EnsureStatusBar();
    if (TntStatusBar1) ShowWindow(TntStatusBar1, shown ? SW_SHOW : SW_HIDE);
    Check(MainMenu1, kCmdViewStatusBar, shown);
    Check(PmApp, kCmdAppStatusBar, shown);
    FormResize();
    if (store) settings_.user->WriteBool(kDefault, L"StatusBar1", shown);
}

void TTolvaneWindow::ApplyRecordList(bool shown, bool store) {
    recordListShown_ = shown;
    ShowWindow(LbRECs, shown ? SW_SHOW : SW_HIDE);
    Check(MainMenu1, kCmdViewRecordList, shown);
    Check(PmApp, kCmdAppRecordList, shown);
    FormResize();
    if (store) settings_.user->WriteBool(kDefault, L"RecordList1", shown);
}

void TTolvaneWindow::StoreShownParts() {
    shownPartsStored_ = true;
    settings_.user->WriteBool(kDefault, L"MenuBar1", menuBarShown());
    settings_.user->WriteBool(kDefault, L"StatusBar1", statusBarShown());
    settings_.user->WriteBool(kDefault, L"RecordList1", recordListShown_);
}

void TTolvaneWindow::ShowOrHide(UINT id) {
    switch (id) {
        case kCmdViewMenuBar: case kCmdAppMenuBar: ApplyMenuBar(!menuBarShown()); break;
        case kCmdViewStatusBar: case kCmdAppStatusBar: ApplyStatusBar(!statusBarShown()); break;
        case kCmdViewRecordList: case kCmdAppRecordList: ApplyRecordList(!recordListShown_); break;
        default: break;
    }
}

void TTolvaneWindow::SaveLayout() {
    LayoutState state;
    state.smartRecord = SendMessageW(cbSmartRecord, BM_GETCHECK, 0, 0) == BST_CHECKED;
    state.recordListWidth = GbRecListWidth_;
    state.selectedRecord = records_.SelectedIndex();
    SaveWindowLayout(*settings_.user, hwnd_, state);
}

void TTolvaneWindow::FormCloseQuery() {
    progress_.stopRequested = true;  // a long operation still running ends with the window
    try {
        // A window closed before its first-run step still stores what it showed.
        if (!shownPartsStored_) StoreShownParts();
        SaveLayout();
    } catch (const SettingsWriteError&) {
        // The layout is simply not stored; closing goes on.
    }
    DestroyWindow(hwnd_);
}

void TTolvaneWindow::BtnHelpClick() {
    std::wstring help = FolderOf(ModulePath()) + L"\\" + kAppName + L".chm";
    if (FileExists(help)) ShellExecuteW(hwnd_, L"open", help.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    else LaterCommand(kCmdOnlineGuide);
}

void TTolvaneWindow::OpenApplicationPath1Click() {
    std::wstring folder = FolderOf(ModulePath());
    if (DirectoryExists(folder)) {
        folder = ReplaceAll(NormaliseFolder(folder), L"/", L"\\");
        ShellExecuteW(hwnd_, L"explore", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    } else {
        ShellExecuteW(hwnd_, L"Open", folder.c_str(), nullptr, nullptr, SW_SHOW);
    }
}

void TTolvaneWindow::FilesDropped(HDROP drop) {
    bool added = false;
    {
        RedrawSuspender quiet(TVDocs);
        LoadProgramNames();
        UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            wchar_t name[1024] = {};
            if (!DragQueryFileW(drop, i, name, 1024)) continue;
            if (TakeItem(*this, name)) added = true;
            lastAdded_ = name;
        }
    }
    DragFinish(drop);
    if (added) SaveCurrentRecord();
    ShowAllPageAndLastAdded();
}

void TTolvaneWindow::TextDropped(const std::wstring& text) {
    auto* copy = new std::wstring(text);
    if (!PostMessageW(hwnd_, kMsgTextDropped, 0, reinterpret_cast<LPARAM>(copy))) delete copy;
}

void TTolvaneWindow::TakeDroppedText(const std::wstring& text) {
    {
        RedrawSuspender quiet(TVDocs);
        // The title of an open window showing the text comes with the open-location scan.
        AddWithTitle(text, L"", *this);
    }
    SaveCurrentRecord();
    ShowPage(0);
    SelectByPath(text);
}

void TTolvaneWindow::DeviceArrived() {
    bool added = false;
    {
        RedrawSuspender quiet(TVDocs);
        for (const std::wstring& root : RemovableDriveRoots(RealDriveType)) {
            std::wstring title = L"Removable Disk (" + root.substr(0, 2) + L")";
            if (TakeItem(*this, root, title)) added = true;
            lastAdded_ = root;
        }
    }
    if (added) SaveCurrentRecord();
    ShowAllPageAndLastAdded();
}

void TTolvaneWindow::OnCommand(UINT id) {
    if (IsViewCommand(id)) {
        ShowOrHide(id);
        return;
    }
    switch (id) {
        case kCmdExit:
            PostMessageW(hwnd_, WM_CLOSE, 0, 0);
            break;
        case kCmdHelp:
            BtnHelpClick();
            break;
        case kCmdOpenApplicationPath:
            OpenApplicationPath1Click();
            break;
        case kCmdSettings:
            EnsureSettingsDialog();
            FrmMySettings->Open();
            break;
        case kCmdRenameRecord: BtnRenameClick(); break;
        case kCmdRefresh: ReadRecordList(); break;
        case kCmdDeleteRecord: BtnDeleteClick(); break;
        case kCmdSearch: cbSearchClick(); break;
        case kIdSearchButton: BtnSSSearchClick(); break;
        case kIdStopButton: progress_.stopRequested = true; break;
        case kCmdTextLargest: case kCmdTextLarger: case kCmdTextMedium: case kCmdTextSmaller: case kCmdTextSmallest:
            ArrangeTextSizeClick(id);
            break;
        case kCmdLast: {  // the button beside the record buttons opens the "more" menu at the mouse
            POINT at;
            GetCursorPos(&at);
            TrackPopupMenu(PopupMenuMore, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, hwnd_, nullptr);
            break;
        }
        default:
            LaterCommand(id);
            break;
    }
}

void TTolvaneWindow::TimerFirstRunTimer() {
    KillTimer(hwnd_, kTimerFirstRun);  // runs once
    try {
        StoreShownParts();
    } catch (const SettingsWriteError&) {
    }
    // The settings dialog and the drop targets are made here, right after the first paint,
    // rather than on the way to it.
    EnsureSettingsDialog();
    if (!textDrop_) {
        DragAcceptFiles(hwnd_, TRUE);
        textDrop_ = std::make_unique<TextDropRegistration>();
        textDrop_->Register(hwnd_, *this);
    }
    RunFirstRunStep(*this, Startup());
}

void TTolvaneWindow::EnsureSettingsDialog() {
    if (FrmMySettings) return;
    options_ = std::make_unique<Options>(*settings_.user, *settings_.common, static_cast<OptionsHost&>(*this));
    FrmMySettings = std::make_unique<TFrmMySettings>(*options_);
    FrmMySettings->Create(hwnd_);
}

void TTolvaneWindow::SetRecordInterval(int seconds) {
    SendMessageW(PnlSmartRecord, TBM_SETPOS, TRUE, seconds);
}

void TTolvaneWindow::SetAlwaysOnTop(bool onTop) {
    SetWindowPos(hwnd_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TTolvaneWindow::RestoreSmartRecordBox() {
    bool on = UserSettings().ReadBool(kDefault, L"cbSmartRecord", false);
    SendMessageW(cbSmartRecord, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TTolvaneWindow::RunningAsAdmin() { return IsRunningAsAdmin(); }

void TTolvaneWindow::PinStartMenuShortcut() { PinShortcut(StartMenuShortcutPath()); }

void TTolvaneWindow::LoadAndApplyOptions() {
    DefaultRecordFolder();
    EnsureSettingsDialog();
    options_->Load();
    options_->Apply();
}

void TTolvaneWindow::TakeCommandLineItems() { tv::TakeCommandLineItems(*this, Startup().params); }

void TTolvaneWindow::EnsureSendToShortcut() { CreateSendToShortcut(ModulePath()); }

LRESULT CALLBACK TTolvaneWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = AttachedObject<TTolvaneWindow>(hwnd, msg, lParam);
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE) self->hwnd_ = hwnd;
    try {
        return self->Handle(msg, wParam, lParam);
    } catch (...) {
        // Nothing escapes a window procedure: a failing handler ends quietly.
        return 0;
    }
}

LRESULT TTolvaneWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            FormCreate();
            return 0;
        case WM_SIZE:
            // Showing the window reports the size it was laid out for at creation; moving every
            // control again to the same place would only repaint them on the way to the first paint.
            if (LOWORD(lParam) != laidOut_.cx || HIWORD(lParam) != laidOut_.cy) FormResize();
            return 0;
        case WM_EXITSIZEMOVE:
            SaveLayout();
            return 0;
        case WM_TIMER:
            if (wParam == kTimerFirstRun) TimerFirstRunTimer();
            return 0;
        case WM_COMMAND: {
            HWND from = reinterpret_cast<HWND>(lParam);
            UINT code = HIWORD(wParam);
            if (!from && code == 1 && LOWORD(wParam) == kCmdSearch) ShowSearchPanel(true);  // Ctrl+F
            else if (!from) OnCommand(LOWORD(wParam));  // menus and keys
            else if (from == LbRECs && code == LBN_SELCHANGE) LbRECsClick();
            else if (from == ComboBoxSearch && code == CBN_KILLFOCUS) ComboBoxSearchExit();
            else if (code == BN_CLICKED) OnCommand(LOWORD(wParam));
            return 0;
        }
        case WM_NOTIFY:
            OnNotify(reinterpret_cast<NMHDR*>(lParam));
            return 0;
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->hwndItem != PageControlTree) break;
            DrawTab(*item);
            return TRUE;
        }
        case WM_VKEYTOITEM:
            if (reinterpret_cast<HWND>(lParam) == LbRECs)
                return LbRECsKeyDown(LOWORD(wParam)) ? -2 : -1;  // -1: the list box handles the key itself
            break;
        case WM_CONTEXTMENU: {
            HWND from = reinterpret_cast<HWND>(wParam);
            HMENU menu = from == hwnd_ ? PmApp : from == LbRECs ? PmRecList : nullptr;
            for (int i = 0; i < 4 && !menu; ++i)
                if (from && from == views_.Existing(i)) menu = PmDocTree;
            if (!menu) break;
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (at.x == -1 && at.y == -1) GetCursorPos(&at);
            if (menu == PmRecList) Check(PmRecList, kCmdReplayAtStart, records_.SelectedIndex() == startupRecordIndex_);
            TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, hwnd_, nullptr);
            return 0;
        }
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == hwnd_ && LOWORD(lParam) == HTCLIENT) {
                POINT at;
                GetCursorPos(&at);
                ScreenToClient(hwnd_, &at);
                if (OverSplitter(at.x)) {
                    SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
                    return TRUE;
                }
            }
            break;
        case WM_LBUTTONDOWN:
            if (OverSplitter(GET_X_LPARAM(lParam))) {
                draggingSplitter_ = true;
                SetCapture(hwnd_);
            }
            return 0;
        case WM_MOUSEMOVE:
            if (draggingSplitter_) {
                RECT rc;
                GetClientRect(hwnd_, &rc);
                int x = std::max(static_cast<int>(GET_X_LPARAM(lParam)), Scale(40));
                x = std::min(x, static_cast<int>(rc.right) - Scale(120));
                GbRecListWidth_ = MulDiv(x, 96, dpi_);
                FormResize();
            }
            return 0;
        case WM_LBUTTONUP:
            if (draggingSplitter_) {
                draggingSplitter_ = false;
                ReleaseCapture();
                SaveLayout();
            }
            return 0;
        case WM_DEVICECHANGE:
            if (wParam == 0x8000) DeviceArrived();  // DBT_DEVICEARRIVAL
            return TRUE;
        case WM_DROPFILES:
            FilesDropped(reinterpret_cast<HDROP>(wParam));
            return 0;
        case kMsgTextDropped: {
            std::unique_ptr<std::wstring> text(reinterpret_cast<std::wstring*>(lParam));
            if (text) TakeDroppedText(*text);
            return 0;
        }
        case WM_COPYDATA:
            return ReceiveHandOff(*this);
        case WM_CLOSE:
            FormCloseQuery();
            return 0;
        case WM_DESTROY:
            textDrop_.reset();
            if (menuBarShown()) SetMenu(hwnd_, nullptr);  // the menu is destroyed with the window object
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace tv
