// Opens the main window over two records at whatever scaling this process was started with and
// saves screenshots named after the scaling: after a search with results, after one with none,
// after a recording, and with a menu open over the trees. Under each menu or dialog it also
// counts the drawn (dark) pixels of the tree beside it, and answers how many of them left the
// tree blank. Built with the program's manifest, so it draws with the same controls.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/folders.h"
#include "app/settings_store.h"
#include "base/strings.h"
#include "records/record_file.h"
#include "app/settings_keys.h"
#include "ui/main/frame/main_window_parts.h"
#include "support/played_desktop.h"
#include "support/record_entries.h"
#include "support/test_support.h"
#include "ui/main/commands/recording_commands.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/menus/main_menus.h"
#include "ui/message_pump.h"

namespace {

void Pump() {
    for (int i = 0; i < 10; ++i, Sleep(20)) tv::ProcessMessages();
}

void Shot(const std::wstring& name) { tvtest::SaveScreenshot(tvtest::ScreenshotFolder() + L"\\" + name + L".png"); }

// The screen's pixels in `r`, as 32-bit values row by row.
std::vector<DWORD> ScreenPixels(const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<DWORD> pixels(static_cast<size_t>(w) * h);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    GetDIBits(memory, bitmap, 0, h, pixels.data(), &bi, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Text: pixels of `pixels` (taken over `area`) that are dark, outside `covered`.
int DarkPixels(const std::vector<DWORD>& pixels, const RECT& area, const RECT& covered) {
    int dark = 0;
    const int w = area.right - area.left;
    for (size_t i = 0; i < pixels.size(); ++i) {
        POINT at{area.left + static_cast<int>(i % w), area.top + static_cast<int>(i / w)};
        if (PtInRect(&covered, at)) continue;
        // Near black in every channel: the selection's blue, which comes and goes with the
        // focus, is not counted.
        const DWORD p = pixels[i];
        if (((p >> 16) & 0xFF) < 100 && ((p >> 8) & 0xFF) < 100 && (p & 0xFF) < 100) ++dark;
    }
    return dark;
}

int g_blank = 0, g_checked = 0;

// While `open` runs its modal loop, the window `overlayClass` it shows is found, the tree is
// compared with the tree before, a screenshot is saved and `close` ends the loop.
void CheckTreeUnder(HWND tree, const wchar_t* what, const wchar_t* overlayClass, const std::wstring& shot,
                    const std::function<void()>& open, const std::function<void(HWND)>& close) {
    // What the last overlay covered is painted again first.
    RedrawWindow(GetAncestor(tree, GA_ROOT), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    ++g_checked;
    RECT area;
    GetWindowRect(tree, &area);
    const std::vector<DWORD> before = ScreenPixels(area);
    tvtest::RunSoon(
        [&] {
            HWND overlay = FindWindowW(overlayClass, nullptr);
            RECT covered{};
            if (overlay) GetWindowRect(overlay, &covered);
            const std::vector<DWORD> during = ScreenPixels(area);
            const int was = DarkPixels(before, area, covered), is = DarkPixels(during, area, covered);
            std::printf("%s: %s, %d drawn pixels of the tree beside it before, %d while open\n", tv::ToUtf8(what).c_str(),
                        overlay ? "open" : "not found", was, is);
            // Too few pixels beside the overlay to tell a blank tree from a drawn one counts as blank.
            if (!overlay || was < 20 || is * 4 < was * 3) ++g_blank;
            Shot(shot);
            close(overlay);
        },
        300);
    open();
}

}  // namespace

int wmain(int, wchar_t**) {
    const int dpi = tvtest::StartWindowProbe();
    const std::wstring scale = std::to_wstring(MulDiv(dpi, 100, 96));

    tvtest::ScopedDataFolders folders;
    tvtest::TempFolder records;
    {
        tv::ShownRecord r;
        tv::RecordNode* pad = tvtest::AddEntry(r, nullptr, L"Notepad", L"C:\\windows\\notepad.exe", tv::kProgramOrDocument, 12);
        tvtest::AddEntry(r, pad, L"readme.txt", L"C:\\docs\\readme.txt", tv::kProgramOrDocument, 13);
        tvtest::AddEntry(r, nullptr, L"Project plan.txt", L"C:\\docs\\Project plan.txt", tv::kProgramOrDocument, 13);
        tvtest::AddEntry(r, nullptr, L"Welcome page", L"https://example.org/welcome", tv::kWebPage, 1);
        tvtest::AddEntry(r, nullptr, L"Windows", L"C:\\windows\\", tv::kFolderOrLocation, 0);
        tvtest::AddEntry(r, nullptr, L"win.ini", L"C:\\windows\\win.ini", tv::kProgramOrDocument, 13);  // its "Recent"
        tv::WriteRecordFile(r, records.file(L"Dec 08,2026_001.tolvane"), L"C:\\tolvane.exe");
        tv::ShownRecord s;
        tvtest::AddEntry(s, nullptr, L"README.md", L"C:\\src\\README.md", tv::kProgramOrDocument, 13);
        tvtest::AddEntry(s, nullptr, L"Windows", L"C:\\windows\\", tv::kFolderOrLocation, 0);
        tv::WriteRecordFile(s, records.file(L"Dec 09,2026_001.tolvane"), L"C:\\tolvane.exe");
    }
    tv::Settings settings = tv::OpenSettingsFiles();
    settings.user->WriteString(tv::keys::kDefault, tv::keys::kRecordPath, records.path());
    settings.user->WriteBool(tv::keys::kDefault, tv::keys::kStatusBar, true);
    settings.user->WriteBool(tv::keys::kDefault, tv::keys::kAskWhenRecord, false);
    tv::TTolvaneWindow window(settings, nullptr);
    window.parts().recording.askRecord = [](auto&&...) { return false; };
    if (!window.Create(GetModuleHandleW(nullptr))) return -1;
    window.Show(SW_SHOWNORMAL);
    SetForegroundWindow(window.hwnd());
    Pump();

    // A search with results, then one with none.
    tvtest::RunCommand(window.hwnd(), tv::kCmdSearch);
    HWND box = window.parts().search.box();
    HWND button = GetDlgItem(GetParent(box), tv::kIdSearchButton);
    for (const wchar_t* text : {L"readme", L"zzzq"}) {
        SetWindowTextW(box, text);
        SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(tv::kIdSearchButton, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        Pump();
        Shot(std::wstring(text[0] == L'r' ? L"main_search_found_" : L"main_search_none_") + scale);
    }
    tvtest::RunCommand(window.hwnd(), tv::kCmdSearch);  // the panel closes and the record shows again
    Pump();

    // The trees' menu on a document and on a folder, and the send-to dialog.
    HWND tree = window.parts().pages.views().TVDocs;
    auto endMenu = [](HWND) { EndMenu(); };
    for (const wchar_t* caption : {L"README.md", L"Project plan.txt", L"Windows"}) {
        HTREEITEM item = tv::SearchByCaption(tree, caption, false);
        if (!item) continue;
        TreeView_SelectItem(tree, item);
        RECT at{};
        TreeView_GetItemRect(tree, item, &at, TRUE);
        POINT p{at.left + 10, at.top + 5};
        ClientToScreen(tree, &p);
        const bool folder = caption[0] == L'W';
        CheckTreeUnder(tree, L"tree menu", L"#32768",
                       (folder ? L"main_tree_menu_folder_" : L"main_tree_menu_document_") + scale,
                       [&] { SendMessageW(window.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree), MAKELPARAM(p.x, p.y)); },
                       [&](HWND menu) {
                           if (!folder || !menu) {
                               EndMenu();
                               return;
                           }
                           // The folder's "Recent" submenu, first in the menu, opened by the keys.
                           tvtest::PressKey(VK_DOWN);
                           tvtest::PressKey(VK_RIGHT);
                           tvtest::RunSoon([&] {
                               Shot(L"main_tree_menu_recent_" + scale);
                               EndMenu();
                           }, 300);
                       });
    }
    CheckTreeUnder(tree, L"send-to dialog", L"TFormSendTo", L"main_send_to_" + scale,
                   [&] { tvtest::RunCommand(window.hwnd(), tv::kCmdSendTo); },
                   [](HWND dlg) {
                       if (dlg) PostMessageW(dlg, WM_CLOSE, 0, 0);
                   });

    // A recording of a played desktop.
    tvtest::Desktop desktop;
    for (const wchar_t* program : {L"notepad", L"regedit", L"explorer", L"hh", L"winhlp32", L"system32\\cmd",
                                   L"system32\\control", L"system32\\taskmgr", L"system32\\write",
                                   L"system32\\wordpad", L"system32\\msiexec", L"system32\\winver"})
        desktop.windows.push_back({L"C:\\windows\\" + std::wstring(program) + L".exe", program});
    window.parts().recording.sources = [&] { return std::make_unique<tvtest::PlayedDesktop>(desktop); };
    tvtest::RunCommand(window.hwnd(), tv::kCmdRecord);
    Pump();
    Shot(L"main_recorded_" + scale);

    // The record list's menu, the trees' menu and the rename dialog over the trees.
    RECT list;
    GetWindowRect(window.parts().LbRECs, &list);
    const LPARAM inList = MAKELPARAM(list.right - 10, list.top + 30);
    RECT treeRect;
    GetWindowRect(tree, &treeRect);
    const LPARAM inTree = MAKELPARAM(treeRect.left + 60, treeRect.top + 12);
    CheckTreeUnder(tree, L"record list menu", L"#32768", L"main_menu_" + scale,
                   [&] { SendMessageW(window.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.parts().LbRECs), inList); },
                   endMenu);
    CheckTreeUnder(tree, L"tree menu", L"#32768", L"main_tree_menu_" + scale,
                   [&] { SendMessageW(window.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree), inTree); }, endMenu);
    CheckTreeUnder(tree, L"rename dialog", L"TFrmReName", L"main_rename_" + scale,
                   [&] { tvtest::RunCommand(window.hwnd(), tv::kCmdRenameRecord); },
                   [](HWND dlg) {
                       if (dlg) PostMessageW(GetFocus() ? GetFocus() : dlg, WM_KEYDOWN, VK_ESCAPE, 0);
                   });
    DestroyWindow(window.hwnd());
    OleUninitialize();
    std::printf("%d dots per inch: the tree was blank under %d of %d\n", dpi, g_blank, g_checked);
    return g_blank;
}
