// Starts as the program does, for the hand-off race test. The start that registers in the
// instance block opens a window of the program's class and notes every item handed to it; the
// others hand their one item over and end with the window's answer.
// Parameters: the file the receiver writes its items to when closed, then one item.
#include <windows.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/handoff.h"
#include "app/instance.h"
#include "base/constants.h"
#include "base/file_util.h"
#include "base/text_file.h"

namespace {

constexpr int kReceiverExit = 100;
std::vector<std::wstring> g_items;
std::wstring g_log;

LRESULT CALLBACK ReceiverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COPYDATA: {
            std::vector<tv::IntakeStep> steps;
            std::vector<std::wstring> refused;
            tv::TakeHandOff(steps, refused);
            // Work after the answer, as the program's intake does: the next sender must not
            // overwrite the file meanwhile, and must not be lost either.
            Sleep(20);
            for (const auto& step : steps) g_items.push_back(step.path);
            return 1;
        }
        case WM_CLOSE:
            tv::WriteTextLines(g_log, g_items);
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(kReceiverExit);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    std::vector<std::wstring> args = tv::SplitCommandLine(GetCommandLineW());
    if (args.size() < 3) return 2;
    g_log = args[1];
    tv::InstanceBlock block(tv::InstanceBlockName(tv::ModulePath()));
    switch (block.Check(nullptr, tv::kInstanceLimit)) {
        case tv::InstanceBlock::Result::CreateFailed: return 3;
        case tv::InstanceBlock::Result::AnotherRuns: return static_cast<int>(tv::HandOff(nullptr, {args[2]}));
        default: break;
    }
    g_items.push_back(args[2]);
    WNDCLASSW wc{};
    wc.lpfnWndProc = ReceiverProc;
    wc.hInstance = instance;
    wc.lpszClassName = tv::kMainWindowClass;
    RegisterClassW(&wc);
    HWND window = CreateWindowW(tv::kMainWindowClass, L"receiver", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr, instance, nullptr);
    if (!window) return 4;
    block.SetWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return static_cast<int>(msg.wParam);
}
