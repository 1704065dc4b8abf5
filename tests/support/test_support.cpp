#include "support/test_support.h"

#include <cstdio>
#include <shellapi.h>
#include <shlobj.h>
#include <commctrl.h>

#include <gdiplus.h>

#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/strings.h"

namespace tvtest {

namespace {
const wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::wstring ReadRegString(HKEY root, const wchar_t* key, const wchar_t* name) {
    wchar_t buf[1024] = {};
    DWORD size = sizeof(buf) - sizeof(wchar_t);
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr,
                     buf, &size) != ERROR_SUCCESS)
        return {};
    return buf;
}

void WriteRegString(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& value) {
    HKEY h;
    if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return;
    if (value.empty())
        RegDeleteValueW(h, name);
    else
        RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
}

int unique = 0;
}  // namespace

TempFolder::TempFolder() {
    wchar_t tmp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, tmp);
    for (;;) {
        path_ = std::wstring(tmp) + L"tvtest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++unique);
        if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void RemoveTree(const std::wstring& path) {
    if (path.size() < 4) return;
    std::wstring from = path + L'\0';  // double zero ends the list
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

ScopedDataFolders::ScopedDataFolders() {
    oldPersonal_ = ReadRegString(HKEY_CURRENT_USER, kUserShellFolders, L"Personal");
    oldPersonalShell_ = ReadRegString(HKEY_CURRENT_USER, kShellFolders, L"Personal");
    oldCommon_ = ReadRegString(HKEY_LOCAL_MACHINE, kUserShellFolders, L"Common Documents");
    oldCommonShell_ = ReadRegString(HKEY_LOCAL_MACHINE, kShellFolders, L"Common Documents");
    WriteRegString(HKEY_CURRENT_USER, kUserShellFolders, L"Personal", documents_.path());
    WriteRegString(HKEY_CURRENT_USER, kShellFolders, L"Personal", documents_.path());
    WriteRegString(HKEY_LOCAL_MACHINE, kUserShellFolders, L"Common Documents", common_.path());
    WriteRegString(HKEY_LOCAL_MACHINE, kShellFolders, L"Common Documents", common_.path());
}

ScopedDataFolders::~ScopedDataFolders() {
    WriteRegString(HKEY_CURRENT_USER, kUserShellFolders, L"Personal", oldPersonal_);
    WriteRegString(HKEY_CURRENT_USER, kShellFolders, L"Personal", oldPersonalShell_);
    WriteRegString(HKEY_LOCAL_MACHINE, kUserShellFolders, L"Common Documents", oldCommon_);
    WriteRegString(HKEY_LOCAL_MACHINE, kShellFolders, L"Common Documents", oldCommonShell_);
}

Process::~Process() {
    Kill();
    if (pi_.hProcess) CloseHandle(pi_.hProcess);
    if (pi_.hThread) CloseHandle(pi_.hThread);
}

Process::Process(Process&& o) noexcept : pi_(o.pi_) { o.pi_ = PROCESS_INFORMATION{}; }

std::wstring SystemNotepad() {
    wchar_t dir[MAX_PATH] = {};
    GetSystemDirectoryW(dir, MAX_PATH);
    return std::wstring(dir) + L"\\notepad.exe";
}

bool Process::Start(const std::wstring& exe, const std::wstring& params, DWORD creationFlags) {
    std::wstring cmd = L"\"" + exe + L"\"";
    if (!params.empty()) cmd += L" " + params;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    // A loaded machine's wineserver now and then refuses a start among many at once; the
    // races under test are about what the program does once started, so a refused start is
    // tried again before it counts as a failure.
    DWORD error = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, creationFlags, nullptr, nullptr, &si,
                           &pi_))
            return true;
        error = GetLastError();
        Sleep(200);
    }
    std::fprintf(stderr, "could not start %ls: error %lu\n", exe.c_str(), static_cast<unsigned long>(error));
    return false;
}

bool Process::Resume() { return pi_.hThread && ResumeThread(pi_.hThread) != static_cast<DWORD>(-1); }

long Process::Wait(DWORD ms) {
    if (!pi_.hProcess) return -1;
    if (WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<long>(code);
}

void Process::Kill() {
    if (pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(pi_.hProcess, 99);
        WaitForSingleObject(pi_.hProcess, 5000);
    }
}

namespace {
struct FindContext {
    const wchar_t* cls;
    std::vector<HWND> found;
};
BOOL CALLBACK CollectWindow(HWND h, LPARAM lp) {
    auto* c = reinterpret_cast<FindContext*>(lp);
    wchar_t name[256] = {};
    GetClassNameW(h, name, 256);
    if (lstrcmpiW(name, c->cls) == 0) c->found.push_back(h);
    return TRUE;
}
}  // namespace

std::vector<HWND> FindWindows(const wchar_t* className) {
    FindContext ctx{className, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

HWND WaitForWindow(const wchar_t* className, DWORD pid, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    do {
        for (HWND h : FindWindows(className)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if ((pid == 0 || owner == pid) && IsWindowVisible(h)) return h;
        }
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

long CloseAndWait(HWND window, Process& process, DWORD timeoutMs) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return process.Wait(timeoutMs);
}

bool SaveScreenshot(const std::wstring& pngPath) {
    using namespace Gdiplus;
    GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (GdiplusStartup(&token, &input, nullptr) != Ok) return false;
    bool saved = false;
    {
        int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        {
            Bitmap image(bmp, nullptr);
            // The PNG encoder of GDI+.
            const CLSID png = {0x557cf406, 0x1a04, 0x11d3,
                               {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
            saved = image.Save(pngPath.c_str(), &png, nullptr) == Ok;
        }
        DeleteObject(bmp);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
    }
    GdiplusShutdown(token);
    return saved;
}

std::wstring ExeFolder() { return tv::FolderOf(tv::ModulePath()); }

namespace {
// Waits until `count` windows of the test helper's class exist for `process`.
bool WaitForTestWindows(const Process& process, size_t count, const wchar_t* className = L"TolvaneTestWindow") {
    for (int i = 0; i < 300; ++i, Sleep(50)) {
        size_t n = 0;
        for (HWND h : FindWindows(className)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid == process.pid() && IsWindowVisible(h)) ++n;
        }
        if (n >= count) return true;
    }
    return false;
}
}  // namespace

std::wstring StartHelperAs(const TempFolder& dir, const wchar_t* name, Process& process,
                           const std::wstring& titles, size_t windows) {
    std::wstring copy = dir.file(name);
    if (!CopyFileW((ExeFolder() + L"\\test_windows.exe").c_str(), copy.c_str(), FALSE)) return {};
    if (!process.Start(copy, titles) || !WaitForTestWindows(process, windows)) return {};
    return copy;
}

bool StartBrowserStubAs(const TempFolder& dir, const wchar_t* name, Process& process, const std::wstring& className,
                        const std::vector<std::wstring>& windows) {
    std::wstring copy = dir.file(name);
    if (!CopyFileW((ExeFolder() + L"\\browser_stub.exe").c_str(), copy.c_str(), FALSE)) return false;
    std::wstring params = tv::QuotedArgument(className);
    for (const std::wstring& w : windows) params += L" " + tv::QuotedArgument(w);
    return process.Start(copy, params) && WaitForTestWindows(process, windows.size(), className.c_str());
}

std::wstring ScreenshotFolder() {
    // bin -> the architecture's build folder -> the build folder.
    std::wstring dir = tv::FolderOf(tv::FolderOf(ExeFolder())) + L"\\screenshots";
    tv::CreateFolderTree(dir);
    return dir;
}

std::string ReadAll(const std::wstring& path) {
    std::string bytes;
    tv::ReadFileBytes(path, bytes);
    return bytes;
}

bool WriteAll(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    BOOL ok = bytes.empty() || WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(f);
    return ok && put == bytes.size();
}

std::string Utf16(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return out;
}

namespace {
std::function<void()> g_soon;
void CALLBACK SoonTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto step = std::move(g_soon);
    g_soon = nullptr;
    if (step) step();
}
}  // namespace

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (done()) return true;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(50);
    }
    return done();
}

int StartWindowProbe() {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

void RunSoon(std::function<void()> step, UINT ms) {
    g_soon = std::move(step);
    SetTimer(nullptr, 0, ms, SoonTimer);
}

void DropQuitMessages() {
    MSG m;
    while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void PressKey(WORD key, bool shift, bool ctrl, bool alt) {
    std::vector<INPUT> inputs;
    auto add = [&inputs](WORD k, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = k;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    if (ctrl) add(VK_CONTROL, false);
    if (alt) add(VK_MENU, false);
    if (shift) add(VK_SHIFT, false);
    add(key, false);
    add(key, true);
    if (shift) add(VK_SHIFT, true);
    if (alt) add(VK_MENU, true);
    if (ctrl) add(VK_CONTROL, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::wstring ArgumentAsReceived(const std::wstring& argument) {
    const std::wstring commandLine = L"program.exe \"" + argument + L"\"";
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(commandLine.c_str(), &count);
    std::wstring first = args && count > 1 ? args[1] : L"";
    LocalFree(args);
    return first;
}

std::wstring ItemText(HWND tree, HTREEITEM item) {
    wchar_t buf[512] = {};
    TVITEMW tvi{};
    tvi.mask = TVIF_TEXT;
    tvi.hItem = item;
    tvi.pszText = buf;
    tvi.cchTextMax = 512;
    TreeView_GetItem(tree, &tvi);
    return buf;
}

namespace {
struct ClipCheck {
    std::vector<std::wstring> found;
};

BOOL CALLBACK CheckCaption(HWND c, LPARAM state) {
    auto& check = *reinterpret_cast<ClipCheck*>(state);
    if (!IsWindowVisible(c)) return TRUE;
    wchar_t cls[64] = {};
    GetClassNameW(c, cls, 64);
    const LONG style = GetWindowLongW(c, GWL_STYLE);
    const bool button = lstrcmpiW(cls, L"Button") == 0, label = lstrcmpiW(cls, L"Static") == 0;
    if (!button && !label) return TRUE;
    int room = 0;  // what the control itself takes besides the text
    UINT format = DT_CALCRECT | DT_SINGLELINE;
    if (button) {
        const LONG type = style & BS_TYPEMASK;
        if (type == BS_OWNERDRAW || type == BS_GROUPBOX) return TRUE;
        const bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                         type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
        room = box ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 8;
    } else {
        const LONG type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE)
            return TRUE;
        if (type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE) format = DT_CALCRECT | DT_WORDBREAK;
        if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    }
    const int n = GetWindowTextLengthW(c);
    if (n == 0) return TRUE;
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(c, &text[0], n + 1)));

    RECT client{};
    GetClientRect(c, &client);
    HDC dc = GetDC(c);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
    RECT need{0, 0, client.right - room, 0};
    DrawTextW(dc, text.c_str(), -1, &need, format);
    SelectObject(dc, old);
    ReleaseDC(c, dc);
    if (need.right + room > client.right || need.bottom > client.bottom)
        check.found.push_back(text + L": needs " + std::to_wstring(need.right + room) + L"x" +
                              std::to_wstring(need.bottom) + L", has " + std::to_wstring(client.right) + L"x" +
                              std::to_wstring(client.bottom));

    HWND parent = GetParent(c);
    RECT area{}, place{};
    GetClientRect(parent, &area);
    GetWindowRect(c, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    if (place.left < 0 || place.top < 0 || place.right > area.right || place.bottom > area.bottom)
        check.found.push_back(text + L": outside its parent");
    return TRUE;
}
}  // namespace

std::vector<std::wstring> ClippedCaptions(HWND top) {
    ClipCheck check;
    EnumChildWindows(top, CheckCaption, reinterpret_cast<LPARAM>(&check));
    return check.found;
}

std::vector<std::wstring> KeysInFileOrder(const std::wstring& path) {
    std::vector<std::wstring> keys;
    std::string line;
    for (char c : ReadAll(path) + "\n") {
        if (c != '\n') {
            line += c;
            continue;
        }
        const auto eq = line.find('=');
        if (eq != std::string::npos) keys.push_back(tv::FromAnsi(line.substr(0, eq)));
        line.clear();
    }
    return keys;
}

}  // namespace tvtest
