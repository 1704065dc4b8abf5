#pragma once
// The bare platform calls the benchmarks measure the program against, and the helper windows
// of other processes that the scans find.
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>
#include <winternl.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "base/handles.h"
#include "support/test_support.h"

namespace bench {

inline BOOL CALLBACK CollectTopLevelProcess(HWND window, LPARAM lp) {
    if (!IsWindowVisible(window) || GetWindowLongPtrW(window, GWLP_HWNDPARENT) != 0) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    reinterpret_cast<std::set<DWORD>*>(lp)->insert(pid);
    return TRUE;
}

using NtQueryInformationProcessFn = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);

inline NtQueryInformationProcessFn NtQueryInformationProcessCall() {
    return reinterpret_cast<NtQueryInformationProcessFn>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess"));
}

template <class T>
bool ReadFrom(HANDLE process, const void* at, T& out) {
    SIZE_T read = 0;
    return ReadProcessMemory(process, at, &out, sizeof out, &read) && read == sizeof out;
}

// A process's command line from its parameter block, found through its environment block. Wine 8
// does not answer the command-line information class (STATUS_INVALID_INFO_CLASS).
inline bool ReadCommandLine(NtQueryInformationProcessFn query, HANDLE process, std::wstring& line) {
    PROCESS_BASIC_INFORMATION basic{};
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
        !ReadFrom(process, basic.PebBaseAddress, peb) || !ReadFrom(process, peb.ProcessParameters, parameters))
        return false;
    line.assign(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    SIZE_T read = 0;
    return ReadProcessMemory(process, parameters.CommandLine.Buffer, &line[0], parameters.CommandLine.Length, &read);
}

inline BOOL CALLBACK PlaceTopLevelWindow(HWND window, LPARAM lp) {
    if (!IsWindowVisible(window) || GetWindowLongPtrW(window, GWLP_HWNDPARENT) != 0) return TRUE;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (GetWindowPlacement(window, &wp))
        reinterpret_cast<std::set<HMONITOR>*>(lp)->insert(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
    return TRUE;
}

// What a scan of running programs reads, by bare calls: EnumWindows, each window's place and
// the monitors they lie on, then each window's process opened once and its path and command line read; answers
// the paths read.
inline int ProcessPathsOfWindows() {
    std::set<DWORD> pids;
    EnumWindows(CollectTopLevelProcess, reinterpret_cast<LPARAM>(&pids));
    std::set<HMONITOR> monitors;  // each monitor the windows lie on, asked about once
    EnumWindows(PlaceTopLevelWindow, reinterpret_cast<LPARAM>(&monitors));
    for (HMONITOR monitor : monitors) {
        MONITORINFOEXW info{};
        info.cbSize = sizeof(info);
        GetMonitorInfoW(monitor, &info);
    }
    static const NtQueryInformationProcessFn query = NtQueryInformationProcessCall();
    int paths = 0;
    for (DWORD pid : pids) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        if (!process) continue;
        wchar_t path[MAX_PATH];
        if (GetModuleFileNameExW(process, nullptr, path, MAX_PATH)) ++paths;
        std::wstring line;
        ReadCommandLine(query, process, line);
        CloseHandle(process);
    }
    return paths;
}

// The files of `folder` listed, and the number of them whose path `read` gets.
template <class Read>
int CountShortcutPaths(const std::wstring& folder, Read&& read) {
    int paths = 0;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && read(folder + L"\\" + fd.cFileName)) ++paths;
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return paths;
}

// One shortcut loaded into a link object and its path read; true when it has one.
inline bool LoadLinkPath(IShellLinkW* link, IPersistFile* file, const std::wstring& shortcut) {
    if (FAILED(file->Load(shortcut.c_str(), STGM_READ))) return false;
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_UNCPRIORITY)) && path[0];
}

inline bool MakeLink(tv::ComPtr<IShellLinkW>& link, tv::ComPtr<IPersistFile>& file) {
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      link.put_void())) &&
           SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.put_void()));
}

// The folder listed, then each shortcut's path read through one link object loaded again for
// every shortcut (making the object costs more than loading the file, so this is the least the
// platform asks); answers the paths read.
inline int ShortcutPathsThroughOneLink(const std::wstring& folder) {
    tv::ComPtr<IShellLinkW> link;
    tv::ComPtr<IPersistFile> file;
    if (!MakeLink(link, file)) return 0;
    return CountShortcutPaths(folder, [&](const std::wstring& shortcut) {
        return LoadLinkPath(link.get(), file.get(), shortcut);
    });
}

// Starts `processes` helper programs with `windowsEach` windows each ("Document <n> - Bench
// Tool") and waits for them all; false (with the reason printed) when they did not come up.
inline bool StartWindowHelpers(std::vector<tvtest::Process>& helpers, int processes, int windowsEach) {
    helpers.resize(processes);
    for (int p = 0; p < processes; ++p) {
        std::wstring titles;
        for (int w = 0; w < windowsEach; ++w)
            titles += L" \"Document " + std::to_wstring(p * windowsEach + w) + L" - Bench Tool\"";
        if (!helpers[p].Start(tvtest::ExeFolder() + L"\\test_windows.exe", titles)) {
            std::printf("could not start the window helper\n");
            return false;
        }
    }
    size_t windows = 0;
    for (int i = 0; i < 400 && windows < static_cast<size_t>(processes * windowsEach); ++i, Sleep(50))
        windows = tvtest::FindWindows(L"TolvaneTestWindow").size();
    if (windows < static_cast<size_t>(processes * windowsEach)) {
        std::printf("only %u helper windows came up\n", static_cast<unsigned>(windows));
        return false;
    }
    return true;
}

}  // namespace bench
