#include "ui/dialogs/dialog_parts.h"

#include <commctrl.h>

#include <algorithm>

#include "app/options.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "app/startup.h"
#include "base/handles.h"
#include "ui/modal_dialog.h"
#include "ui/window_text.h"

namespace tv {

namespace {
constexpr wchar_t kAdminPanelClass[] = L"TolvaneAdminPanel";

// The strip passes its controls' messages on to the dialog.
LRESULT CALLBACK AdminPanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
        return SendMessageW(GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

RECT PlaceInParent(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}
}  // namespace

bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Check(HWND box, bool on) { SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

int SliderPos(HWND slider) { return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0)); }

void SetUpSlider(HWND slider, int low, int high, int tickEvery) {
    SendMessageW(slider, TBM_SETRANGE, FALSE, MAKELPARAM(low, high));
    SendMessageW(slider, TBM_SETTICFREQ, tickEvery, 0);
}

HWND CreateControl(HWND parent, HFONT font, int dpi, const wchar_t* cls, const wchar_t* text, DWORD style, int x,
                   int y, int w, int h, int id, DWORD exStyle) {
    HWND c = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, ScaleToDpi(x, dpi),
                             ScaleToDpi(y, dpi), ScaleToDpi(w, dpi), ScaleToDpi(h, dpi), parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return c;
}

int CaptionNeeds(HWND control, HFONT font, int dpi, int& height) {
    wchar_t cls[16] = {};
    GetClassNameW(control, cls, 16);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    int room = 0;  // what the control takes besides its text
    if (lstrcmpiW(cls, WC_BUTTONW) == 0) {
        const LONG type = style & BS_TYPEMASK;
        if (type != BS_AUTOCHECKBOX && type != BS_CHECKBOX && type != BS_AUTORADIOBUTTON && type != BS_RADIOBUTTON)
            return 0;
        room = GetSystemMetrics(SM_CXMENUCHECK) + ScaleToDpi(6, dpi);
    } else if (lstrcmpiW(cls, WC_STATICW) != 0 || (style & SS_TYPEMASK) != SS_LEFT) {
        return 0;
    }
    std::wstring text = TextOf(control);
    if (text.empty()) return 0;
    WindowDC dc(control);
    SelectedObject chosen(dc.get(), font);
    RECT need{};
    DrawTextW(dc.get(), text.c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
    height = need.bottom;
    return need.right + room;
}

int WrappedTextHeight(HWND control, HFONT font, int width) {
    const std::wstring text = TextOf(control);
    if (text.empty()) return 0;
    WindowDC dc(control);
    SelectedObject chosen(dc.get(), font);
    RECT need{0, 0, width, 0};
    const bool noPrefix = (GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX) != 0;
    DrawTextW(dc.get(), text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | (noPrefix ? DT_NOPREFIX : 0));
    return need.bottom;
}

bool TabsDrawnByProgram() {
    BOOL wow = FALSE;
    return !(IsWow64Process(GetCurrentProcess(), &wow) && wow);
}

void DrawTabCaption(const DRAWITEMSTRUCT& dis, const wchar_t* caption, bool active, HFONT regular, HFONT bold) {
    RECT r = dis.rcItem;
    FillRect(dis.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
    SelectedObject chosen(dis.hDC, active ? bold : regular);
    SetBkMode(dis.hDC, TRANSPARENT);
    SetTextColor(dis.hDC, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dis.hDC, caption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

AdminStrip CreateAdminStrip(HWND dialog, HFONT font, int dpi, const wchar_t* text, int boxId) {
    AdminStrip strip;
    if (!RegisterDialogClass(kAdminPanelClass, AdminPanelProc)) return strip;
    strip.panel = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_STATICEDGE, kAdminPanelClass, L"",
                                  WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 10, 10, dialog, nullptr, GetModuleHandleW(nullptr),
                                  nullptr);
    strip.hint = CreateControl(strip.panel, font, dpi, WC_STATICW, text, SS_LEFT | SS_NOPREFIX, 0, 0, 10, 10);
    strip.box = CreateControl(strip.panel, font, dpi, WC_BUTTONW, L"Run TolVane as admin",
                              BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0, 0, 140, 20, boxId);
    int height = 0;
    const int width = CaptionNeeds(strip.box, font, dpi, height);
    SetWindowPos(strip.box, nullptr, 0, 0, width, std::max(height, ScaleToDpi(20, dpi)), SWP_NOMOVE | SWP_NOZORDER);
    return strip;
}

void PlaceAdminStrip(const AdminStrip& strip, const RECT& place, int dpi) {
    if (!strip.panel) return;
    SetWindowPos(strip.panel, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER);
    RECT inner{};
    GetClientRect(strip.panel, &inner);
    const RECT box = PlaceInParent(strip.box);
    const int boxW = box.right - box.left, boxH = box.bottom - box.top;
    SetWindowPos(strip.box, nullptr, inner.right - ScaleToDpi(4, dpi) - boxW, (inner.bottom - boxH) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(strip.hint, nullptr, ScaleToDpi(4, dpi), ScaleToDpi(1, dpi), inner.right - boxW - ScaleToDpi(16, dpi),
                 inner.bottom - ScaleToDpi(2, dpi), SWP_NOZORDER);
}

int AdminStripHeight(const AdminStrip& strip, HFONT font, int width, int dpi) {
    if (!strip.panel) return 0;
    const RECT box = PlaceInParent(strip.box);
    // The panel's edge and the hint's margins, as PlaceAdminStrip leaves them.
    const int textWidth = width - (box.right - box.left) - ScaleToDpi(20, dpi);
    const int text = WrappedTextHeight(strip.hint, font, std::max(1, textWidth)) + ScaleToDpi(4, dpi);
    return std::max<int>(text, box.bottom - box.top + ScaleToDpi(4, dpi)) + 2 * GetSystemMetrics(SM_CYEDGE);
}

bool RestartElevated(Options& options, int marker) {
    const int before = options.commonSettings().ReadInteger(keys::kStatus, keys::kOpenWindow, kResumeNone);
    WriteResumeMarker(options, marker);
    if (options.host().RunAsAdministrator()) return true;
    WriteResumeMarker(options, before);
    return false;
}

void WriteResumeMarker(Options& options, int marker) {
    try {
        options.commonSettings().WriteInteger(keys::kStatus, keys::kOpenWindow, marker);
    } catch (const SettingsWriteError&) {
        // Without the marker an elevated restart simply does not reopen the dialog.
    }
}

}  // namespace tv
