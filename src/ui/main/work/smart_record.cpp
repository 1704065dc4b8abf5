#include "ui/main/work/smart_record.h"

#include <commctrl.h>

#include <algorithm>

#include "app/options.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "app/startup.h"
#include "base/debug_log.h"
#include "base/handles.h"
#include "ui/dialogs/smart_record_dialog.h"
#include "ui/main/work/long_work.h"
#include "ui/main/menus/main_menus.h"
#include "ui/main/commands/recording_commands.h"
#include "ui/message_pump.h"
#include "ui/window_text.h"

namespace tv {

namespace {
constexpr UINT_PTR kTimerContinueRecord = 2;  // the first-run timer is 1
}  // namespace

WindowSpan SpanForPanel(WindowSpan window, int panelRight, int screenWidth) {
    if (panelRight >= window.width) window.width = panelRight;
    if (window.left + window.width >= screenWidth) window.left = screenWidth - window.width - 5;
    return window;
}

SmartRecord::SmartRecord(Parts parts) : p_(std::move(parts)) {
    askSmartRecord = [this](int interval, int& chosen) {
        if (!question_) question_ = std::make_unique<TFrmSmartRecordSettings>(p_.options);
        return question_->Ask(p_.window, interval, chosen);
    };
}

SmartRecord::~SmartRecord() {
    if (timerOn_ && p_.window) KillTimer(p_.window, kTimerContinueRecord);
}

void SmartRecord::Create(HFONT font) {
    lbRecording = CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, 0, 0, 0, 0,
                                  p_.window, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (font) SendMessageW(lbRecording, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    {
        // Wide enough for the longest interval's text.
        WindowDC dc(lbRecording);
        SelectedObject chosen(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
        RECT r{};
        std::wstring longest = IntervalCaption(kRecordIntervalMax);
        DrawTextW(dc.get(), longest.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
        labelWidth_ = r.right + MulDiv(8, ScreenDpi(), 96);
    }
    SetWindowTextW(lbRecording, IntervalCaption(Interval()).c_str());
    ShowPanel(false);
}

bool SmartRecord::on() const { return SendMessageW(p_.box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool SmartRecord::panelShown() const { return IsWindowVisible(p_.slider) != FALSE; }

int SmartRecord::Interval() const {
    return ClampRecordInterval(static_cast<int>(SendMessageW(p_.slider, TBM_GETPOS, 0, 0)));
}

void SmartRecord::cbSmartRecordClick() { Switch(); }

void SmartRecord::SmartRecord1Click() {
    bool checked = (GetMenuState(p_.menu, kCmdSmartRecord, MF_BYCOMMAND) & MF_CHECKED) != 0;
    SetChecked(!checked);
}

void SmartRecord::SetChecked(bool turnOn) {
    if (on() == turnOn) return;
    SendMessageW(p_.box, BM_SETCHECK, turnOn ? BST_CHECKED : BST_UNCHECKED, 0);
    Switch();
}

void SmartRecord::Switch() {
    const bool ticked = on();
    CheckMenuItem(p_.menu, kCmdSmartRecord, MF_BYCOMMAND | (ticked ? MF_CHECKED : MF_UNCHECKED));
    if (ticked && p_.options.values.askWhenSmartRecord) {
        if (Startup().startupPhase) {
            // Switched on by the start itself: no question, once.
            Startup().startupPhase = false;
        } else {
            int chosen = Interval();
            if (!askSmartRecord || !askSmartRecord(Interval(), chosen)) {
                SetChecked(false);  // switches off and stores that
                return;
            }
            SendMessageW(p_.slider, TBM_SETPOS, TRUE, chosen);
            tbRecordIntervalChange();
        }
    }
    if (ticked) {
        KeepResponsive();
        p_.recording.RecordSmart();
        // The box may have been unticked while the recording let the queue run: it stays off.
        if (!on()) return;
        FollowInterval();
        ShowPanel(true);
        p_.layOut();
        WidenForPanel();
    } else {
        KillTimer(p_.window, kTimerContinueRecord);
        timerOn_ = false;
        ShowPanel(false);
    }
    Store(keys::kSmartRecord, ticked);
}

void SmartRecord::TimerContinueRecordTimer() {
    // A tick while anything long runs, a recording above all, is dropped, never queued.
    if (!on() || ticking_ || p_.work.busy()) return;
    ticking_ = true;
    try {
        KeepResponsive();
        if (on()) p_.recording.RecordSmart();
    } catch (...) {
        // The box stays ticked; recording resumes only when it is switched off and on again.
        KillTimer(p_.window, kTimerContinueRecord);
        timerOn_ = false;
        LogSwallowed(L"a Smart Record tick");
    }
    ticking_ = false;
}

void SmartRecord::tbRecordIntervalChange() {
    FollowInterval();
    p_.options.values.recordInterval = Interval();
    Store(keys::kRecordInterval, Interval());
}

void SmartRecord::SetInterval(int seconds) {
    SendMessageW(p_.slider, TBM_SETPOS, TRUE, ClampRecordInterval(seconds));
    FollowInterval();
}

void SmartRecord::FollowInterval() {
    const int seconds = Interval();
    if (lbRecording) SetWindowTextW(lbRecording, IntervalCaption(seconds).c_str());
    intervalMs_ = static_cast<UINT>(seconds) * 1000;
    // Setting the timer again restarts it with the new interval at once.
    if (on() && p_.window) timerOn_ = SetTimer(p_.window, kTimerContinueRecord, intervalMs_, nullptr) != 0;
}

void SmartRecord::ShowPanel(bool show) {
    for (HWND w : {lbRecording, p_.slider})
        if (w) ShowWindow(w, show ? SW_SHOWNA : SW_HIDE);
}

void SmartRecord::WidenForPanel() {
    // The panel needs its label's text and a slider that can still be moved, beside the box.
    RECT box{}, frame{}, client{};
    GetWindowRect(p_.box, &box);
    GetWindowRect(p_.window, &frame);
    GetClientRect(p_.window, &client);
    POINT origin{0, 0};
    ClientToScreen(p_.window, &origin);
    const int borderRight = (frame.right - frame.left) - client.right - (origin.x - frame.left);
    const int dpi = ScreenDpi();
    const int panelRight = static_cast<int>(box.right - frame.left) + labelWidth_ +
                           MulDiv(kSliderLeast + 2 * kPanelPad, dpi, 96) + borderRight;
    WindowSpan span = SpanForPanel({frame.left, frame.right - frame.left}, panelRight,
                                   GetSystemMetrics(SM_CXSCREEN));
    if (span.left != frame.left || span.width != frame.right - frame.left)
        SetWindowPos(p_.window, nullptr, span.left, frame.top, span.width, frame.bottom - frame.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void SmartRecord::Store(const wchar_t* key, int value) {
    try {
        if (key == keys::kSmartRecord) p_.user.WriteBool(keys::kDefault, key, value != 0);
        else p_.user.WriteInteger(keys::kDefault, key, value);
    } catch (const SettingsWriteError&) {
        LogSwallowed(L"storing a Smart Record setting");
    }
}

bool SmartRecord::Handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (msg) {
        case WM_TIMER:
            if (wParam != kTimerContinueRecord) return false;
            TimerContinueRecordTimer();
            return true;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) != p_.slider || !p_.slider) return false;
            tbRecordIntervalChange();
            return true;
        case WM_COMMAND:
            if (reinterpret_cast<HWND>(lParam) != p_.box || !p_.box || HIWORD(wParam) != BN_CLICKED) return false;
            cbSmartRecordClick();
            return true;
        default:
            return false;
    }
}

}  // namespace tv
