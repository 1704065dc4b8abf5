// Time from process start to the main window's first paint, against the smallest window
// program of the repository's own, started the same way in the same run. A window counts as
// painted when the screen at the middle of its client area is no longer the empty desktop.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_util.h"
#include "support/test_support.h"

namespace {

// The program's visible window of `windowClass` once the middle of its client area shows
// something other than the empty (black) desktop; null after 30 seconds.
HWND WaitForFirstPaint(const tvtest::Process& process, const wchar_t* windowClass) {
    HDC screen = GetDC(nullptr);
    HWND painted = nullptr;
    for (DWORD start = GetTickCount(); !painted && GetTickCount() - start < 30000;) {
        for (HWND w : tvtest::FindWindows(windowClass)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid != process.pid() || !IsWindowVisible(w)) continue;
            RECT rc;
            GetClientRect(w, &rc);
            POINT middle{rc.right / 2, rc.bottom / 2};
            ClientToScreen(w, &middle);
            if (GetPixel(screen, middle.x, middle.y) != RGB(0, 0, 0)) painted = w;
        }
        if (!painted) Sleep(1);
    }
    ReleaseDC(nullptr, screen);
    return painted;
}

// Milliseconds from the start of the program to its first paint, or -1; the program is closed
// again afterwards.
double TimeToFirstPaint(const std::wstring& exe, const wchar_t* windowClass) {
    tvtest::Process process;
    HWND window = nullptr;
    double ms = bench::Millis([&] {
        if (process.Start(exe, L"")) window = WaitForFirstPaint(process, windowClass);
    });
    if (!window) return -1;
    Sleep(200);  // let it finish starting before it is closed
    // Without a record the program asks before its first recording: declined, after the paint.
    if (HWND question = tvtest::WaitForWindow(L"TFrmRecordType", process.pid(), 2000)) {
        PostMessageW(question, WM_CLOSE, 0, 0);
        Sleep(100);
    }
    if (tvtest::CloseAndWait(window, process) != 0) return -1;
    Sleep(100);  // the desktop shows again where the window was
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
    bench::Report("start to first paint", program, minimal, 1.3);
    return 0;
}
