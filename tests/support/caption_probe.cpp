// Opens the main window with its menu bar and status bar, then the settings dialog on each of
// its pages, at whatever scaling this process was started with; lists every clipped caption,
// saves screenshots named after the scaling, and answers the number of clipped captions.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "app/folders.h"
#include "app/settings_store.h"
#include "ui/message_pump.h"
#include "base/strings.h"
#include "support/test_support.h"
#include "ui/main/main_menus.h"
#include "ui/main/main_window.h"

namespace {
int g_clipped = 0;

void Report(const wchar_t* where, HWND window) {
    for (const std::wstring& caption : tvtest::ClippedCaptions(window)) {
        std::printf("clipped in %s: %s\n", tv::ToUtf8(where).c_str(), tv::ToUtf8(caption).c_str());
        ++g_clipped;
    }
}

void Shot(const std::wstring& name) {
    tvtest::SaveScreenshot(tvtest::ScreenshotFolder() + L"\\" + name + L".png");
}
}  // namespace

int wmain() {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const std::wstring scale = std::to_wstring(MulDiv(dpi, 100, 96));

    tvtest::ScopedDataFolders folders;
    tv::Settings settings = tv::OpenSettingsFiles();
    settings.user->WriteBool(L"default", L"MenuBar1", true);
    settings.user->WriteBool(L"default", L"StatusBar1", true);
    tv::TTolvaneWindow window(settings, nullptr);
    if (!window.Create(GetModuleHandleW(nullptr))) return -1;
    window.Show(SW_SHOWNORMAL);
    for (int i = 0; i < 20; ++i, Sleep(20)) tv::ProcessMessages();
    Report(L"main window", window.hwnd());
    Shot(L"main_window_" + scale);

    bool seen = false;
    tvtest::RunSoon([&] {
        tv::TFrmMySettings* dlg = window.settingsDialog();
        if (!dlg) return;
        seen = true;
        for (int page = 0; page < tv::TFrmMySettings::kPageCount; ++page) {
            dlg->SelectPage(page);
            RedrawWindow(dlg->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            Report((L"settings page " + std::to_wstring(page + 1)).c_str(), dlg->hwnd());
            Shot(L"settings_" + scale + L"_page" + std::to_wstring(page + 1));
        }
        PostMessageW(dlg->EdtRecordPath, WM_KEYDOWN, VK_ESCAPE, 0);
    }, 100);
    window.Command(tv::kCmdSettings);
    std::printf("%d dots per inch: %d clipped captions\n", dpi, g_clipped);
    DestroyWindow(window.hwnd());
    OleUninitialize();
    return seen ? g_clipped : -2;
}
