#include "ui/message_pump.h"

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

bool NextMessage(MSG& msg, bool wait) {
    const bool got = wait ? GetMessageW(&msg, nullptr, 0, 0) != -1 : PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != 0;
    if (!got) return false;
    if (msg.message != WM_QUIT) return true;
    PostQuitMessage(static_cast<int>(msg.wParam));
    return false;
}

void ProcessMessages() {
    lastPass = GetTickCount();
    MSG msg;
    while (NextMessage(msg, false)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace tv
