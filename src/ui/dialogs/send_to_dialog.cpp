#include "ui/dialogs/send_to_dialog.h"

#include <commctrl.h>

#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "ui/dialogs/dialog_parts.h"
#include "ui/window_text.h"

namespace tv {

namespace {
constexpr wchar_t kDialogClass[] = L"TFormSendTo";
constexpr wchar_t kDefaultName[] = L"TolVane";
// Client area and control places at 96 dots per inch.
constexpr int kClientWidth = 462, kClientHeight = 148;
constexpr int kMargin = 10, kLabelWidth = 56, kBoxLeft = kMargin + kLabelWidth, kBoxWidth = 212;
constexpr int kButtonWidth = 80, kButtonHeight = 25, kGap = 6;
enum { IdPath = 100, IdSelect, IdOpen, IdName, IdAsRecordName, IdAutoLaunch };
}  // namespace

TFormSendTo::TFormSendTo(std::wstring desktop, FolderPicker picker, std::function<void(const std::wstring&)> explore)
    : desktop_(std::move(desktop)),
      picker_(std::move(picker)),
      explore_(std::move(explore)),
      pathColour_(kInputBoxColour),
      nameColour_(kInputBoxColour) {}

TFormSendTo::~TFormSendTo() {
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

bool TFormSendTo::Create(HWND owner) {
    if (hwnd_) return true;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    if (!RegisterDialogClass(kDialogClass, WndProc, LoadIconW(inst, MAKEINTRESOURCEW(1)))) return false;
    dpi_ = ScreenDpi();
    font_ = modal_.Font();
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, ScaleToDpi(kClientWidth, dpi_), ScaleToDpi(kClientHeight, dpi_)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    hwnd_ = CreateWindowExW(exStyle, kDialogClass, L"Send To", style, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, owner, nullptr, inst, this);
    if (!hwnd_) return false;
    FormCreate();
    return true;
}

HWND TFormSendTo::Control(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
                          DWORD exStyle) {
    return CreateControl(hwnd_, font_, dpi_, cls, text, style, x, y, w, h, id, exStyle);
}

void TFormSendTo::FormCreate() {
    // Made in tab order: the destination and its buttons, the name and its box, then the buttons.
    const int buttonLeft = kBoxLeft + kBoxWidth + kGap;
    const int buttonsTop = kClientHeight - kMargin - kButtonHeight;
    LblRecordPath = Control(WC_STATICW, L"Send To", SS_LEFT, kMargin, 14, kLabelWidth - 4, 16, 0);
    EdtRecordPath = Control(WC_EDITW, desktop_.c_str(), ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, kBoxLeft, 10,
                            kBoxWidth, 23, IdPath, WS_EX_CLIENTEDGE);
    BtnSelectPath = Control(WC_BUTTONW, L"&Select", BS_PUSHBUTTON | WS_TABSTOP, buttonLeft, 9, kButtonWidth,
                            kButtonHeight, IdSelect);
    BtnOpenDir = Control(WC_BUTTONW, L"&Open", BS_PUSHBUTTON | WS_TABSTOP, buttonLeft + kButtonWidth + kGap, 9,
                         kButtonWidth, kButtonHeight, IdOpen);
    LblRename = Control(WC_STATICW, L"Rename", SS_LEFT, kMargin, 48, kLabelWidth - 4, 16, 0);
    EdtRename = Control(WC_EDITW, kDefaultName, ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, kBoxLeft, 44, kBoxWidth, 23,
                        IdName, WS_EX_CLIENTEDGE);
    cbAsRecordFileName = Control(WC_BUTTONW, L"As original file name", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP,
                                 buttonLeft, 46, 2 * kButtonWidth + kGap, 20, IdAsRecordName);
    cbAutoLaunch = Control(WC_BUTTONW, L"Open file location after Confirm", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP,
                           kBoxLeft, 76, kBoxWidth + kGap + kButtonWidth, 20, IdAutoLaunch);
    Check(cbAutoLaunch, true);
    BtnConfirm = Control(WC_BUTTONW, L"&Confirm", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP,
                         kClientWidth - kMargin - 2 * kButtonWidth - kGap, buttonsTop, kButtonWidth, kButtonHeight,
                         IDOK);
    SpeedButton1 = Control(WC_BUTTONW, L"Ca&ncel", BS_PUSHBUTTON | WS_TABSTOP, kClientWidth - kMargin - kButtonWidth,
                           buttonsTop, kButtonWidth, kButtonHeight, IDCANCEL);
    // Check boxes as wide as their captions in the dialog's font, should it be wider than usual.
    for (HWND box : {cbAsRecordFileName, cbAutoLaunch}) {
        int height = 0;
        const int need = CaptionNeeds(box, font_, dpi_, height);
        RECT r{};
        GetWindowRect(box, &r);
        if (need > r.right - r.left)
            SetWindowPos(box, nullptr, 0, 0, need, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

bool TFormSendTo::Execute(HWND owner, const std::wstring& recordName, bool asRecordFileName) {
    if (modal_.running() || !Create(owner)) return false;
    if (GetWindow(hwnd_, GW_OWNER) != owner) SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    recordName_ = recordName;
    Check(cbAsRecordFileName, asRecordFileName);
    // Unticked, the name box keeps what it held at the last showing.
    if (asRecordFileName) SetWindowTextW(EdtRename, recordName_.c_str());
    SetColour(EdtRecordPath, kInputBoxColour);
    SetColour(EdtRename, kInputBoxColour);
    CentreOverOwner(hwnd_, owner);

    ModalDialog::Behaviour behaviour;
    behaviour.focusFirst = [this] {
        SetFocus(EdtRename);
        SendMessageW(EdtRename, EM_SETSEL, 0, -1);
    };
    behaviour.confirm = [this] { BtnConfirmClick(); };
    behaviour.cancel = [this] { modal_.End(false); };
    return modal_.Run(hwnd_, behaviour);
}

std::wstring TFormSendTo::destination() const { return TextOf(EdtRecordPath); }
std::wstring TFormSendTo::folderName() const { return TextOf(EdtRename); }
bool TFormSendTo::asRecordFileName() const { return Checked(cbAsRecordFileName); }
bool TFormSendTo::openAfterConfirm() const { return Checked(cbAutoLaunch); }

void TFormSendTo::BtnConfirmClick() {
    if (Trim(TextOf(EdtRename)).empty()) {
        SetColour(EdtRename, kRefusedBoxColour);
        SetFocus(EdtRename);
        return;
    }
    SetColour(EdtRename, kInputBoxColour);
    const std::wstring path = TextOf(EdtRecordPath);
    // A destination that does not exist yet is made; one that cannot be made is refused.
    if (!DirectoryExists(Trim(path))) CreateFolderTree(Trim(path));
    if (!DirectoryExists(Trim(path))) {
        SetColour(EdtRecordPath, kRefusedBoxColour);
        SetFocus(EdtRecordPath);
        return;
    }
    SetColour(EdtRecordPath, kInputBoxColour);
    // Exactly the desktop's path, letter for letter: another spelling is a folder like any other.
    desktopChosen_ = path == desktop_;
    modal_.End(true);
}

void TFormSendTo::BtnSelectPathClick() {
    const std::wstring current = TextOf(EdtRecordPath);
    const std::wstring chosen = picker_(hwnd_, L"Please Select a Path,Current path is " + current, current);
    if (!chosen.empty()) SetWindowTextW(EdtRecordPath, NormaliseFolder(chosen).c_str());
}

void TFormSendTo::BtnOpenDirClick() { explore_(NormaliseFolder(TextOf(EdtRecordPath))); }

void TFormSendTo::cbAsRecordFileNameClick() {
    SetWindowTextW(EdtRename, Checked(cbAsRecordFileName) ? recordName_.c_str() : kDefaultName);
}

void TFormSendTo::SetColour(HWND box, COLORREF colour) {
    COLORREF& now = box == EdtRecordPath ? pathColour_ : nameColour_;
    GdiOwner<HBRUSH>& brush = box == EdtRecordPath ? pathBrush_ : nameBrush_;
    if (brush && now == colour) return;
    now = colour;
    brush.reset(CreateSolidBrush(colour));
    InvalidateRect(box, nullptr, TRUE);
}

LRESULT TFormSendTo::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) return 0;
        switch (LOWORD(wParam)) {
        case IDOK: BtnConfirmClick(); break;
        case IDCANCEL: modal_.End(false); break;
        case IdSelect: BtnSelectPathClick(); break;
        case IdOpen: BtnOpenDirClick(); break;
        case IdAsRecordName: cbAsRecordFileNameClick(); break;
        }
        return 0;
    case WM_CTLCOLOREDIT: {
        HWND box = reinterpret_cast<HWND>(lParam);
        if (box != EdtRecordPath && box != EdtRename) break;
        const bool path = box == EdtRecordPath;
        SetBkColor(reinterpret_cast<HDC>(wParam), path ? pathColour_ : nameColour_);
        return reinterpret_cast<LRESULT>((path ? pathBrush_ : nameBrush_).get());
    }
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CLOSE:
        modal_.End(false);  // the close box never confirms
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK TFormSendTo::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = AttachedObject<TFormSendTo>(hwnd, msg, lParam);
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE) self->hwnd_ = hwnd;
    if (msg == WM_NCDESTROY) {
        // Gone with its owner: the next showing makes a new one.
        self->hwnd_ = nullptr;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->Handle(msg, wParam, lParam);
}

}  // namespace tv
