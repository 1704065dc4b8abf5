#include "ui/main/main_window.h"

#include <commctrl.h>

#include "app/constants.h"
#include "app/instance.h"
#include "app/settings_store.h"
#include "app/shell_links.h"
#include "app/windows_version.h"
#include "base/path_rules.h"
#include "capture/process_services.h"
#include "records/icon_strip.h"
#include "base/file_util.h"
#include "base/strings.h"

namespace tv {

namespace {
constexpr UINT_PTR kTimerFirstRun = 1;
constexpr UINT kFirstRunDelayMs = 10;
constexpr int kDefaultWidth = 520;

std::wstring Key(const std::wstring& path) { return ToLower(Trim(path)); }
}  // namespace

TTolvaneWindow::TTolvaneWindow(Settings& settings, InstanceBlock* instance)
    : settings_(settings), instance_(instance) {}

TTolvaneWindow::~TTolvaneWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
    if (font_) DeleteObject(font_);
    if (ImageList1) ImageList_Destroy(ImageList1);
}

std::wstring TTolvaneWindow::Caption() {
    return Format(L"%ls Free %1.1f", kAppName, kProgramVersion);
}

RECT TTolvaneWindow::DefaultBounds() const {
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    SettingsStore& user = *settings_.user;
    int width = user.ReadInteger(L"default", L"Width", kDefaultWidth);
    int height = user.ReadInteger(L"default", L"Height", screenH - 60);
    int left = user.ReadInteger(L"default", L"Left", screenW - width - 15);
    int top = user.ReadInteger(L"default", L"Top", screenH - height - 40);
    return RECT{left, top, left + width, top + height};
}

bool TTolvaneWindow::Create(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainWindowClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    RECT r = DefaultBounds();
    hwnd_ = CreateWindowExW(0, kMainWindowClass, Caption().c_str(), WS_OVERLAPPEDWINDOW,
                            r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                            instance, this);
    return hwnd_ != nullptr;
}

void TTolvaneWindow::Show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
}

void TTolvaneWindow::FormCreate() {
    Startup().startupPhase = true;
    Startup().versionName = CurrentWindowsVersionName();
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        font_ = CreateFontIndirectW(&ncm.lfMessageFont);
    ImageList1 = CreateStandardStrip();
    views_.Create(hwnd_, ImageList1);
    TVDocs = views_.TVDocs;
    if (font_)
        for (HWND tree : {views_.TVDocs, views_.TVApp, views_.TVPath, views_.TVDoc})
            SendMessageW(tree, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (instance_) instance_->SetWindow(hwnd_);
    SetTimer(hwnd_, kTimerFirstRun, kFirstRunDelayMs, nullptr);
}

void TTolvaneWindow::TimerFirstRunTimer() {
    KillTimer(hwnd_, kTimerFirstRun);  // runs once
    RunFirstRunStep(*this, Startup());
}

bool TTolvaneWindow::Contains(const std::wstring& path) {
    std::wstring key = Key(path);
    for (const auto& node : record_.docs.top())
        if (record_.items.Valid(node->data.itemIndex) && Key(record_.items.At(node->data.itemIndex).path) == key)
            return true;
    return false;
}

void TTolvaneWindow::AddItem(const std::wstring& path) {
    // Until the add operations exist, an item is a top-level entry of its plain kind.
    TMyDoc item;
    item.path = item.groupKey = item.title = path;
    item.kind = IsWebAddress(path) ? kWebPage
                : ProcessServices::Instance().FolderExists(path) ? kFolderOrLocation
                                                                 : kProgramOrDocument;
    item.imageIndex = IconIndex(path, L"", ImageList1);
    item.expanded = true;
    RecordNode* node = record_.docs.Add(nullptr, path, record_.items.Append(item));
    node->imageIndex = node->selectedImageIndex = item.imageIndex;
    AppendNode(TVDocs, TVI_ROOT, *node);
    lastAdded_ = path;
}

void TTolvaneWindow::ShowAllPageAndLastAdded() {
    std::wstring key = Key(lastAdded_);
    for (HTREEITEM it = TreeView_GetRoot(TVDocs); it; it = TreeView_GetNextSibling(TVDocs, it)) {
        RecordNode* node = NodeOf(TVDocs, it);
        if (node && record_.items.Valid(node->data.itemIndex) &&
            Key(record_.items.At(node->data.itemIndex).path) == key) {
            TreeView_SelectItem(TVDocs, it);
            break;
        }
    }
}

void TTolvaneWindow::RestoreSmartRecordBox() {
    smartRecord_ = UserSettings().ReadBool(L"default", L"cbSmartRecord", false);
}

bool TTolvaneWindow::RunningAsAdmin() { return IsRunningAsAdmin(); }

void TTolvaneWindow::PinStartMenuShortcut() { PinShortcut(StartMenuShortcutPath()); }

void TTolvaneWindow::LoadAndApplyOptions() { DefaultRecordFolder(); }

void TTolvaneWindow::TakeCommandLineItems() { tv::TakeCommandLineItems(*this, Startup().params); }

void TTolvaneWindow::LayOut() {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    MoveWindow(TVDocs, 0, 0, rc.right, rc.bottom, TRUE);
}

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
            if (TVDocs) LayOut();
            return 0;
        case WM_TIMER:
            if (wParam == kTimerFirstRun) TimerFirstRunTimer();
            return 0;
        case WM_COPYDATA:
            return ReceiveHandOff(*this);
        case WM_DESTROY:
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace tv
