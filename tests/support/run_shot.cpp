// Starts the program, saves a screenshot once its main window is up, then closes it normally.
// Usage: run_shot <program> <png file>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "support/test_support.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3) return 2;
    tvtest::Process program;
    if (!program.Start(argv[1], L"")) return 3;
    HWND window = tvtest::WaitForWindow(L"TTolvaneWindow", program.pid(), 60000);
    if (!window) return 4;
    Sleep(1500);  // let the first-run step finish and the window paint
    bool saved = tvtest::SaveScreenshot(argv[2]);
    long code = tvtest::CloseAndWait(window, program);
    LocalFree(argv);
    if (!saved) return 5;
    return code == 0 ? 0 : 6;
}
