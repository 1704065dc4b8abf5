// Opens the main window with its menu bar and status bar, then the settings dialog and the
// add-item dialog on each of their pages, at whatever scaling this process was started with; lists every clipped caption,
// saves screenshots named after the scaling, and answers the number of clipped captions.
// Started with "wide", it first gives itself a wider message font than the system's, as a user
// who chose a larger or wider font has.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>

#include "app/folders.h"
#include "app/settings_store.h"
#include "ui/message_pump.h"
#include "ui/window_text.h"
#include "base/strings.h"
#include "support/test_support.h"
#include "ui/main/menus/main_menus.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/main/commands/recording_commands.h"
#include "app/settings_keys.h"
#include "app/shell_links.h"
#include "ui/dialogs/send_to_dialog.h"

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

namespace {
void UseWideMessageFont() {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) return;
    LOGFONTW& f = ncm.lfMessageFont;
    f.lfWidth = 0;
    lstrcpynW(f.lfFaceName, L"Courier New", LF_FACESIZE);  // wide letters at the same height
    BOOL set = SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);  // this process only
    if (!set) std::printf("the wider message font could not be set\n");
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const bool wide = argc > 1 && lstrcmpiW(argv[1], L"wide") == 0;
    if (wide) UseWideMessageFont();
    {
        HFONT font = tv::MessageFont();
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        DeleteObject(font);
        std::printf("message font: %ld high, %ld wide on average\n", tm.tmHeight, tm.tmAveCharWidth);
    }
    const int dpi = tvtest::StartWindowProbe();
    const std::wstring scale = std::to_wstring(MulDiv(dpi, 100, 96)) + (wide ? L"_wide" : L"");

    tvtest::ScopedDataFolders folders;
    tv::Settings settings = tv::OpenSettingsFiles();
    settings.user->WriteBool(tv::keys::kDefault, tv::keys::kMenuBar, true);
    settings.user->WriteBool(tv::keys::kDefault, tv::keys::kStatusBar, true);
    tv::TTolvaneWindow window(settings, nullptr);
    window.parts().recording.askRecord = [](auto&&...) { return false; };  // no first recording
    if (!window.Create(GetModuleHandleW(nullptr))) return -1;
    window.Show(SW_SHOWNORMAL);
    for (int i = 0; i < 20; ++i, Sleep(20)) tv::ProcessMessages();
    Report(L"main window", window.hwnd());
    Shot(L"main_window_" + scale);

    bool seen = false;
    tvtest::RunSoon([&] {
        tv::TFrmMySettings* dlg = window.parts().settingsDialog.get();
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
    tvtest::RunCommand(window.hwnd(), tv::kCmdSettings);

    // The add-item dialog's pages, filled from shortcuts to Wine's own programs and files.
    tvtest::TempFolder programs, recent;
    const std::wstring windows = L"C:\\windows\\";
    for (const wchar_t* name : {L"notepad", L"regedit", L"winhlp32"})
        tv::CreateShortcut(programs.file(std::wstring(name) + L".lnk"), windows + name + L".exe", windows);
    tv::CreateShortcut(recent.file(L"win.lnk"), windows + L"win.ini", windows);
    tv::CreateShortcut(recent.file(L"system.lnk"), windows + L"system.ini", windows);
    tv::CreateShortcut(recent.file(L"fonts.lnk"), windows + L"Fonts", windows);
    tv::AddItemSources& sources = window.parts().addSources;
    sources.programFolders = [&] { return std::vector<std::wstring>{programs.path()}; };
    sources.recentFolder = [&] { return recent.path(); };
    sources.runningPrograms = [&] {
        return std::vector<tv::ProgramPair>{{windows + L"notepad.exe", L"Untitled - Notepad"},
                                            {windows + L"regedit.exe", L"Registry Editor"}};
    };
    sources.openLocations = [&] {
        return std::vector<tv::LocationPair>{{windows, L"windows"}, {L"https://example.org/", L"Example Domain"}};
    };
    bool added = false;
    std::function<void()> shots = [&] {
        tv::TFrmActionAdd* dlg = window.parts().addDialog.get();
        if (!dlg) return;
        if (dlg->loading() || dlg->loadsDone() == 0) {
            tvtest::RunSoon(shots, 100);  // once the first page has loaded, outside its load
            return;
        }
        added = true;
        for (int page = 0; page < tv::TFrmActionAdd::kPageCount; ++page) {
            dlg->SelectPage(page);
            dlg->PageControl1Change();
            RedrawWindow(dlg->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            Report((L"add-item page " + std::to_wstring(page + 1)).c_str(), dlg->hwnd());
            Shot(L"add_item_" + scale + L"_page" + std::to_wstring(page + 1));
        }
        dlg->SelectPage(0);
        dlg->PageControl1Change();
        PostMessageW(dlg->EdtAction, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    tvtest::RunSoon(shots, 300);
    tvtest::RunCommand(window.hwnd(), tv::kCmdAdd);
    // The send-to dialog, shown over the window as the record's "Send To" shows it.
    tv::TFormSendTo sendTo(L"C:\\users\\Public\\Desktop", tv::PickFolder, [](const std::wstring&) {});
    tvtest::RunSoon([&] {
        Report(L"send-to dialog", sendTo.hwnd());
        sendTo.BtnConfirmClick();
    }, 100);
    if (!sendTo.Execute(window.hwnd(), L"Dec 10,2026_001", true)) ++g_clipped;  // it did not show
    std::printf("%d dots per inch: %d clipped captions\n", dpi, g_clipped);
    DestroyWindow(window.hwnd());
    OleUninitialize();
    return seen && added ? g_clipped : -2;
}
