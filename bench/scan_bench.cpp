// The running-program scan against the platform calls it cannot avoid: EnumWindows, then
// opening each window's process and reading its path. Both run over the same 50 windows of
// other processes in the same run; the figure is the ratio of their median times.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_util.h"
#include "base/file_util.h"
#include "capture/running_programs.h"
#include "support/test_support.h"

namespace {

BOOL CALLBACK BaselineWindow(HWND window, LPARAM lp) {
    if (!IsWindowVisible(window) || GetWindowLongPtrW(window, GWLP_HWNDPARENT) != 0) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    reinterpret_cast<std::set<DWORD>*>(lp)->insert(pid);
    return TRUE;
}

// EnumWindows, then each window's process opened once and its path read.
int Baseline() {
    std::set<DWORD> pids;
    EnumWindows(BaselineWindow, reinterpret_cast<LPARAM>(&pids));
    int paths = 0;
    for (DWORD pid : pids) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        if (!process) continue;
        wchar_t path[256];
        if (GetModuleFileNameExW(process, nullptr, path, 255)) ++paths;
        CloseHandle(process);
    }
    return paths;
}

}  // namespace

int main() {
    const int kProcesses = 5, kWindowsEach = 10, kRounds = 41;
    std::vector<tvtest::Process> helpers(kProcesses);
    for (int p = 0; p < kProcesses; ++p) {
        std::wstring titles;
        for (int w = 0; w < kWindowsEach; ++w)
            titles += L" \"Document " + std::to_wstring(p * kWindowsEach + w) + L" - Bench Tool\"";
        if (!helpers[p].Start(tvtest::ExeFolder() + L"\\test_windows.exe", titles)) {
            std::printf("could not start the window helper\n");
            return 1;
        }
    }
    size_t windows = 0;
    for (int i = 0; i < 400 && windows < kProcesses * kWindowsEach; ++i, Sleep(50))
        windows = tvtest::FindWindows(L"TolvaneTestWindow").size();
    if (windows < kProcesses * kWindowsEach) {
        std::printf("only %u helper windows came up\n", static_cast<unsigned>(windows));
        return 1;
    }

    tv::RealDesktopWindows desktop;
    std::wstring self = tv::ModulePath();
    std::vector<double> scan, baseline;
    size_t pairs = 0;
    int paths = 0;
    for (int round = 0; round < kRounds; ++round) {
        baseline.push_back(bench::Millis([&] { paths = Baseline(); }));
        scan.push_back(bench::Millis([&] { pairs = tv::ScanRunningPrograms(desktop, self).size(); }));
    }
    double s = bench::Median(scan), b = bench::Median(baseline);
    std::printf("windows of other processes: %u, paths read by the baseline: %d, pairs found: %u\n",
                static_cast<unsigned>(windows), paths, static_cast<unsigned>(pairs));
    std::printf("scan median %.3f ms, baseline median %.3f ms, ratio %.2f (target at most 1.3)\n", s, b, s / b);
    return 0;
}
