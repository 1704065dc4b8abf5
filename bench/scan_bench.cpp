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
#include "platform_baselines.h"
#include "base/file_util.h"
#include "capture/running_programs.h"
#include "support/test_support.h"

int main() {
    const int kProcesses = 5, kWindowsEach = 10, kRounds = 41;
    std::vector<tvtest::Process> helpers;
    if (!bench::StartWindowHelpers(helpers, kProcesses, kWindowsEach)) return 1;
    const size_t windows = tvtest::FindWindows(L"TolvaneTestWindow").size();

    tv::RealDesktopWindows desktop;
    std::wstring self = tv::ModulePath();
    std::vector<double> scan, baseline;
    size_t pairs = 0;
    int paths = 0;
    for (int round = 0; round < kRounds; ++round) {
        baseline.push_back(bench::Millis([&] { paths = bench::ProcessPathsOfWindows(); }));
        scan.push_back(bench::Millis([&] { pairs = tv::ScanRunningPrograms(desktop, self).size(); }));
    }
    std::printf("windows of other processes: %u, paths read by the baseline: %d, pairs found: %u\n",
                static_cast<unsigned>(windows), paths, static_cast<unsigned>(pairs));
    bench::Report("scan of running programs, 50 windows", scan, baseline, 1.3);
    return 0;
}
