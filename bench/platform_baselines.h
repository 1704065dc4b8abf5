#pragma once
// The bare platform calls the benchmarks measure the program against, and the helper windows
// of other processes that the scans find.
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

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

// EnumWindows, then each window's process opened once and its path read; answers the paths read.
inline int ProcessPathsOfWindows() {
    std::set<DWORD> pids;
    EnumWindows(CollectTopLevelProcess, reinterpret_cast<LPARAM>(&pids));
    int paths = 0;
    for (DWORD pid : pids) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        if (!process) continue;
        wchar_t path[MAX_PATH];
        if (GetModuleFileNameExW(process, nullptr, path, MAX_PATH)) ++paths;
        CloseHandle(process);
    }
    return paths;
}

// The folder listed, then each shortcut loaded through IShellLinkW/IPersistFile and its path
// read; answers the paths read.
inline int ShortcutPathsIn(const std::wstring& folder) {
    int paths = 0;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        tv::ComPtr<IShellLinkW> link;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    link.put_void())))
            continue;
        tv::ComPtr<IPersistFile> file;
        if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) continue;
        if (FAILED(file->Load((folder + L"\\" + fd.cFileName).c_str(), STGM_READ))) continue;
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_UNCPRIORITY)) && path[0]) ++paths;
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return paths;
}

// The same paths read through one link object loaded again for every shortcut: making the
// object costs more than loading the file, so this is the least the platform asks.
inline int ShortcutPathsThroughOneLink(const std::wstring& folder) {
    tv::ComPtr<IShellLinkW> link;
    tv::ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())))
        return 0;
    int paths = 0;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (FAILED(file->Load((folder + L"\\" + fd.cFileName).c_str(), STGM_READ))) continue;
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_UNCPRIORITY)) && path[0]) ++paths;
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return paths;
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
