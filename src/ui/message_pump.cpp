#include "ui/message_pump.h"

#include <windows.h>

namespace tv {

namespace {
constexpr DWORD kResponsiveIntervalMs = 15;
DWORD lastPass = 0;
}  // namespace

void KeepResponsive() {
    DWORD now = GetTickCount();
    if (now - lastPass < kResponsiveIntervalMs) return;
    ProcessMessages();
}

void ProcessMessages() {
    lastPass = GetTickCount();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit for the main loop, which ends the program.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace tv
