#include "capture/running_programs.h"

#include <algorithm>
#include <unordered_map>

#include "base/handles.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "base/process_services.h"
#include "capture/program_arguments.h"
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

constexpr size_t kLeftOut = static_cast<size_t>(-1);

// Steps 3 to 9 of the scan for one window: the index of the pair the window belongs to, a new
// one or the earlier pair of the same program; kLeftOut when the window is left out.
size_t TakeWindow(const WindowEntry& entry, std::wstring path, const std::wstring& ownKey,
                  const StartupFilter& isStartupProgram, std::vector<ProgramPair>& list) {
    std::wstring title = Trim(entry.title);
    if (title.empty() || Trim(path).empty()) return kLeftOut;
    std::wstring key = PathKey(path);
    if (ToLower(FileNameOf(key)) != L"explorer.exe") {
        for (size_t i = 0; i < list.size(); ++i)
            if (PathKey(list[i].path) == key) return i;
    }
    if (isStartupProgram(path, title)) return kLeftOut;
    std::wstring t = ToLower(title);
    if (t != L"my computer" && t != L"computer" && t != L"control panel" && t != L"desktop") {
        std::wstring upper = ToUpper(Trim(path));
        if (IsShellHost(FileNameOf(upper))) {
            std::wstring shellPath = upper;
            int result = ShellWindowTable(title, shellPath, ShellTableMode::Capture);
            if (result == 0) return kLeftOut;
            if (result == 2) path = shellPath;
        }
    }
    if (PathKey(path) == ownKey) return kLeftOut;
    path = ReplaceAll(path, L"%20", L" ");
    title = ReplaceAll(title, L"%20", L" ");
    list.push_back({path, ProgramTitle(title)});
    return list.size() - 1;
}

// What the scan reads of one process, once however many windows it has.
struct ProcessFacts {
    std::wstring path;
    std::wstring commandLine;
    bool commandLineRead = false;
};

// The window's title and place, and, for a program other than the shell's hosts, its
// process's command line, go with the pair of its program.
void NoteWindow(DesktopWindows& desktop, const WindowEntry& entry, DWORD pid, ProcessFacts& process,
                ProgramPair& pair) {
    pair.windows.push_back({Trim(entry.title), desktop.PlaceOf(entry.window)});
    if (IsShellHost(FileNameOf(ToUpper(Trim(process.path))))) return;
    if (!process.commandLineRead) {
        process.commandLine = desktop.CommandLineOf(pid);
        process.commandLineRead = true;
    }
    const std::wstring& line = process.commandLine;
    if (!line.empty() && std::find(pair.commandLines.begin(), pair.commandLines.end(), line) == pair.commandLines.end())
        pair.commandLines.push_back(line);
}
}  // namespace

bool NoStartupFilter(const std::wstring&, const std::wstring&) { return false; }

std::vector<WindowEntry> RealDesktopWindows::TopLevelWindows() {
    monitors_.clear();  // each scan asks about the monitors of its own moment
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

WindowPlace RealDesktopWindows::PlaceOf(HWND window) { return PlaceOfWindow(window, monitors_); }

std::wstring RealDesktopWindows::CommandLineOf(DWORD pid) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    return process.valid() ? CommandLineOfProcess(process.get()) : std::wstring();
}

std::vector<ProgramPair> ScanRunningPrograms(DesktopWindows& desktop, const std::wstring& ownPath,
                                             const StartupFilter& isStartupProgram) {
    std::vector<ProgramPair> list;
    const std::wstring ownKey = PathKey(ownPath);
    // A process has one path and one command line for the whole scan.
    std::unordered_map<DWORD, ProcessFacts> processes;
    for (const auto& entry : desktop.TopLevelWindows()) {
        try {
            DWORD pid = desktop.ProcessIdOf(entry.window);
            auto known = processes.find(pid);
            if (known == processes.end()) known = processes.emplace(pid, ProcessFacts{desktop.ProgramPathOf(pid), {}, false}).first;
            size_t pair = TakeWindow(entry, known->second.path, ownKey, isStartupProgram, list);
            if (pair != kLeftOut) NoteWindow(desktop, entry, pid, known->second, list[pair]);
        } catch (...) {
            // A failure inside one window skips only that window.
        }
    }
    return list;
}

}  // namespace tv
