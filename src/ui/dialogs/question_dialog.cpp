#include "ui/dialogs/question_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "app/startup.h"
#include "ui/dialogs/dialog_parts.h"
#include "ui/window_text.h"

namespace tv {

namespace {
constexpr int kMargin = 8, kButtonWidth = 80, kButtonHeight = 25, kGap = 6;
constexpr int kMostWidening = 480;  // the dialog grows at most this much for its texts
enum { IdConfirm = IDOK, IdCancel = IDCANCEL, IdOther = 100 };

RECT PlaceIn(HWND control, HWND parent) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
}  // namespace

QuestionDialog::QuestionDialog(Options& options, const Frame& frame) : options_(options), frame_(frame) {}

QuestionDialog::~QuestionDialog() {
    if (!hwnd_) return;
    // The dialog's own part is gone already: the window's last messages must not reach it.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

bool QuestionDialog::Create(HWND owner) {
    if (hwnd_) return true;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    if (!RegisterDialogClass(frame_.className, WndProc, LoadIconW(inst, MAKEINTRESOURCEW(1)))) return false;
    dpi_ = ScreenDpi();
    font_ = modal_.Font();
    hwnd_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, frame_.className, frame_.caption,
                            WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                            S(frame_.width), S(frame_.height), owner, nullptr, inst, this);
    // Not WS_CLIPCHILDREN: a group box paints no inside of its own, so the dialog paints it.
    if (!hwnd_) return false;
    CreateControls();
    FitTexts();
    return true;
}

HWND QuestionDialog::Control(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
                             DWORD exStyle) {
    return CreateControl(hwnd_, font_, dpi_, cls, text, style, x, y, w, h, id ? id : IdOther, exStyle);
}

HWND QuestionDialog::CreateDontShowBox(const wchar_t* hint) {
    dontShow_ = Control(WC_BUTTONW, L"Don't show again", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0, 0, 120, 20);
    LblHint = Control(WC_STATICW, hint, SS_LEFT | SS_NOPREFIX, 0, 0, 10, 10);
    ShowWindow(LblHint, SW_HIDE);
    return dontShow_;
}

void QuestionDialog::CreateAdminStrip(const wchar_t* text) {
    const AdminStrip strip = tv::CreateAdminStrip(hwnd_, font_, dpi_, text, IdOther);
    PanelHint = strip.panel;
    lbAdminHint = strip.hint;
    CbRunAsAdmin = strip.box;
}

HWND QuestionDialog::CreateButtons(const wchar_t* confirmCaption, const wchar_t* cancelCaption) {
    BtnConfirm = Control(WC_BUTTONW, confirmCaption, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, 0, kButtonWidth,
                         kButtonHeight, IdConfirm);
    cancel_ = Control(WC_BUTTONW, cancelCaption, BS_PUSHBUTTON | WS_TABSTOP, 0, 0, kButtonWidth, kButtonHeight,
                      IdCancel);
    return cancel_;
}

void QuestionDialog::Arrange() {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    const int margin = S(kMargin), buttonW = S(kButtonWidth), buttonH = S(kButtonHeight);
    const int buttonsTop = rc.bottom - margin - buttonH;
    SetWindowPos(cancel_, nullptr, rc.right - margin - buttonW, buttonsTop, buttonW, buttonH, SWP_NOZORDER);
    SetWindowPos(BtnConfirm, nullptr, rc.right - margin - 2 * buttonW - S(kGap), buttonsTop, buttonW, buttonH,
                 SWP_NOZORDER);
    if (dontShow_) {
        const RECT box = PlaceIn(dontShow_, hwnd_);
        SetWindowPos(dontShow_, nullptr, margin, buttonsTop + (buttonH - (box.bottom - box.top)) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    }
    // The strip takes the room the window gains when it shows, less a gap either side.
    int roomBottom = buttonsTop - S(4);
    if (PanelHint) {
        const int stripH = S(frame_.heightWithStrip - frame_.height) - S(4);
        const int stripTop = buttonsTop - S(4) - stripH;
        PlaceAdminStrip({PanelHint, lbAdminHint, CbRunAsAdmin},
                        RECT{margin, stripTop, rc.right - margin, stripTop + stripH}, dpi_);
        if (stripShown_) roomBottom = stripTop - S(2);
    }
    if (LblHint) {
        const int top = S(frame_.contentBottom) + S(2);
        SetWindowPos(LblHint, nullptr, margin, top, rc.right - 2 * margin, std::max(0, roomBottom - top),
                     SWP_NOZORDER);
    }
    for (HWND label : stretched_) {
        const RECT r = PlaceIn(label, hwnd_);
        SetWindowPos(label, nullptr, 0, 0, rc.right - margin - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    }
}

void QuestionDialog::FitTexts() {
    // Check boxes, radio buttons and one-line labels as wide as their text in the dialog's font,
    // which may be wider than the one the places were chosen for; the dialog widens to hold them.
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    int overflow = 0;
    for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (c == LblHint || std::find(stretched_.begin(), stretched_.end(), c) != stretched_.end()) continue;
        int height = 0;
        const int width = CaptionNeeds(c, font_, dpi_, height);
        const RECT r = PlaceIn(c, hwnd_);
        if (width <= r.right - r.left && height <= r.bottom - r.top) continue;
        const int w = std::max<int>(r.right - r.left, width), h = std::max<int>(r.bottom - r.top, height);
        SetWindowPos(c, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        overflow = std::max<int>(overflow, r.left + w + S(kMargin) - rc.right);
    }
    RECT wr{};
    GetWindowRect(hwnd_, &wr);
    int width = wr.right - wr.left + std::max(0, overflow);
    // Then the wrapping texts: wider until each fits the height it has.
    std::vector<HWND> wrapped = stretched_;
    for (HWND label : {LblHint, lbAdminHint})
        if (label) wrapped.push_back(label);
    const int widest = width + S(kMostWidening);
    for (;;) {
        SetWindowPos(hwnd_, nullptr, 0, 0, width, wr.bottom - wr.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Arrange();
        bool fits = true;
        for (HWND label : wrapped) {
            const RECT r = PlaceIn(label, GetParent(label));
            fits = fits && WrappedTextHeight(label, font_, r.right - r.left) <= r.bottom - r.top;
        }
        if (fits || width >= widest) break;
        width += S(16);
    }
}

void QuestionDialog::ShowStripForElevation() {
    stripShown_ = PanelHint && !options_.host().RunningAsAdmin();
    RECT wr{};
    GetWindowRect(hwnd_, &wr);
    SetWindowPos(hwnd_, nullptr, 0, 0, wr.right - wr.left, S(stripShown_ ? frame_.heightWithStrip : frame_.height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (PanelHint) ShowWindow(PanelHint, stripShown_ ? SW_SHOW : SW_HIDE);
    Arrange();
}

bool QuestionDialog::ShowModal(HWND owner) {
    if (modal_.running() || !Create(owner)) return false;
    if (GetWindow(hwnd_, GW_OWNER) != owner)
        SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    adminRequested_ = false;
    ShowStripForElevation();
    Shown();
    DontShowClick();
    // A dialog that can restart the program elevated clears the marker of an earlier restart.
    if (frame_.resumeMarker != kResumeNone) WriteResumeMarker(options_, kResumeNone);
    CentreOverOwner(hwnd_, owner);

    ModalDialog::Behaviour behaviour;
    behaviour.focusFirst = [this] {
        HWND first = FirstFocus();
        SetFocus(first);
        if (first && SendMessageW(first, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(first, EM_SETSEL, 0, -1);
    };
    behaviour.confirm = [this] { Confirm(); };
    behaviour.cancel = [this] { Cancel(); };
    bool confirmed = modal_.Run(hwnd_, behaviour);
    // The elevated restart closes the main window, so it runs once this dialog's loop has ended;
    // when it does not happen the marker goes back and the question is asked again.
    while (adminRequested_) {
        adminRequested_ = false;
        if (options_.host().RunAsAdministrator()) break;
        WriteResumeMarker(options_, kResumeNone);
        confirmed = modal_.Run(hwnd_, behaviour);
    }
    return confirmed;
}

void QuestionDialog::DontShowClick() {
    if (LblHint) ShowWindow(LblHint, Checked(dontShow_) ? SW_SHOW : SW_HIDE);
}

void QuestionDialog::AdminBoxClick() {
    if (!Checked(CbRunAsAdmin)) return;
    Check(CbRunAsAdmin, false);
    WriteResumeMarker(options_, frame_.resumeMarker);
    adminRequested_ = true;
    End(false);
}

void QuestionDialog::Command(HWND c, int code) {
    if (code == BN_CLICKED) {
        if (c == BtnConfirm) return Confirm();
        if (c == cancel_) return Cancel();
        if (c == dontShow_) return DontShowClick();
        if (c == CbRunAsAdmin) return AdminBoxClick();
    }
    OnCommand(c, code);
}

LRESULT QuestionDialog::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (lParam) Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        // Enter and Escape that reach the dialog some other way act as its buttons.
        else if (LOWORD(wParam) == IDOK) Confirm();
        else if (LOWORD(wParam) == IDCANCEL) Cancel();
        return 0;
    case WM_HSCROLL:
        OnSlider(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush = OnColour(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CLOSE:
        Cancel();  // the close box never confirms
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK QuestionDialog::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = AttachedObject<QuestionDialog>(hwnd, msg, lParam);
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE) self->hwnd_ = hwnd;
    if (msg == WM_NCDESTROY) {
        // Gone with its owner: the next question makes a new one.
        self->hwnd_ = nullptr;
        self->LblHint = self->PanelHint = self->lbAdminHint = self->CbRunAsAdmin = self->BtnConfirm = nullptr;
        self->dontShow_ = self->cancel_ = nullptr;
        self->stretched_.clear();
        self->stripShown_ = false;
        self->ForgetControls();
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->Handle(msg, wParam, lParam);
}

}  // namespace tv
