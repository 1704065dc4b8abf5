#include "ui/main/main_window.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "app/constants.h"
#include "app/instance.h"
#include "app/settings_store.h"
#include "app/shell_links.h"
#include "app/windows_version.h"
#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/redraw.h"
#include "base/strings.h"
#include "capture/process_services.h"
#include "records/icon_strip.h"
#include "records/record_file.h"
#include "ui/main/main_menus.h"
#include "ui/main/window_layout.h"

namespace tv {

namespace {
constexpr UINT_PTR kTimerFirstRun = 1;
constexpr UINT kFirstRunDelayMs = 10;
constexpr COLORREF kBackground = 16777209;
constexpr int kSplitterWidth = 6;
const wchar_t kDefault[] = L"default";
const wchar_t* const kPages[] = {L"All", L"Application", L"File Folder", L"Web Page"};

std::wstring Key(const std::wstring& path) { return ToLower(Trim(path)); }

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id = 0, DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

void Check(HMENU menu, UINT id, bool on) { CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED)); }
}  // namespace

TTolvaneWindow::TTolvaneWindow(Settings& settings, InstanceBlock* instance)
    : settings_(settings), instance_(instance) {}

TTolvaneWindow::~TTolvaneWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
    if (MainMenu1 && !menuBarShown()) DestroyMenu(MainMenu1);
    if (PmApp) DestroyMenu(PmApp);
    if (PopupMenuMore) DestroyMenu(PopupMenuMore);
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
    return hwnd_ && shortcuts_ && TranslateAcceleratorW(hwnd_, shortcuts_, &msg);
}

void TTolvaneWindow::FormCreate() {
    Startup().startupPhase = true;
    Startup().versionName = CurrentWindowsVersionName();
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) font_ = CreateFontIndirectW(&ncm.lfMessageFont);

    ImageList1 = CreateStandardStrip();
    CreateControls();
    if (font_) EnumChildWindows(hwnd_, SetFontOnChild, reinterpret_cast<LPARAM>(font_));

    ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'F', static_cast<WORD>(kCmdSearch)},
                    {FVIRTKEY, VK_F1, static_cast<WORD>(kCmdHelp)}};
    shortcuts_ = CreateAcceleratorTableW(keys, 2);
    DragAcceptFiles(hwnd_, TRUE);

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

    LbRECs = Child(hwnd_, WC_LISTBOXW, L"", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                   kIdRecordList, WS_EX_CLIENTEDGE);
    PageControlTree = Child(hwnd_, WC_TABCONTROLW, L"", WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, kIdPageControl);
    for (int i = 0; i < 4; ++i) {
        TCITEMW tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<wchar_t*>(kPages[i]);
        SendMessageW(PageControlTree, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&tab));
    }
    views_.Create(hwnd_, ImageList1);
    views_.SetFont(font_);
    TVDocs = views_.TVDocs;
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
    const int pad = Scale(6), strip = Scale(34), buttonHeight = Scale(26);
    int x = pad, y = pad + (strip - pad - buttonHeight) / 2;
    HDWP defer = BeginDeferWindowPos(16);
    auto place = [&defer](HWND w, int left, int top, int width, int height) {
        if (defer) defer = DeferWindowPos(defer, w, nullptr, left, top, std::max(0, width), std::max(0, height),
                                          SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(BtnRec, x, y, Scale(140), buttonHeight);
    x += Scale(140) + pad;
    place(BtnAdd2, x, y, Scale(96), buttonHeight);
    x += Scale(96) + pad;
    place(BtnRecordByType, x, y, Scale(28), buttonHeight);
    x += Scale(28) + pad * 2;
    place(cbSmartRecord, x, y, Scale(100), buttonHeight);
    x += Scale(100);
    place(PnlSmartRecord, x, y, rc.right - x - Scale(10), buttonHeight);

    int bottom = rc.bottom;
    if (TntStatusBar1 && IsWindowVisible(TntStatusBar1)) {
        SendMessageW(TntStatusBar1, WM_SIZE, 0, 0);
        RECT sb;
        GetWindowRect(TntStatusBar1, &sb);
        bottom -= sb.bottom - sb.top;
    }
    if (PnlHint && IsWindowVisible(PnlHint)) {
        int h = Scale(24);
        bottom -= h;
        place(PnlHint, pad, bottom, rc.right - Scale(180), h);
        place(SpeedButton5, rc.right - Scale(170), bottom, Scale(60), h);
        place(Gauge1, rc.right - Scale(104), bottom + Scale(4), Scale(98), h - Scale(8));
    }
    int top = strip + pad, left = pad;
    if (recordListShown_) {
        place(LbRECs, left, top, Scale(GbRecListWidth_) - pad, bottom - top - pad);
        left = Scale(GbRecListWidth_) + Scale(kSplitterWidth);
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

bool TTolvaneWindow::OverSplitter(int x) const {
    int left = Scale(GbRecListWidth_);
    return recordListShown_ && x >= left - Scale(2) && x < left + Scale(kSplitterWidth);
}

void TTolvaneWindow::ShowPage(int page) {
    TabCtrl_SetCurSel(PageControlTree, page);
    ShowWindow(views_.Tree(page), SW_SHOW);
    for (int i = 0; i < 4; ++i)
        if (i != page && views_.Existing(i)) ShowWindow(views_.Existing(i), SW_HIDE);
}

void TTolvaneWindow::ApplyMenuBar(bool shown, bool store) {
    SetMenu(hwnd_, shown ? MainMenu1 : nullptr);
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
    state.selectedRecord = static_cast<int>(SendMessageW(LbRECs, LB_GETCURSEL, 0, 0));
    SaveWindowLayout(*settings_.user, hwnd_, state);
}

void TTolvaneWindow::FormCloseQuery() {
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
    // The settings dialog is made here, right after the first paint, rather than on the way to it.
    EnsureSettingsDialog();
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
    RecordNode* node = record_.docs.Add(nullptr, item.title, record_.items.Append(item));
    node->imageIndex = node->selectedImageIndex = item.imageIndex;
    AppendNode(TVDocs, TVI_ROOT, *node);
    lastAdded_ = path;
}

void TTolvaneWindow::ShowAllPageAndLastAdded() {
    ShowPage(0);
    std::wstring key = Key(lastAdded_);
    for (HTREEITEM it = TreeView_GetRoot(TVDocs); it; it = TreeView_GetNextSibling(TVDocs, it)) {
        RecordNode* node = NodeOf(TVDocs, it);
        if (node && record_.items.Valid(node->data.itemIndex) && Key(record_.items.At(node->data.itemIndex).path) == key) {
            TreeView_SelectItem(TVDocs, it);
            break;
        }
    }
}

void TTolvaneWindow::SaveCurrentRecord() {
    // Nothing to save to until a record is chosen or recorded.
    if (!record_.currentRecordPath.empty()) WriteRecordTo(record_.currentRecordPath);
}

void TTolvaneWindow::WriteRecordTo(const std::wstring& recordPath) {
    if (WriteRecord(record_, ImageList1, recordPath, ModulePath())) ReadRecordList();
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
    TTolvaneWindow* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<TTolvaneWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<TTolvaneWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
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
            FormResize();
            return 0;
        case WM_EXITSIZEMOVE:
            SaveLayout();
            return 0;
        case WM_TIMER:
            if (wParam == kTimerFirstRun) TimerFirstRunTimer();
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 || HIWORD(wParam) == 1 || HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lParam);
            if (hdr->hwndFrom == PageControlTree && hdr->code == TCN_SELCHANGE) ShowPage(TabCtrl_GetCurSel(PageControlTree));
            return 0;
        }
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == hwnd_) {
                POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                if (at.x == -1 && at.y == -1) GetCursorPos(&at);
                TrackPopupMenu(PmApp, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, hwnd_, nullptr);
                return 0;
            }
            break;
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
        case WM_COPYDATA:
            return ReceiveHandOff(*this);
        case WM_CLOSE:
            FormCloseQuery();
            return 0;
        case WM_DESTROY:
            if (menuBarShown()) SetMenu(hwnd_, nullptr);  // the menu is destroyed with the window object
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace tv
