#include "ui/main/work/progress_strip.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/main/views/record_views.h"

namespace tv {

namespace {
constexpr ULONGLONG kGaugeRedrawMs = 30;

HWND Make(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}
}  // namespace

void ProgressStrip::Create(HWND parent, HFONT font) {
    if (PnlHint) return;
    PnlHint = Make(parent, WC_STATICW, L"", SS_LEFT | SS_CENTERIMAGE | SS_ENDELLIPSIS | SS_NOPREFIX, kIdHint, WS_EX_STATICEDGE);
    SpeedButton5 = Make(parent, WC_BUTTONW, L"S&top", WS_TABSTOP | BS_PUSHBUTTON, kIdStopButton);
    Gauge1 = Make(parent, PROGRESS_CLASSW, L"", PBS_SMOOTH, kIdGauge);
    for (HWND w : {PnlHint, SpeedButton5})
        if (font) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(Gauge1, PBM_SETRANGE32, 0, 100);
}

void ProgressStrip::Show(bool shown, bool overViews) {
    busy_ = shown;
    if (!shown && !notice_.empty()) {
        ShowIdle();
        return;
    }
    shown_ = shown;
    overViews_ = shown && overViews;
    if (!PnlHint) return;
    // What the strip uncovers is painted in the window's next paint, with everything else that
    // waits for it, instead of at once.
    HWND parent = GetParent(PnlHint);
    RECT uncovered{};
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (overViews_ ? 0 : SWP_NOZORDER) |
                       (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW | SWP_NOREDRAW);
    for (HWND w : {PnlHint, SpeedButton5, Gauge1}) {
        if (!shown && IsWindowVisible(w)) {
            RECT r;
            GetWindowRect(w, &r);
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
            UnionRect(&uncovered, &uncovered, &r);
        }
        SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, flags);
    }
    if (!IsRectEmpty(&uncovered))
        RedrawWindow(parent, &uncovered, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void ProgressStrip::SetNotice(const std::wstring& text) {
    if (text == notice_) return;
    notice_ = text;
    if (!busy_) ShowIdle();
}

void ProgressStrip::ShowIdle() {
    const bool wasShown = shown_ && !overViews_;
    if (notice_.empty()) {
        Show(false);
    } else {
        shown_ = true;
        overViews_ = false;
        if (PnlHint) {
            SetWindowTextW(PnlHint, notice_.c_str());
            ShowWindow(PnlHint, SW_SHOWNA);
            for (HWND w : {SpeedButton5, Gauge1}) ShowWindow(w, SW_HIDE);
        }
    }
    if (relayout && wasShown != shown_) relayout();
}

void ProgressStrip::SetHint(const std::wstring& text) {
    ShowPosition();  // a new step of the work shows how far the gauge has come
    if (PnlHint) SetWindowTextW(PnlHint, text.c_str());
}

std::wstring ProgressStrip::hint() const {
    if (!PnlHint) return L"";
    wchar_t buf[1024] = {};
    GetWindowTextW(PnlHint, buf, 1024);
    return buf;
}

void ProgressStrip::SetMaximum(int maximum) {
    if (Gauge1) SendMessageW(Gauge1, PBM_SETRANGE32, 0, std::max(1, maximum));
}

void ProgressStrip::SetPosition(int position) {
    position_ = position;
    ShowPosition();
}

void ProgressStrip::Step() {
    ++position_;
    if (GetTickCount64() - positionShownAt_ >= kGaugeRedrawMs) ShowPosition();
}

void ProgressStrip::ShowPosition() {
    positionShownAt_ = GetTickCount64();
    if (Gauge1) SendMessageW(Gauge1, PBM_SETPOS, position_, 0);
}

int ProgressStrip::Place(HDWP& defer, const RECT& area, int dpi) {
    if (!shown_ || !PnlHint) return 0;
    auto scale = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    const int h = scale(24), top = area.bottom - h, gauge = scale(120), button = scale(64), gap = scale(4);
    int right = area.right;
    auto place = [&defer](HWND w, int x, int y, int cx, int cy) {
        if (defer) defer = DeferWindowPos(defer, w, nullptr, x, y, std::max(0, cx), std::max(0, cy), SWP_NOZORDER | SWP_NOACTIVATE);
    };
    if (busy_) {  // a notice alone takes the whole width
        place(Gauge1, right - gauge, top + scale(4), gauge, h - scale(8));
        right -= gauge + gap;
        place(SpeedButton5, right - button, top, button, h);
        right -= button + gap;
    }
    place(PnlHint, area.left, top, right - area.left, h);
    return overViews_ ? 0 : h + gap;
}

}  // namespace tv
