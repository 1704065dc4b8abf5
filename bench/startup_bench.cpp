// Time from process start to the main window's first paint, against the smallest window
// program of the repository's own, started the same way in the same run. A process counts as
// up when it waits for input for the first time, which follows its first paint.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_util.h"
#include "support/test_support.h"

namespace {

// Milliseconds until the program is up, or -1; the program is closed again afterwards.
double TimeToFirstPaint(const std::wstring& exe, const wchar_t* windowClass) {
    tvtest::Process process;
    double ms = -1;
    bool started = false;
    ms = bench::Millis([&] {
        started = process.Start(exe, L"") && WaitForInputIdle(process.handle(), 30000) == 0;
    });
    if (!started) return -1;
    HWND window = tvtest::WaitForWindow(windowClass, process.pid());
    if (!window || tvtest::CloseAndWait(window, process) != 0) return -1;
    return ms;
}

}  // namespace

int main() {
    const std::wstring bin = tvtest::ExeFolder();
    const int kRounds = 15;
    std::vector<double> program, minimal;
    for (int i = 0; i < kRounds; ++i) {
        double m = TimeToFirstPaint(bin + L"\\minimal_window.exe", L"MinimalWindow");
        double p = TimeToFirstPaint(bin + L"\\tolvane.exe", L"TTolvaneWindow");
        if (m < 0 || p < 0) {
            std::printf("a program did not come up\n");
            return 1;
        }
        minimal.push_back(m);
        program.push_back(p);
    }
    double p = bench::Median(program), m = bench::Median(minimal);
    std::printf("start to first paint: program %.1f ms, minimal window %.1f ms, ratio %.2f (target at most 1.3)\n", p,
                m, p / m);
    return 0;
}
