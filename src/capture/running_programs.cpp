#include "capture/running_programs.h"

#include <unordered_map>

#include "base/handles.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "base/process_services.h"
#include "capture/shell_windows.h"

namespace tv {

namespace {
constexpr int kTitleLength = 128;

BOOL CALLBACK CollectWindow(HWND window, LPARAM lp) {
    auto* list = reinterpret_cast<std::vector<WindowEntry>*>(lp);
    if (!IsWindowVisible(window) || GetWindowLongPtrW(window, GWLP_HWNDPARENT) != 0) return TRUE;
    // The caption as the system keeps it: no message goes to the window, so a hung program
    // cannot stall the scan.
    wchar_t title[kTitleLength + 1] = {};
    GetWindowTextW(window, title, kTitleLength + 1);
    list->push_back({title, window});
    return TRUE;
}

std::wstring PathKey(const std::wstring& path) { return ToLower(Trim(path)); }

bool IsShellHost(const std::wstring& upperFileName) {
    return upperFileName == L"RUNDLL32.EXE" || upperFileName == L"DLLHOST.EXE" ||
           upperFileName == L"EXPLORER.EXE";
}

// Steps 3 to 9 of the scan for one window; false when the window is left out.
bool TakeWindow(const WindowEntry& entry, std::wstring path, const std::wstring& ownKey,
                const StartupFilter& isStartupProgram, std::vector<ProgramPair>& list) {
    std::wstring title = Trim(entry.title);
    if (title.empty() || Trim(path).empty()) return false;
    std::wstring key = PathKey(path);
    if (ToLower(FileNameOf(key)) != L"explorer.exe") {
        for (const auto& pair : list)
            if (PathKey(pair.path) == key) return false;
    }
    if (isStartupProgram(path, title)) return false;
    std::wstring t = ToLower(title);
    if (t != L"my computer" && t != L"computer" && t != L"control panel" && t != L"desktop") {
        std::wstring upper = ToUpper(Trim(path));
        if (IsShellHost(FileNameOf(upper))) {
            std::wstring shellPath = upper;
            int result = ShellWindowTable(title, shellPath, ShellTableMode::Capture);
            if (result == 0) return false;
            if (result == 2) path = shellPath;
        }
    }
    if (PathKey(path) == ownKey) return false;
    path = ReplaceAll(path, L"%20", L" ");
    title = ReplaceAll(title, L"%20", L" ");
    list.push_back({path, ProgramTitle(title)});
    return true;
}
}  // namespace

bool NoStartupFilter(const std::wstring&, const std::wstring&) { return false; }

std::vector<WindowEntry> RealDesktopWindows::TopLevelWindows() {
    std::vector<WindowEntry> list;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&list));
    return list;
}

DWORD RealDesktopWindows::ProcessIdOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::wstring RealDesktopWindows::ProgramPathOf(DWORD pid) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process.valid()) return {};
    return ProcessServices::Instance().ProgramPathOfProcess(process.get());
}

std::vector<ProgramPair> ScanRunningPrograms(DesktopWindows& desktop, const std::wstring& ownPath,
                                             const StartupFilter& isStartupProgram) {
    std::vector<ProgramPair> list;
    const std::wstring ownKey = PathKey(ownPath);
    // A process has one path for the whole scan: read it once, however many windows it has.
    std::unordered_map<DWORD, std::wstring> pathOfProcess;
    for (const auto& entry : desktop.TopLevelWindows()) {
        try {
            DWORD pid = desktop.ProcessIdOf(entry.window);
            auto known = pathOfProcess.find(pid);
            if (known == pathOfProcess.end())
                known = pathOfProcess.emplace(pid, desktop.ProgramPathOf(pid)).first;
            TakeWindow(entry, known->second, ownKey, isStartupProgram, list);
        } catch (...) {
            // A failure inside one window skips only that window.
        }
    }
    return list;
}

}  // namespace tv
