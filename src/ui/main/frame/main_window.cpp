#include "ui/message_pump.h"
#include "ui/main/frame/main_window.h"

#include <commctrl.h>

#include "app/command_line.h"
#include "app/instance.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "app/startup.h"
#include "app/windows_version.h"
#include "base/redraw.h"
#include "capture/open_locations.h"
#include "capture/page_title.h"
#include "base/constants.h"
#include "base/debug_log.h"
#include "base/strings.h"
#include "ui/dialogs/prompter.h"
#include "ui/main/menus/context_menus.h"
#include "ui/main/commands/recording_commands.h"
#include "ui/main/work/smart_record.h"
#include "ui/main/views/startup_filter_view.h"
#include "ui/main/frame/unsaved_change.h"
#include "ui/main/frame/window_hosts.h"
#include "ui/main/frame/window_layout.h"
#include "ui/modal_dialog.h"
#include "ui/window_text.h"

namespace tv {

namespace {
constexpr UINT_PTR kTimerFirstRun = 1;
constexpr UINT kMsgRunQueued = WM_APP + 2;  // work that waited for a long operation
constexpr UINT kFirstRunDelayMs = 10;
constexpr COLORREF kBackground = 16777209;

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id = 0, DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
    // The record trees have a font of their own, whatever the path that made or refilled them.
    wchar_t cls[32] = {};
    if (GetClassNameW(child, cls, 32) && lstrcmpiW(cls, WC_TREEVIEWW) == 0) return TRUE;
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

std::wstring Caption() { return Format(L"%ls Free %1.1f", kAppName, kProgramVersion); }  // "TolVane Free 3.1"
}  // namespace

TTolvaneWindow::TTolvaneWindow(Settings& settings, InstanceBlock* instance)
    : settings_(settings),
      instance_(instance),
      hosts_(std::make_unique<MainWindowHosts>(*this)),
      options_(*settings.user, *settings.common, *hosts_),
      session_(std::make_unique<RecordSession>(options_, pages_, records_, [this] { return ChooseRecordFolder(); })),
      work_([this] {
          if (hwnd_) PostMessageW(hwnd_, kMsgRunQueued, 0, 0);
      }),
      intakes_(std::make_unique<WindowIntakes>(*session_, pages_, work_)),
      searching_(search_, pages_, [this] { LbRECsClick(); },
                 [this](const std::wstring& text) {
                     LongWork::Scope busy(work_);
                     RedrawSuspender quiet(tvDocs());
                     const SearchOutcome found = session_->Search(text, [] { KeepResponsive(); });
                     if (session_->searchShown()) TellSearchOutcome(SearchOutcomeText(text, found));
                 },
                 [this] { FormResize(); }),
      hover_(status_, session_->record()),
      listHint_(records_, hints_, L"You can right click to access more features.",
                [this] { return options_.RecordFolder(); }),
      selected_({*session_, records_, pages_, work_, status_, progress_, menus_, *settings.user, options_,
                 startupRecordIndex_, hwnd_, prompter_}),
      shown_(menus_, status_, parts_, *settings.user, [this] { FormResize(); }),
      prompter_(&SystemPrompter()),
      drops_(*intakes_, work_) {
    intakes_->refused = [this](const std::wstring& message) { status_.SetText(0, message); };
    intakes_->told = [this](const std::wstring& text) { status_.SetText(0, text, text); };
    session_->refused = [this](const std::wstring& path) {
        status_.SetText(0, RefusedItemMessage(path));
        intakes_->NoteRefused(RefusedItemMessage(path));
    };
    // A record not read whole says so where the user looks, for as long as it is shown.
    session_->partialNotice = [this](const std::wstring& notice) {
        EnsureProgressStrip();
        progress_.SetNotice(notice);
    };
    progress_.relayout = [this] { FormResize(); };
    session_->searchShownChanged = [this](bool shown) {
        pages_.MarkSearchResults(shown);
        // The count of a search is told for as long as its results are shown.
        if (!shown) TellSearchOutcome(L"");
    };
    intakes_->fetchPageTitle = FetchPageTitle;
    intakes_->openLocationTitle = [this](const std::wstring& location) {
        TShellWindows windows;
        for (const LocationPair& open : ScanOpenLocations(windows, false, options_.values.recordWebPages, {}))
            if (open.location == location) return open.title;
        return std::wstring();
    };
    session_->saveFailed = [this](const std::wstring& path, const WriteFailure& why) {
        // The change stays in the trees; the user learns that it is not on disk.
        prompter_->Tell(hwnd_, L"The record \"" + path + L"\" could not be saved.\r\n" + why.Text());
    };
    RecordListCommands::Window window;
    window.hwnd = [this] { return hwnd_; };
    window.layOut = [this] { FormResize(); };
    window.readRecordList = [this] { ReadRecordList(); };
    window.showProgress = [this] { EnsureProgressStrip(); };
    window.storeSelected = [this](int index) { selected_.Store(index); };
    window.describeState = [this] { selected_.Describe(); };
    window.replay = [this] { OnCommand(kCmdReplayAll); };
    listCommands_ = std::make_unique<RecordListCommands>(*session_, records_, progress_, work_, prompter_, window);
    recording_ = std::make_unique<RecordingCommands>(RecordingCommands::Parts{
        *session_, records_, progress_, work_, options_, [this] { EnsureProgressStrip(); }, [this] { FormResize(); },
        [this](int index) { selected_.Store(index); }, [this] { selected_.Describe(); }, hwnd_, prompter_});
    replay_ = std::make_unique<ReplayCommands>(ReplayCommands::Parts{
        *session_, records_, progress_, work_, options_, *settings.user, startupRecordIndex_,
        [this] { EnsureProgressStrip(); }, [this] { FormResize(); }, [this]() -> ItemLauncher& { return Launcher(); },
        [this](const std::wstring& name) { listCommands_->Rename(name); }, hwnd_, prompter_});
    recording_->tellOutcome = [this](const std::wstring& text) { status_.SetText(0, text, text); };
    hover_.activated = [this](RecordNode& node) {
        if (work_.busy() || !session_->record().items.Valid(node.data.itemIndex)) return;
        Launcher().QuickOpen(session_->record().items.At(node.data.itemIndex).path, node.caption);
    };
    WireSmartRecord();
}

TTolvaneWindow::~TTolvaneWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
    if (font_) DeleteObject(font_);
    if (background_) DeleteObject(background_);
}

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

    hwnd_ = CreateAtStoredPlace(*settings_.user, kMainWindowClass, Caption(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                instance, this, maximisedAtStart_);
    return hwnd_ != nullptr;
}

void TTolvaneWindow::Show(int showCommand) {
    ShowWindow(hwnd_, FirstShowCommand(showCommand, maximisedAtStart_));
    UpdateWindow(hwnd_);
}

void TTolvaneWindow::FormCreate() {
    Startup().startupPhase = true;
    Startup().versionName = CurrentWindowsVersionName();
    dpi_ = ScreenDpi();
    font_ = MessageFont();

    status_.Attach(hwnd_, font_, dpi_, &hints_);
    drops_.Attach(hwnd_);
    CreateControls();
    searching_.Attach(hwnd_, font_, LbRECs, menus_.PopupMenuMore);
    AddCommands();
    AddHints();
    if (font_) EnumChildWindows(hwnd_, SetFontOnChild, reinterpret_cast<LPARAM>(font_));
    // What the command strip's controls need at the least, for windows too narrow for their
    // usual widths (the first start's 520 pixels at 150% scaling, say).
    MeasureCommandStrip(parts_, font_, dpi_);

    keys_.Create({[this] { OnCommand(kIdSearchButton); }, [this] { searching_.Show(false); }});

    parts_.recordListWidth = settings_.user->ReadInteger(keys::kDefault, keys::kRecordListWidth, 120);
    // Written back once the window has painted (see the first-run timer).
    shown_.Restore(hwnd_);
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
    smart_->Create(font_);
    parts_.sliderLabel = smart_->lbRecording;
    parts_.sliderLabelWidth = smart_->labelWidth();
    filter_->Create(hwnd_, font_);
    parts_.filter = filter_.get();

    LbRECs = Child(hwnd_, WC_LISTBOXW, L"",
                   WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL |
                       LBS_WANTKEYBOARDINPUT,
                   kIdRecordList, WS_EX_CLIENTEDGE);
    records_.Attach(LbRECs);
    records_.selectionChanged = [this] { selected_.SelectionChanged(); };
    parts_.recordList = LbRECs;
    parts_.status = &status_;
    parts_.progress = &progress_;
    parts_.search = &search_;
    parts_.pages = &pages_;
    RecordPages::Host host;
    host.showSelectedRecord = [this] { LbRECsClick(); };
    host.openSelected = [this] { OnCommand(kCmdOpen); };
    host.restoreSmartRecordBox = [this] {
        smart_->SetChecked(settings_.user->ReadBool(keys::kDefault, keys::kSmartRecord, false));
    };
    pages_.Create(hwnd_, session_->strip(), font_, &hover_, std::move(host));
    pages_.views().Show(session_->record());
    // The status bar is made when first shown, and the progress strip with the long operations
    // that show it: nothing to pay for at start.
}

void TTolvaneWindow::AddHints() {
    if (!hints_.Create(hwnd_)) return;
    hints_.Add(BtnRec, L"Scan and Add");
    hints_.Add(BtnAdd2, L"Add...");
    hints_.Add(BtnRecordByType, L"Click here for more...");
    listHint_.Attach();
    hints_.AddMenuHint(menus_.MainMenu1, 0, L"Recent Opened Programs and Files");  // "&TolVane"
}

void TTolvaneWindow::EnsureProgressStrip() {
    if (progress_.created()) return;
    progress_.Create(hwnd_, font_);
    hints_.Add(progress_.SpeedButton5, L"Stop");
}

void TTolvaneWindow::TellSearchOutcome(const std::wstring& text) {
    if (!text.empty()) {
        status_.SetText(0, text);
        EnsureProgressStrip();
    }
    if (progress_.created()) progress_.SetNotice(text);
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
    // The window is disabled while a dialog shows, so this close came from outside (a logoff,
    // the taskbar): a question left up would hold the close, and the program, for ever.
    ModalDialog::CancelAllShowing();
    work_.RunOrQueue([this] { CloseNow(); }, L"close");
}

void TTolvaneWindow::CloseNow() {
    // Items of a hand-off the window has answered go into the record before it goes; hand-offs
    // from here on are answered 0, and their senders try again while the window may still stay.
    intakes_->HoldHandOffs(true);
    intakes_->TakeHandedOffItems();
    if (!SettleUnsavedChange(hwnd_, *session_, *prompter_)) {
        intakes_->HoldHandOffs(false);
        return;  // the window stays open
    }
    try {
        // A window closed before its first-run step still stores what it showed.
        if (!shown_.stored()) shown_.Store();
        SaveLayout();
    } catch (const SettingsWriteError&) {
        LogSwallowed(L"storing the window layout");  // closing goes on
    }
    DestroyWindow(hwnd_);
}

void TTolvaneWindow::TimerFirstRunTimer() {
    KillTimer(hwnd_, kTimerFirstRun);  // runs once
    try {
        shown_.Store();
    } catch (const SettingsWriteError&) {
        LogSwallowed(L"storing the shown parts");
    }
    // The settings dialog and the drop targets are made here, right after the first paint,
    // rather than on the way to it.
    EnsureSettingsDialog();
    drops_.Register();
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
        if (!work_.busy()) searching_.BoxLeft();
    } else if (code == BN_CLICKED) {
        OnCommand(id);
    }
}

LRESULT TTolvaneWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; drops_.Handle(msg, wParam, lParam, result)) return result;
    if (LRESULT result = 0; smart_->Handle(msg, wParam, lParam, result)) return result;
    switch (msg) {
        case WM_CREATE:
            FormCreate();
            return 0;
        case WM_SIZE:
            // Showing the window reports the size it was laid out for at creation; moving every
            // control again to the same place would only repaint them on the way to the first paint.
            if (LOWORD(lParam) != laidOut_.cx || HIWORD(lParam) != laidOut_.cy) FormResize();
            return 0;
        case WM_MENUSELECT:
            hints_.MenuSelected(reinterpret_cast<HMENU>(lParam), LOWORD(wParam), HIWORD(wParam));
            break;
        case WM_EXITSIZEMOVE:
            SaveLayout();
            return 0;
        case WM_TIMER:
            if (wParam == kTimerFirstRun) TimerFirstRunTimer();
            else if (wParam == ReplayCommands::kTimerFinishId) replay_->TimerFinish();
            return 0;
        case WM_COMMAND: {
            HWND from = reinterpret_cast<HWND>(lParam);
            if (!from && HIWORD(wParam) == 1 && LOWORD(wParam) == kCmdSearch) searching_.Switch();  // Ctrl+F switches
            else if (!from) OnCommand(LOWORD(wParam));  // menus and keys
            else OnControl(from, HIWORD(wParam), LOWORD(wParam));
            return 0;
        }
        case WM_NOTIFY:
            if (filter_->OnNotify(*reinterpret_cast<NMHDR*>(lParam))) return 0;
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
            if (ClickedOutsideClientArea(hwnd_, reinterpret_cast<HWND>(wParam), lParam)) break;
            if (!work_.busy())
                ShowContextMenu(menus_, parts_, hwnd_, reinterpret_cast<HWND>(wParam), lParam,
                                records_.SelectedIndex() == startupRecordIndex_);
            return 0;
        case WM_SETCURSOR:
            if (splitter_.SetCursor(hwnd_, wParam, lParam, parts_, dpi_)) return TRUE;
            break;
        case WM_LBUTTONDOWN: case WM_MOUSEMOVE: case WM_LBUTTONUP:
            splitter_.HandleMouse(hwnd_, msg, lParam, parts_, dpi_, [this] { FormResize(); }, [this] { SaveLayout(); });
            return 0;
        case kMsgRunQueued:
            if (work_.RunNext() && work_.queued() > 0 && !work_.busy()) PostMessageW(hwnd_, kMsgRunQueued, 0, 0);
            return 0;
        case WM_CLOSE:
            FormCloseQuery();
            return 0;
        case WM_DESTROY:
            drops_.Detach();
            if (menuBarShown()) SetMenu(hwnd_, nullptr);  // the menu is destroyed with the window object
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace tv
