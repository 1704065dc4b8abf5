#include "ui/main/views/startup_filter_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "app/options.h"
#include "app/record_session.h"
#include "base/debug_log.h"
#include "base/path_rules.h"
#include "capture/path_resolution.h"
#include "capture/shell_windows.h"
#include "records/record_library.h"
#include "replay/item_launcher.h"
#include "replay/shell_calls.h"
#include "ui/message_pump.h"

namespace tv {

namespace {
constexpr wchar_t kCaption[] = L"Filter Startup Programs - You can drag to the top of the list...";
enum FilterCommand : UINT { kAddToRecord = 1, kOpen, kOpenContainer, kSettings };
constexpr int kSplitterHeight = 6;
constexpr int kLeastHeight = 60;

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}
}  // namespace

StartupFilterView::StartupFilterView(Parts parts, std::unique_ptr<TWindowsStartMan> startMan)
    : p_(std::move(parts)), startMan_(std::move(startMan)) {
    if (!startMan_) startMan_ = std::make_unique<TWindowsStartMan>();
    commands_.Add(kAddToRecord, [this](UINT) { AddtoRecord1Click(); });
    commands_.Add(kOpen, [this](UINT) { Open3Click(); });
    commands_.Add(kOpenContainer, [this](UINT) { OpencontainerFolder1Click(); });
    commands_.Add(kSettings, [this](UINT) {
        if (p_.openSettings) p_.openSettings();
    });
}

StartupFilterView::~StartupFilterView() = default;

void StartupFilterView::Create(HWND window, HFONT font) {
    window_ = window;
    font_ = font;
    PmFilterStartup.reset(CreatePopupMenu());
    HMENU menu = PmFilterStartup.get();
    AppendMenuW(menu, MF_STRING, kAddToRecord, L"Add to Record");
    AppendMenuW(menu, MF_STRING, kOpen, L"Open");
    AppendMenuW(menu, MF_STRING, kOpenContainer, L"Open container Folder");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kSettings, L"Settings...");
}

void StartupFilterView::EnsureControls() {
    if (LvAutoRunFilter) return;
    HWND window = window_;
    HFONT font = font_;
    gbFilterAutoStart = Child(window, WC_BUTTONW, kCaption, BS_GROUPBOX);
    LvAutoRunFilter = Child(window, WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(LvAutoRunFilter, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const wchar_t* columns[] = {L"Title", L"Location"};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH;
        c.pszText = const_cast<wchar_t*>(columns[i]);
        c.cx = 180;
        ListView_InsertColumn(LvAutoRunFilter, i, &c);
    }
    SpFilterAutoStart = Child(window, WC_STATICW, L"", SS_NOTIFY);
    // A group box paints only its frame: what it covers is painted afresh whenever it moves, or
    // the frame of its last place stays on screen.
    groupHook_.Hook(gbFilterAutoStart, [this](HWND w, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == WM_ERASEBKGND) {
            RECT r;
            GetClientRect(w, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r,
                     reinterpret_cast<HBRUSH>(GetClassLongPtrW(window_, GCLP_HBRBACKGROUND)));
            return 1;
        }
        if (msg == WM_WINDOWPOSCHANGED) InvalidateRect(w, nullptr, TRUE);
        return groupHook_.CallNext(w, msg, wParam, lParam);
    });
    // The frame lies under the list it surrounds, never over it.
    SetWindowPos(gbFilterAutoStart, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    splitterHook_.Hook(SpFilterAutoStart, [this](HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
        return SplitterMessage(w, msg, wParam, lParam);
    });
    for (HWND w : {gbFilterAutoStart, LvAutoRunFilter})
        if (font) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

StartupFilter StartupFilterView::Filter() {
    Options& options = p_.options;
    return MakeStartupFilter([&options] { return options.values.filterWindowsStart; }, *startMan_, rows_);
}

void StartupFilterView::BeforeRecording(bool smart) {
    if (smart) return;
    rows_.Clear();
    FillList();
    Hide();
}

void StartupFilterView::AfterRecording() {
    const bool show = p_.options.values.showStartFilterList && !rows_.rows().empty() && !shown_;
    if (!rows_.rows().empty()) EnsureControls();
    FillList();
    if (!show) return;
    shown_ = true;
    for (HWND w : {gbFilterAutoStart, LvAutoRunFilter, SpFilterAutoStart}) ShowWindow(w, SW_SHOWNA);
    if (p_.layOut) p_.layOut();
}

void StartupFilterView::Hide() {
    if (!shown_) return;
    shown_ = false;
    for (HWND w : {gbFilterAutoStart, LvAutoRunFilter, SpFilterAutoStart}) ShowWindow(w, SW_HIDE);
    if (p_.layOut) p_.layOut();
}

void StartupFilterView::FillList() {
    if (!LvAutoRunFilter) return;
    ListView_DeleteAllItems(LvAutoRunFilter);
    int i = 0;
    for (const StartupFilterRow& row : rows_.rows()) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<wchar_t*>(row.title.c_str());
        ListView_InsertItem(LvAutoRunFilter, &item);
        ListView_SetItemText(LvAutoRunFilter, i, 1, const_cast<wchar_t*>(row.path.c_str()));
        ++i;
    }
}

int StartupFilterView::Place(HDWP& defer, const RECT& area, int dpi) {
    dpi_ = dpi;
    if (!shown_ || !gbFilterAutoStart) return 0;
    auto scale = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    const int areaHeight = area.bottom - area.top;
    const int h = std::max(std::min(scale(height_), areaHeight - scale(kLeastHeight)), scale(kLeastHeight) / 2);
    const int top = area.bottom - h, split = scale(kSplitterHeight), width = area.right - area.left;
    auto place = [&defer](HWND w, int x, int y, int cx, int cy) {
        if (defer)
            defer = DeferWindowPos(defer, w, nullptr, x, y, std::max(0, cx), std::max(0, cy),
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(gbFilterAutoStart, area.left, top, width, h);
    const int inset = scale(8), caption = scale(18);
    const int listWidth = width - 2 * inset;
    place(LvAutoRunFilter, area.left + inset, top + caption, listWidth, h - caption - inset);
    place(SpFilterAutoStart, area.left, top - split, width, split);
    ListView_SetColumnWidth(LvAutoRunFilter, 0, 180);
    ListView_SetColumnWidth(LvAutoRunFilter, 1, std::max(0, listWidth - 180 - 5));
    return h + split;
}

LRESULT StartupFilterView::SplitterMessage(HWND splitter, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SETCURSOR:
            SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
            return TRUE;
        case WM_LBUTTONDOWN:
            sizing_ = true;
            SetCapture(splitter);
            return 0;
        case WM_MOUSEMOVE:
            if (sizing_) {
                // The group keeps what lies between the pointer and its bottom.
                RECT group{};
                GetWindowRect(gbFilterAutoStart, &group);
                POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ClientToScreen(splitter, &at);
                const int h = static_cast<int>(group.bottom - at.y);
                height_ = std::max(kLeastHeight, MulDiv(h, 96, dpi_));
                if (p_.layOut) p_.layOut();
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (sizing_) {
                sizing_ = false;
                if (msg == WM_LBUTTONUP) ReleaseCapture();
            }
            return 0;
        default:
            return splitterHook_.CallNext(splitter, msg, wParam, lParam);
    }
}

bool StartupFilterView::OnNotify(const NMHDR& header) {
    if (!LvAutoRunFilter || header.hwndFrom != LvAutoRunFilter) return false;
    if (header.code == LVN_BEGINDRAG) DragRows();
    else if (header.code == NM_RCLICK) ShowPopup();
    return true;
}

std::vector<int> StartupFilterView::SelectedRows() const {
    std::vector<int> out;
    const int count = static_cast<int>(rows_.rows().size());
    for (int i = ListView_GetNextItem(LvAutoRunFilter, -1, LVNI_SELECTED); i >= 0 && i < count;
         i = ListView_GetNextItem(LvAutoRunFilter, i, LVNI_SELECTED))
        out.push_back(i);
    return out;
}

void StartupFilterView::ShowPopup() {
    POINT at;
    GetCursorPos(&at);
    UINT chosen =
        TrackPopupMenu(PmFilterStartup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
    try {
        commands_.Run(chosen);
    } catch (...) {
        LogSwallowed(L"a start-up filter command");  // the rows after the failing one are left
    }
}

void StartupFilterView::AddtoRecord1Click() {
    std::vector<int> selected = SelectedRows();
    if (selected.empty()) return;
    // Copied first: adding may record again and change the rows.
    std::vector<StartupFilterRow> picked;
    for (int i : selected) picked.push_back(rows_.rows()[static_cast<size_t>(i)]);
    for (const StartupFilterRow& row : picked) p_.session.AddItem(row.path, row.title);
    const int index = p_.list.SelectedIndex();
    if (p_.list.Count() > 0 && index >= 0)
        p_.session.WriteTo(JoinPath(p_.session.RecordFolder(), p_.list.Name(index) + kRecordExtension));
    else
        p_.session.SaveCurrentRecord();
    p_.session.ShowSelectedRecord();
    p_.session.ShowAllPageAndLastAdded();
}

void StartupFilterView::UseShell(ShellCalls& shell) {
    shell_ = &shell;
    launcher_.reset();
}

ItemLauncher& StartupFilterView::Launcher() {
    if (!launcher_) {
        if (!machine_) machine_ = std::make_unique<RealResolutionMachine>();
        launcher_ = std::make_unique<ItemLauncher>(shell_ ? *shell_ : RealShellCalls(), ProcessServices::Instance(),
                                                   *machine_, ProgramLauncherContext(window_, nullptr));
    }
    return *launcher_;
}

void StartupFilterView::Open3Click() {
    for (int i : SelectedRows()) {
        StartupFilterRow row = rows_.rows()[static_cast<size_t>(i)];
        // A shell place is opened by the table itself.
        if (ShellWindowTable(row.title, row.path, ShellTableMode::Launch, &Launcher()) == 1) continue;
        Launcher().OpenItem(row.path, false);
    }
}

void StartupFilterView::OpencontainerFolder1Click() {
    for (int i : SelectedRows()) {
        const std::wstring& path = rows_.rows()[static_cast<size_t>(i)].path;
        Launcher();  // makes the machine too
        Launcher().OpenPathOrAddress(machine_->FolderExists(path) ? path : ContainerOf(path));
    }
}

bool StartupFilterView::DropAt(POINT screen) {
    HWND tree = p_.tree ? p_.tree() : nullptr;
    HWND at = WindowFromPoint(screen);
    if (!tree || !at || (at != tree && !IsChild(tree, at))) return false;
    AddtoRecord1Click();
    return true;
}

void StartupFilterView::DragRows() {
    // The list view starts the drag once the mouse moved past the system's threshold; the rows
    // go with the pointer until the button is let go.
    SetCapture(LvAutoRunFilter);
    HCURSOR refuse = LoadCursorW(nullptr, IDC_NO), accept = LoadCursorW(nullptr, IDC_ARROW);
    bool dropped = false;
    MSG msg;
    while (GetCapture() == LvAutoRunFilter && NextMessage(msg, true)) {
        if (msg.message == WM_MOUSEMOVE) {
            POINT at;
            GetCursorPos(&at);
            HWND over = WindowFromPoint(at);
            HWND tree = p_.tree ? p_.tree() : nullptr;
            SetCursor(tree && (over == tree || IsChild(tree, over)) ? accept : refuse);
            continue;
        }
        if (msg.message == WM_LBUTTONUP) {
            dropped = true;
            break;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
        if (msg.message == WM_RBUTTONDOWN) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (GetCapture() == LvAutoRunFilter) ReleaseCapture();
    if (!dropped) return;
    POINT at;
    GetCursorPos(&at);
    try {
        DropAt(at);
    } catch (...) {
        LogSwallowed(L"rows dropped on the record");
    }
}

}  // namespace tv
