#include "ui/main/frame/main_layout.h"

#include <commctrl.h>

#include <algorithm>

#include "base/handles.h"
#include "ui/main/menus/main_menus.h"
#include "ui/main/work/progress_strip.h"
#include "ui/main/views/record_pages.h"
#include "ui/main/views/search_panel.h"
#include "ui/main/views/startup_filter_view.h"
#include "ui/main/frame/status_bar.h"
#include "ui/window_text.h"

namespace tv {

namespace {
constexpr int kSplitterWidth = 6;
}

void CreateCommandStrip(HWND window, MainParts& parts) {
    struct Control {
        const wchar_t* cls;
        const wchar_t* text;
        DWORD style;
        UINT id;
    };
    const Control controls[] = {
        {WC_BUTTONW, L"    &Start Recording", BS_PUSHBUTTON, kCmdRecord},
        {WC_BUTTONW, L"       &Add...", BS_PUSHBUTTON, kCmdAdd},
        {WC_BUTTONW, L"...", BS_PUSHBUTTON, kCmdMoreButton},
        {WC_BUTTONW, L"Smart Record", BS_AUTOCHECKBOX, kCmdSmartRecord},
        {TRACKBAR_CLASSW, L"", TBS_NOTICKS, 0},  // the Smart Record interval
    };
    HWND made[5] = {};
    for (int i = 0; i < 5; ++i)
        made[i] = CreateWindowExW(0, controls[i].cls, controls[i].text,
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | controls[i].style, 0, 0, 0, 0, window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(controls[i].id)),
                                  GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; i < 4; ++i) parts.strip[i] = made[i];
    parts.slider = made[4];
    SendMessageW(parts.slider, TBM_SETRANGE, TRUE, MAKELPARAM(3, 60));
    SendMessageW(parts.slider, TBM_SETPOS, TRUE, 7);
}

void MeasureCommandStrip(MainParts& parts, HFONT font, int dpi) {
    // What each caption needs, mnemonic marks left out, plus the control's own frame.
    const int frame[] = {MulDiv(12, dpi, 96), MulDiv(12, dpi, 96), MulDiv(12, dpi, 96),
                         GetSystemMetrics(SM_CXMENUCHECK) + MulDiv(8, dpi, 96)};
    for (int i = 0; i < 4; ++i) {
        std::wstring text = TextOf(parts.strip[i]);
        WindowDC dc(parts.strip[i]);
        SelectedObject chosen(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
        RECT r{};
        DrawTextW(dc.get(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
        parts.stripNeeds[i] = r.right + frame[i];
    }
}

void LayOutMainWindow(HWND window, const MainParts& parts, int dpi) {
    auto scale = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    RECT rc;
    GetClientRect(window, &rc);
    const int pad = scale(6), strip = scale(34), buttonHeight = scale(26);
    int x = pad, y = pad + (strip - pad - buttonHeight) / 2;
    HDWP defer = BeginDeferWindowPos(16);
    auto place = [&defer](HWND w, int left, int top, int width, int height) {
        if (defer) defer = DeferWindowPos(defer, w, nullptr, left, top, std::max(0, width), std::max(0, height),
                                          SWP_NOZORDER | SWP_NOACTIVATE);
    };
    int widths[] = {scale(140), scale(96), scale(28), scale(100)};
    if (x + widths[0] + widths[1] + widths[2] + widths[3] + pad * 4 + scale(60) > rc.right)
        for (int i = 0; i < 4; ++i) widths[i] = std::min(widths[i], parts.stripNeeds[i]);
    for (int i = 0; i < 4; ++i) {
        place(parts.strip[i], x, y, widths[i], buttonHeight);
        x += widths[i] + (i == 2 ? pad * 2 : i == 3 ? 0 : pad);
    }
    if (parts.sliderLabel) {
        x += pad;
        place(parts.sliderLabel, x, y, parts.sliderLabelWidth, buttonHeight);
        x += parts.sliderLabelWidth;
    }
    place(parts.slider, x, y, rc.right - x - scale(10), buttonHeight);

    int bottom = rc.bottom;
    if (parts.status && parts.status->shown()) {
        SendMessageW(parts.status->hwnd(), WM_SIZE, 0, 0);
        RECT sb;
        GetWindowRect(parts.status->hwnd(), &sb);
        bottom -= sb.bottom - sb.top;
    }
    int top = strip + pad, left = pad;
    if (parts.recordListShown) {
        const int right = RecordListRight(parts.recordListWidth, rc.right, dpi);
        place(parts.recordList, left, top, right - pad, bottom - top - pad);
        left = right + scale(kSplitterWidth);
    }
    // The progress strip and the search panel belong to the details beside the list.
    bottom -= parts.progress->Place(defer, RECT{left, top, rc.right - pad, bottom - pad}, dpi);
    top += parts.search->Place(defer, RECT{left, top, rc.right - pad, bottom}, dpi);
    if (parts.filter) bottom -= parts.filter->Place(defer, RECT{left, top, rc.right - pad, bottom - pad}, dpi);
    parts.pages->Place(defer, RECT{left, top, rc.right - pad, bottom - pad});
    if (defer) EndDeferWindowPos(defer);
}

int RecordListRight(int recordListWidth, int clientWidth, int dpi) {
    const int least = MulDiv(kListLeastWidth, dpi, 96);
    // Widths past what the screen could hold overflow the scaling; they count as too wide.
    const int wanted = recordListWidth > 32767 ? clientWidth : MulDiv(recordListWidth, dpi, 96);
    return std::max(least, std::min(wanted, clientWidth - MulDiv(kPagesLeastWidth, dpi, 96)));
}

bool Splitter::Over(HWND window, const MainParts& parts, int x, int dpi) const {
    RECT rc;
    GetClientRect(window, &rc);
    int left = RecordListRight(parts.recordListWidth, rc.right, dpi);
    return parts.recordListShown && x >= left - MulDiv(2, dpi, 96) && x < left + MulDiv(kSplitterWidth, dpi, 96);
}

bool Splitter::SetCursor(HWND window, WPARAM wParam, LPARAM lParam, const MainParts& parts, int dpi) const {
    if (reinterpret_cast<HWND>(wParam) != window || LOWORD(lParam) != HTCLIENT) return false;
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(window, &at);
    if (!Over(window, parts, at.x, dpi)) return false;
    ::SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
    return true;
}

}  // namespace tv
