#include "ui/main/main_window.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "app/instance.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "app/shell_links.h"
#include "app/windows_version.h"
#include "base/constants.h"
#include "base/debug_log.h"
#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/process_services.h"
#include "base/redraw.h"
#include "base/strings.h"
#include "ui/dialogs/prompter.h"
#include "ui/dialogs/rename_dialog.h"
#include "ui/main/main_menus.h"
#include "ui/main/window_hosts.h"
#include "ui/main/window_layout.h"
#include "ui/window_text.h"

namespace tv {

namespace {
constexpr UINT_PTR kTimerFirstRun = 1;
constexpr UINT kMsgTextDropped = WM_APP + 1;  // lParam: the text, owned by the message
constexpr UINT kMsgRunQueued = WM_APP + 2;    // work that waited for a long operation
constexpr UINT kMsgHandOff = WM_APP + 3;      // handed-off items wait to be taken
constexpr UINT kMsgFilesDropped = WM_APP + 4; // lParam: the file names, owned by the message
constexpr UINT kFirstRunDelayMs = 10;
constexpr COLORREF kBackground = 16777209;

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
    : settings_(settings),
      instance_(instance),
      hosts_(std::make_unique<MainWindowHosts>(*this)),
      options_(*settings.user, *settings.common, *hosts_),
      work_([this] {
          if (hwnd_) PostMessageW(hwnd_, kMsgRunQueued, 0, 0);
      }),
      prompter_(&SystemPrompter()) {
    session_ = std::make_unique<RecordSession>(options_, pages_, records_, [this] { return ChooseRecordFolder(); });
    intakes_ = std::make_unique<WindowIntakes>(*session_, pages_, work_);
    intakes_->refused = [this](const std::wstring& message) { SetStatusText(0, message); };
    session_->saveFailed = [this](const std::wstring& path, DWORD error) {
        // The change stays in the trees; the user learns that it is not on disk.
        prompter_->Tell(hwnd_, L"The record \"" + path + L"\" could not be saved.\r\n" + SystemMessageText(error));
    };
    RecordListCommands::Window window;
    window.hwnd = [this] { return hwnd_; };
    window.layOut = [this] { FormResize(); };
    window.readRecordList = [this] { ReadRecordList(); };
    window.showProgress = [this] { EnsureProgressStrip(); };
    window.storeSelected = [this](int index) { StoreSelectedRecord(index); };
    window.describeState = [this] { DescribeState(); };
    listCommands_ = std::make_unique<RecordListCommands>(*session_, records_, progress_, work_, prompter_, window);
}

TTolvaneWindow::~TTolvaneWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
    if (shortcuts_) DestroyAcceleratorTable(shortcuts_);
    if (font_) DeleteObject(font_);
    if (background_) DeleteObject(background_);
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
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && search_.box() && GetParent(msg.hwnd) == search_.box()) {
        OnCommand(kIdSearchButton);  // Enter in the search box searches
        return true;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_MENU) >= 0 && (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd)) && IsWindowEnabled(hwnd_)) {
        MoveFocus(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    HWND box = search_.box();
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && search_.shown() &&
        (msg.hwnd == box || GetParent(msg.hwnd) == box) && !SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0)) {
        ShowSearchPanel(false);  // Escape closes the panel; an open drop-down list closes first
        return true;
    }
    return shortcuts_ && TranslateAcceleratorW(hwnd_, shortcuts_, &msg);
}

void TTolvaneWindow::MoveFocus(bool backwards) {
    std::vector<HWND> order = {BtnRec, BtnAdd2, BtnRecordByType, cbSmartRecord, PnlSmartRecord, LbRECs,
                               search_.box(), search_.button(), pages_.pageControl(), views().Existing(pages_.activePage()),
                               progress_.SpeedButton5};
    HWND next = NextTabStop(order, GetFocus(), backwards,
                            [](HWND w) { return IsWindowVisible(w) && IsWindowEnabled(w); });
    if (next) SetFocus(next);
}

void TTolvaneWindow::FormCreate() {
    Startup().startupPhase = true;
    Startup().versionName = CurrentWindowsVersionName();
    dpi_ = ScreenDpi();
    font_ = MessageFont();

    CreateControls();
    AddCommands();
    if (font_) EnumChildWindows(hwnd_, SetFontOnChild, reinterpret_cast<LPARAM>(font_));
    // What the command strip's controls need at the least, for windows too narrow for their
    // usual widths (the first start's 520 pixels at 150% scaling, say).
    MeasureCommandStrip(parts_, font_, dpi_);

    ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'F', static_cast<WORD>(kCmdSearch)},
                    {FVIRTKEY, VK_F1, static_cast<WORD>(kCmdHelp)}};
    shortcuts_ = CreateAcceleratorTableW(keys, 2);

    SettingsStore& user = *settings_.user;
    parts_.recordListWidth = user.ReadInteger(keys::kDefault, keys::kRecordListWidth, 120);
    // Each show-or-hide choice is applied as if clicked; writing them back waits until the
    // window has painted once (see the first-run timer).
    ApplyMenuBar(user.ReadBool(keys::kDefault, keys::kMenuBar, false), false);
    ApplyStatusBar(user.ReadBool(keys::kDefault, keys::kStatusBar, false), false);
    ApplyRecordList(user.ReadBool(keys::kDefault, keys::kRecordList, true), false);
    creating_ = false;
    FormResize();
    if (instance_) instance_->SetWindow(hwnd_);
    SetTimer(hwnd_, kTimerFirstRun, kFirstRunDelayMs, nullptr);
}

void TTolvaneWindow::CreateControls() {
    menus_.Build(Startup().versionName == L"windows 7");
    CreateCommandStrip(hwnd_, parts_);
    BtnRec = parts_.strip[0];
    BtnAdd2 = parts_.strip[1];
    BtnRecordByType = parts_.strip[2];
    cbSmartRecord = parts_.strip[3];
    PnlSmartRecord = parts_.slider;

    LbRECs = Child(hwnd_, WC_LISTBOXW, L"",
                   WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL |
                       LBS_WANTKEYBOARDINPUT,
                   kIdRecordList, WS_EX_CLIENTEDGE);
    records_.Attach(LbRECs);
    parts_.recordList = LbRECs;
    parts_.progress = &progress_;
    parts_.search = &search_;
    parts_.pages = &pages_;
    RecordPages::Host host;
    host.showSelectedRecord = [this] { LbRECsClick(); };
    host.restoreSmartRecordBox = [this] {
        bool on = UserSettings().ReadBool(keys::kDefault, keys::kSmartRecord, false);
        SendMessageW(cbSmartRecord, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    };
    host.selectPath = [this](const std::wstring& path) { SelectByPath(path); };
    pages_.Create(hwnd_, session_->strip(), font_, this, std::move(host));
    pages_.views().Show(session_->record());
    // The status bar is made when first shown, and the progress strip with the long operations
    // that show it: nothing to pay for at start.
}

void TTolvaneWindow::EnsureStatusBar() {
    if (TntStatusBar1) return;
    TntStatusBar1 = parts_.statusBar = Child(hwnd_, STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, kIdStatusBar);
    if (font_) SendMessageW(TntStatusBar1, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    int parts[] = {Scale(250), -1};
    SendMessageW(TntStatusBar1, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    SendMessageW(TntStatusBar1, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"No Items Selected."));
}

void TTolvaneWindow::SetStatusText(int panel, const std::wstring& text) {
    EnsureStatusBar();
    SendMessageW(TntStatusBar1, SB_SETTEXTW, panel, reinterpret_cast<LPARAM>(text.c_str()));
}

void TTolvaneWindow::EnsureProgressStrip() {
    if (!progress_.created()) progress_.Create(hwnd_, font_);
}

void TTolvaneWindow::FormResize() {
    if (!hwnd_ || !tvDocs() || creating_) return;
    RECT rc;
    GetClientRect(hwnd_, &rc);
    laidOut_ = SIZE{rc.right, rc.bottom};
    LayOutMainWindow(hwnd_, parts_, dpi_);
}

void TTolvaneWindow::LayOut() {
    FormResize();
    UpdateWindow(hwnd_);  // painted before the slower steps of the first run
}

void TTolvaneWindow::ApplyMenuBar(bool shown, bool store) {
    HMENU bar = shown ? menus_.MainMenu1 : nullptr;
    if (GetMenu(hwnd_) != bar) SetMenu(hwnd_, bar);  // a new frame costs a layout pass
    menus_.CheckPair(kCmdViewMenuBar, kCmdAppMenuBar, shown);
    if (store) settings_.user->WriteBool(keys::kDefault, keys::kMenuBar, shown);
}

void TTolvaneWindow::ApplyStatusBar(bool shown, bool store) {
    if (shown) EnsureStatusBar();
    if (TntStatusBar1) ShowWindow(TntStatusBar1, shown ? SW_SHOW : SW_HIDE);
    menus_.CheckPair(kCmdViewStatusBar, kCmdAppStatusBar, shown);
    FormResize();
    if (store) settings_.user->WriteBool(keys::kDefault, keys::kStatusBar, shown);
}

void TTolvaneWindow::ApplyRecordList(bool shown, bool store) {
    parts_.recordListShown = shown;
    ShowWindow(LbRECs, shown ? SW_SHOW : SW_HIDE);
    menus_.CheckPair(kCmdViewRecordList, kCmdAppRecordList, shown);
    FormResize();
    if (store) settings_.user->WriteBool(keys::kDefault, keys::kRecordList, shown);
}

void TTolvaneWindow::StoreShownParts() {
    shownPartsStored_ = true;
    settings_.user->WriteBool(keys::kDefault, keys::kMenuBar, menuBarShown());
    settings_.user->WriteBool(keys::kDefault, keys::kStatusBar, statusBarShown());
    settings_.user->WriteBool(keys::kDefault, keys::kRecordList, parts_.recordListShown);
}

void TTolvaneWindow::SaveLayout() {
    LayoutState state;
    state.smartRecord = SendMessageW(cbSmartRecord, BM_GETCHECK, 0, 0) == BST_CHECKED;
    state.recordListWidth = parts_.recordListWidth;
    state.selectedRecord = records_.SelectedIndex();
    SaveWindowLayout(*settings_.user, hwnd_, state);
}

void TTolvaneWindow::FormCloseQuery() {
    // A long operation still running is asked to stop; the window closes from the queue once it
    // and the work that waited before the close are done.
    if (work_.busy()) progress_.stopRequested = true;
    work_.RunOrQueue([this] { CloseNow(); }, L"close");
}

void TTolvaneWindow::CloseNow() {
    // Items of a hand-off the window has answered go into the record before it goes; hand-offs
    // from here on are answered 0, and their senders try again while the window may still stay.
    intakes_->HoldHandOffs(true);
    intakes_->TakeHandedOffItems();
    if (!SettleUnsavedChange()) {
        intakes_->HoldHandOffs(false);
        return;  // the window stays open
    }
    try {
        // A window closed before its first-run step still stores what it showed.
        if (!shownPartsStored_) StoreShownParts();
        SaveLayout();
    } catch (const SettingsWriteError&) {
        LogSwallowed(L"storing the window layout");  // closing goes on
    }
    DestroyWindow(hwnd_);
}

bool TTolvaneWindow::SettleUnsavedChange() {
    while (session_->unsavedChange()) {
        // A change that could not be saved is not dropped silently.
        int choice = prompter_->Choose(hwnd_,
                                       L"The changes to \"" + session_->currentRecordPath() + L"\" are not saved.",
                                       {L"&Try again", L"Save as a &new record", L"&Discard them"});
        if (choice < 0) return false;
        if (choice == 2) return true;
        if (choice == 1) session_->SetNewRecordFlag(true);
        session_->SaveCurrentRecord();
    }
    return true;
}

void TTolvaneWindow::TextDropped(const std::wstring& text) {
    // Taken once the drop has ended, so the dragging program is free.
    auto* copy = new std::wstring(text);
    if (!PostMessageW(hwnd_, kMsgTextDropped, 0, reinterpret_cast<LPARAM>(copy))) delete copy;
}

void TTolvaneWindow::FilesDropped(const std::vector<std::wstring>& files) {
    auto* copy = new std::vector<std::wstring>(files);
    if (!PostMessageW(hwnd_, kMsgFilesDropped, 0, reinterpret_cast<LPARAM>(copy))) delete copy;
}

void TTolvaneWindow::TimerFirstRunTimer() {
    KillTimer(hwnd_, kTimerFirstRun);  // runs once
    try {
        StoreShownParts();
    } catch (const SettingsWriteError&) {
        LogSwallowed(L"storing the shown parts");
    }
    // The settings dialog and the drop targets are made here, right after the first paint,
    // rather than on the way to it.
    EnsureSettingsDialog();
    if (!textDrop_) {
        DragAcceptFiles(hwnd_, TRUE);
        textDrop_ = std::make_unique<TextDropRegistration>();
        textDrop_->Register(hwnd_, *this);
    }
    work_.RunOrQueue([this] {
        RunFirstRunStep(*hosts_, Startup());
        intakes_->SetReady();  // hand-offs from here on go into the record shown
    });
}

void TTolvaneWindow::EnsureSettingsDialog() {
    if (FrmMySettings) return;
    FrmMySettings = std::make_unique<TFrmMySettings>(options_);
    FrmMySettings->Create(hwnd_);
}

bool TTolvaneWindow::ChooseRecordFolder() {
    EnsureSettingsDialog();
    return FrmMySettings->Open();
}

LRESULT CALLBACK TTolvaneWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = AttachedObject<TTolvaneWindow>(hwnd, msg, lParam);
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE) self->hwnd_ = hwnd;
    try {
        return self->Handle(msg, wParam, lParam);
    } catch (...) {
        // Nothing escapes a window procedure: a failing handler ends quietly.
        LogSwallowed(L"the main window");
        return 0;
    }
}

void TTolvaneWindow::OnControl(HWND from, UINT code, UINT id) {
    if (from == LbRECs && code == LBN_SELCHANGE) {
        // A click in the list while a record is read shows the record selected once it is done.
        work_.RunOrQueue([this] { LbRECsClick(); }, L"show selected record");
    } else if (from == search_.box() && code == CBN_KILLFOCUS) {
        if (work_.busy()) return;
        search_.RememberText();
        BtnSSSearchClick();
    } else if (code == BN_CLICKED) {
        OnCommand(id);
    }
}

void TTolvaneWindow::ShowContextMenu(HWND from, LPARAM lParam) {
    HMENU menu = from == hwnd_ ? menus_.PmApp : from == LbRECs ? menus_.PmRecList : nullptr;
    if (!menu && from && from != pages_.pageControl() && pages_.Owns(from)) menu = menus_.PmDocTree;
    if (!menu || work_.busy()) return;
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (at.x == -1 && at.y == -1) GetCursorPos(&at);
    if (menu == menus_.PmRecList) Check(menus_.PmRecList, kCmdReplayAtStart, records_.SelectedIndex() == startupRecordIndex_);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, hwnd_, nullptr);
}

bool TTolvaneWindow::SetSplitterCursor(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(wParam) != hwnd_ || LOWORD(lParam) != HTCLIENT) return false;
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(hwnd_, &at);
    if (!splitter_.Over(parts_, at.x, dpi_)) return false;
    SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
    return true;
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
            if (!from && HIWORD(wParam) == 1 && LOWORD(wParam) == kCmdSearch) cbSearchClick();  // Ctrl+F switches
            else if (!from) OnCommand(LOWORD(wParam));  // menus and keys
            else OnControl(from, HIWORD(wParam), LOWORD(wParam));
            return 0;
        }
        case WM_NOTIFY:
            pages_.OnNotify(reinterpret_cast<NMHDR*>(lParam), session_->record());
            return 0;
        case WM_DRAWITEM:
            if (!pages_.DrawTab(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) break;
            return TRUE;
        case WM_VKEYTOITEM:
            if (reinterpret_cast<HWND>(lParam) == LbRECs)
                return LbRECsKeyDown(LOWORD(wParam)) ? -2 : -1;  // -1: the list box handles the key itself
            break;
        case WM_CONTEXTMENU:
            ShowContextMenu(reinterpret_cast<HWND>(wParam), lParam);
            return 0;
        case WM_SETCURSOR:
            if (SetSplitterCursor(wParam, lParam)) return TRUE;
            break;
        case WM_LBUTTONDOWN: case WM_MOUSEMOVE: case WM_LBUTTONUP:
            splitter_.HandleMouse(hwnd_, msg, lParam, parts_, dpi_, [this] { FormResize(); }, [this] { SaveLayout(); });
            return 0;
        case WM_DEVICECHANGE:
            if (wParam == 0x8000) intakes_->DeviceArrived();  // DBT_DEVICEARRIVAL
            return TRUE;
        case WM_DROPFILES:
            intakes_->FilesDropped(reinterpret_cast<HDROP>(wParam));
            return 0;
        case kMsgFilesDropped: {
            std::unique_ptr<std::vector<std::wstring>> files(reinterpret_cast<std::vector<std::wstring>*>(lParam));
            if (files) intakes_->FilesDropped(*files);
            return 0;
        }
        case kMsgTextDropped: {
            std::unique_ptr<std::wstring> text(reinterpret_cast<std::wstring*>(lParam));
            if (text) intakes_->TextDropped(*text);
            return 0;
        }
        case WM_COPYDATA:
            if (!intakes_->CopyDataReceived(reinterpret_cast<const COPYDATASTRUCT*>(lParam))) return 0;
            PostMessageW(hwnd_, kMsgHandOff, 0, 0);
            return 1;
        case kMsgHandOff:
            work_.RunOrQueue([this] { intakes_->TakeHandedOffItems(); }, L"hand-off");
            return 0;
        case kMsgRunQueued:
            if (work_.RunNext() && work_.queued() > 0 && !work_.busy()) PostMessageW(hwnd_, kMsgRunQueued, 0, 0);
            return 0;
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
