#include "ui/message_pump.h"
#include "ui/main/frame/main_window.h"

#include <commctrl.h>

#include "app/instance.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "app/startup.h"
#include "app/windows_version.h"
#include "base/constants.h"
#include "base/debug_log.h"
#include "base/strings.h"
#include "ui/main/menus/context_menus.h"
#include "ui/main/frame/unsaved_change.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/main/frame/window_layout.h"
#include "ui/modal_dialog.h"
#include "ui/window_text.h"

namespace tv {

namespace {
constexpr UINT_PTR kTimerFirstRun = 1;
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
    : settings_(settings), instance_(instance), parts_(std::make_unique<MainWindowParts>(*this, settings)) {}

TTolvaneWindow::~TTolvaneWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool TTolvaneWindow::Create(HINSTANCE instance) {
    // Made once and kept for the rest of the run: every window of the class paints with it,
    // whichever window registered the class.
    static GdiOwner<HBRUSH> background(CreateSolidBrush(kBackground));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background.get();
    wc.lpszClassName = kMainWindowClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    hwnd_ = CreateAtStoredPlace(*settings_.user, kMainWindowClass, Caption(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                instance, this, maximisedAtStart_);
    return hwnd_ != nullptr;
}

bool TTolvaneWindow::TranslateShortcut(MSG& msg) { return parts_->keys.Translate(hwnd_, parts_->layout, msg); }

void TTolvaneWindow::Show(int showCommand) {
    ShowWindow(hwnd_, FirstShowCommand(showCommand, maximisedAtStart_));
    UpdateWindow(hwnd_);
    // The tool tip control is a window of its own that the first paint does not need: made
    // once the window has painted, with the hints the controls were given.
    parts_->hints.Create(hwnd_);
}

void TTolvaneWindow::FormCreate() {
    Startup().startupPhase = true;
    Startup().versionName = CurrentWindowsVersionName();
    dpi_ = ScreenDpi();
    font_.reset(MessageFont());

    parts_->status.Attach(hwnd_, font_.get(), dpi_, &parts_->hints);
    parts_->drops.Attach(hwnd_);
    CreateControls();
    parts_->searching.Attach(hwnd_, font_.get(), parts_->LbRECs, parts_->menus.PopupMenuMore);
    AddCommands();
    AddHints();
    if (font_) EnumChildWindows(hwnd_, SetFontOnChild, reinterpret_cast<LPARAM>(font_.get()));
    // What the command strip's controls need at the least, for windows too narrow for their
    // usual widths (the first start's 520 pixels at 150% scaling, say).
    MeasureCommandStrip(parts_->layout, font_.get(), dpi_);

    parts_->keys.Create({[this] { OnCommand(kIdSearchButton); }, [this] { parts_->searching.Show(false); }});

    parts_->layout.recordListWidth = settings_.user->ReadInteger(keys::kDefault, keys::kRecordListWidth, 120);
    // Written back once the window has painted (see the first-run timer).
    parts_->shown.Restore(hwnd_);
    creating_ = false;
    FormResize();
    if (instance_) instance_->SetWindow(hwnd_);
    SetTimer(hwnd_, kTimerFirstRun, kFirstRunDelayMs, nullptr);
}

void TTolvaneWindow::CreateControls() {
    parts_->menus.Build(Startup().versionName == L"windows 7");
    CreateCommandStrip(hwnd_, parts_->layout);
    parts_->BtnRec = parts_->layout.strip[0];
    parts_->BtnAdd2 = parts_->layout.strip[1];
    parts_->BtnRecordByType = parts_->layout.strip[2];
    parts_->cbSmartRecord = parts_->layout.strip[3];
    parts_->PnlSmartRecord = parts_->layout.slider;
    parts_->smart.Create(font_.get());
    parts_->layout.sliderLabel = parts_->smart.lbRecording;
    parts_->layout.sliderLabelWidth = parts_->smart.labelWidth();
    parts_->filter.Create(hwnd_, font_.get());

    parts_->LbRECs = Child(hwnd_, WC_LISTBOXW, L"",
                           WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                               LBS_EXTENDEDSEL | LBS_WANTKEYBOARDINPUT,
                           kIdRecordList, WS_EX_CLIENTEDGE);
    parts_->records.Attach(parts_->LbRECs);
    parts_->records.selectionChanged = [this] { parts_->selected.SelectionChanged(); };
    parts_->layout.recordList = parts_->LbRECs;
    RecordPages::Host host;
    host.showSelectedRecord = [this] { LbRECsClick(); };
    host.openSelected = [this] { OnCommand(kCmdOpen); };
    host.restoreSmartRecordBox = [this] {
        parts_->smart.SetChecked(settings_.user->ReadBool(keys::kDefault, keys::kSmartRecord, false));
    };
    parts_->pages.Create(hwnd_, parts_->session.strip(), font_.get(), &parts_->hover, std::move(host));
    parts_->pages.views().Show(parts_->session.record());
    // The status bar is made when first shown, and the progress strip with the long operations
    // that show it: nothing to pay for at start.
}

void TTolvaneWindow::AddHints() {
    parts_->hints.Add(parts_->BtnRec, L"Scan and Add");
    parts_->hints.Add(parts_->BtnAdd2, L"Add...");
    parts_->hints.Add(parts_->BtnRecordByType, L"Click here for more...");
    parts_->listHint.Attach();
    parts_->hints.AddMenuHint(parts_->menus.MainMenu1, 0, L"Recent Opened Programs and Files");  // "&TolVane"
}

void TTolvaneWindow::EnsureProgressStrip() {
    if (parts_->progress.created()) return;
    parts_->progress.Create(hwnd_, font_.get());
    parts_->hints.Add(parts_->progress.SpeedButton5, L"Stop");
}

void TTolvaneWindow::TellSearchOutcome(const std::wstring& text) {
    if (!text.empty()) {
        parts_->status.SetText(0, text);
        EnsureProgressStrip();
    }
    if (parts_->progress.created()) parts_->progress.SetNotice(text);
}

void TTolvaneWindow::FormResize() {
    if (!hwnd_ || !parts_->pages.views().TVDocs || creating_) return;
    RECT rc;
    GetClientRect(hwnd_, &rc);
    laidOut_ = SIZE{rc.right, rc.bottom};
    LayOutMainWindow(hwnd_, parts_->layout, dpi_);
}

void TTolvaneWindow::LayOut() {
    FormResize();
    UpdateWindow(hwnd_);  // painted before the slower steps of the first run
}

void TTolvaneWindow::SaveLayout() {
    LayoutState state;
    state.smartRecord = SendMessageW(parts_->cbSmartRecord, BM_GETCHECK, 0, 0) == BST_CHECKED;
    state.recordListWidth = parts_->layout.recordListWidth;
    state.selectedRecord = parts_->records.SelectedIndex();
    SaveWindowLayout(*settings_.user, hwnd_, state);
}

void TTolvaneWindow::FormCloseQuery() {
    // A long operation still running is asked to stop; the window closes from the queue once it
    // and the work that waited before the close are done.
    if (parts_->work.busy()) parts_->progress.stopRequested = true;
    // The window is disabled while a dialog shows, so this close came from outside (a logoff,
    // the taskbar): a question left up would hold the close, and the program, for ever.
    ModalDialog::CancelAllShowing();
    parts_->work.RunOrQueue([this] { CloseNow(); }, L"close");
}

void TTolvaneWindow::CloseNow() {
    // Items of a hand-off the window has answered go into the record before it goes; hand-offs
    // from here on are answered 0, and their senders try again while the window may still stay.
    parts_->intakes.HoldHandOffs(true);
    parts_->intakes.TakeHandedOffItems();
    if (!SettleUnsavedChange(hwnd_, parts_->session, *parts_->prompter)) {
        parts_->intakes.HoldHandOffs(false);
        return;  // the window stays open
    }
    try {
        // A window closed before its first-run step still stores what it showed.
        if (!parts_->shown.stored()) parts_->shown.Store();
        SaveLayout();
    } catch (const SettingsWriteError&) {
        LogSwallowed(L"storing the window layout");  // closing goes on
    }
    DestroyWindow(hwnd_);
}

void TTolvaneWindow::TimerFirstRunTimer() {
    KillTimer(hwnd_, kTimerFirstRun);  // runs once
    try {
        parts_->shown.Store();
    } catch (const SettingsWriteError&) {
        LogSwallowed(L"storing the shown parts");
    }
    // The settings dialog and the drop targets are made here, right after the first paint,
    // rather than on the way to it.
    EnsureSettingsDialog();
    parts_->drops.Register();
    parts_->work.RunOrQueue([this] {
        RunFirstRunStep(parts_->hosts, Startup());
        parts_->intakes.SetReady();  // hand-offs from here on go into the record shown
    });
}

void TTolvaneWindow::EnsureSettingsDialog() {
    if (parts_->settingsDialog) return;
    parts_->settingsDialog = std::make_unique<TFrmMySettings>(parts_->options);
    parts_->settingsDialog->Create(hwnd_);
}

bool TTolvaneWindow::OpenSettings() {
    EnsureSettingsDialog();
    return parts_->settingsDialog->Open();
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
    if (from == parts_->LbRECs && code == LBN_SELCHANGE) {
        // A click in the list while a record is read shows the record selected once it is done.
        parts_->work.RunOrQueue([this] { LbRECsClick(); }, L"show selected record");
    } else if (from == parts_->search.box() && code == CBN_KILLFOCUS) {
        if (!parts_->work.busy()) parts_->searching.BoxLeft();
    } else if (code == BN_CLICKED) {
        OnCommand(id);
    }
}

LRESULT TTolvaneWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; parts_->drops.Handle(msg, wParam, lParam, result)) return result;
    if (LRESULT result = 0; parts_->smart.Handle(msg, wParam, lParam, result)) return result;
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
            parts_->hints.MenuSelected(reinterpret_cast<HMENU>(lParam), LOWORD(wParam), HIWORD(wParam));
            break;
        case WM_INITMENUPOPUP:
            if (parts_->sendTo.IsSendToMenu(reinterpret_cast<HMENU>(wParam)))
                parts_->sendTo.Sendto2Click(reinterpret_cast<HMENU>(wParam));
            break;
        case WM_EXITSIZEMOVE:
            SaveLayout();
            return 0;
        case WM_TIMER:
            if (wParam == kTimerFirstRun) TimerFirstRunTimer();
            else if (wParam == ReplayCommands::kTimerFinishId) parts_->replay.TimerFinish();
            return 0;
        case WM_COMMAND: {
            HWND from = reinterpret_cast<HWND>(lParam);
            if (!from && HIWORD(wParam) == 1 && LOWORD(wParam) == kCmdSearch)
                parts_->searching.Switch();  // Ctrl+F switches
            else if (!from) OnCommand(LOWORD(wParam));  // menus and keys
            else OnControl(from, HIWORD(wParam), LOWORD(wParam));
            return 0;
        }
        case WM_NOTIFY:
            if (parts_->filter.OnNotify(*reinterpret_cast<NMHDR*>(lParam))) return 0;
            parts_->pages.OnNotify(reinterpret_cast<NMHDR*>(lParam), parts_->session.record());
            return 0;
        case WM_DRAWITEM:
            if (parts_->items.DrawRecentImage(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
            if (!parts_->pages.DrawTab(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) break;
            return TRUE;
        case WM_MEASUREITEM:
            if (!parts_->items.MeasureRecentImage(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) break;
            return TRUE;
        case WM_VKEYTOITEM:
            if (reinterpret_cast<HWND>(lParam) == parts_->LbRECs)
                // -1: the list box handles the key itself
                return parts_->listCommands.KeyDown(LOWORD(wParam)) ? -2 : -1;
            break;
        case WM_CONTEXTMENU:
            if (ClickedOutsideClientArea(hwnd_, reinterpret_cast<HWND>(wParam), lParam)) break;
            if (!parts_->work.busy()) {
                if (ContextMenuFor(parts_->menus, parts_->layout, hwnd_, reinterpret_cast<HWND>(wParam)) ==
                    parts_->menus.PmDocTree)
                    parts_->items.PmDocTreePopup();
                ShowContextMenu(parts_->menus, parts_->layout, hwnd_, reinterpret_cast<HWND>(wParam), lParam,
                                parts_->records.SelectedIndex() == startupRecordIndex_);
            }
            return 0;
        case WM_SETCURSOR:
            if (parts_->splitter.SetCursor(hwnd_, wParam, lParam, parts_->layout, dpi_)) return TRUE;
            break;
        case WM_LBUTTONDOWN: case WM_MOUSEMOVE: case WM_LBUTTONUP:
            parts_->splitter.HandleMouse(hwnd_, msg, lParam, parts_->layout, dpi_, [this] { FormResize(); },
                                         [this] { SaveLayout(); });
            return 0;
        case kMsgRunQueued:
            if (parts_->work.RunNext() && parts_->work.queued() > 0 && !parts_->work.busy())
                PostMessageW(hwnd_, kMsgRunQueued, 0, 0);
            return 0;
        case WM_CLOSE:
            FormCloseQuery();
            return 0;
        case WM_DESTROY:
            parts_->drops.Detach();
            if (parts_->shown.menuBarShown()) SetMenu(hwnd_, nullptr);  // the menu is destroyed with the window object
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace tv
