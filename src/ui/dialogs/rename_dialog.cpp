#include "ui/dialogs/rename_dialog.h"

#include <commctrl.h>


#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "records/record_library.h"
#include "ui/window_text.h"

namespace tv {

namespace {
constexpr wchar_t kDialogClass[] = L"TFrmReName";
// Client area and control places at 96 dots per inch.
constexpr int kClientWidth = 300, kClientHeight = 97;
constexpr int kMargin = 10, kButtonWidth = 80, kButtonHeight = 25, kButtonGap = 6;
enum { IdName = 100 };
}  // namespace

TFrmReName::~TFrmReName() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool TFrmReName::Create(HWND owner) {
    if (hwnd_) return true;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    if (!RegisterDialogClass(kDialogClass, WndProc)) return false;
    dpi_ = ScreenDpi();
    font_ = modal_.Font();

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, S(kClientWidth), S(kClientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    hwnd_ = CreateWindowExW(exStyle, kDialogClass, L"Rename", style, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, owner, nullptr, inst, this);
    if (!hwnd_) return false;
    FormCreate();
    return true;
}

HWND TFrmReName::Control(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
                         DWORD exStyle) {
    HWND c = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, S(x), S(y), S(w), S(h), hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return c;
}

void TFrmReName::FormCreate() {
    // Created in tab order: the name box, then the buttons.
    const int width = kClientWidth - 2 * kMargin;
    const int buttonsTop = kClientHeight - kMargin - kButtonHeight;
    const int cancelLeft = kClientWidth - kMargin - kButtonWidth;
    Label1 = Control(WC_STATICW, L"File Name", SS_LEFT, kMargin, kMargin, width, 16, 0);
    EdtName = Control(WC_EDITW, L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, kMargin, kMargin + 18, width, 23,
                      IdName, WS_EX_CLIENTEDGE);
    BtnConfirm = Control(WC_BUTTONW, L"&OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP,
                         cancelLeft - kButtonGap - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight, IDOK);
    BtnClose = Control(WC_BUTTONW, L"&Cancel", BS_PUSHBUTTON | WS_TABSTOP, cancelLeft, buttonsTop, kButtonWidth,
                       kButtonHeight, IDCANCEL);
}

bool TFrmReName::Execute(HWND owner, POINT at, const std::wstring& name, std::wstring& newName) {
    if (modal_.running()) return false;  // already showing: one rename at a time
    if (!Create(owner)) return false;
    if (GetWindow(hwnd_, GW_OWNER) != owner)
        SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    SetWindowTextW(EdtName, name.c_str());
    PlaceAt(hwnd_, at);

    ModalDialog::Behaviour behaviour;
    behaviour.focusFirst = [this] {
        SetFocus(EdtName);
        SendMessageW(EdtName, EM_SETSEL, 0, -1);
    };
    behaviour.confirm = [this] { BtnConfirmClick(); };
    behaviour.cancel = [this] { BtnCloseClick(); };
    const bool confirmed = modal_.Run(hwnd_, behaviour);
    if (confirmed) newName = TextOf(EdtName);
    return confirmed;
}

LRESULT TFrmReName::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        // The buttons, and Enter or Escape that the dialog manager turns into IDOK or IDCANCEL.
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDOK) BtnConfirmClick();
        else if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDCANCEL) BtnCloseClick();
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CLOSE:
        BtnCloseClick();  // the close box never confirms
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK TFrmReName::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = AttachedObject<TFrmReName>(hwnd, msg, lParam);
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE) self->hwnd_ = hwnd;
    if (msg == WM_NCDESTROY) {
        // Gone with its owner: the next Execute makes a new one.
        self->hwnd_ = nullptr;
        self->Label1 = self->EdtName = self->BtnConfirm = self->BtnClose = nullptr;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->Handle(msg, wParam, lParam);
}

std::wstring ReplaceRecordQuestion(const std::wstring& path) {
    return path + L" is already exists." + L"\r\n" + L"Do you want to replace it?";
}

std::wstring RenameRecord(HWND owner, TFrmReName& dialog, Prompter& prompter, const std::wstring& folder,
                          const std::wstring& oldName, const std::wstring& extension, const std::wstring& proposed,
                          bool* refused) {
    if (refused) *refused = false;
    auto refuse = [&](DWORD error) {
        if (refused) *refused = true;
        prompter.Tell(owner, SystemMessageText(error));
        return std::wstring();
    };
    POINT at{};
    GetCursorPos(&at);
    std::wstring newName;
    if (!dialog.Execute(owner, at, proposed.empty() ? oldName : proposed, newName)) return L"";
    // A rename needs a name; it stays in the record folder, so no name with a path in it either.
    if (Trim(newName).empty()) return L"";
    if (newName.find_first_of(L"\\/:*?\"<>|") != std::wstring::npos) return refuse(ERROR_INVALID_NAME);

    const std::wstring source = JoinPath(folder, oldName + extension);
    const std::wstring target = RenameTarget(folder, newName, extension);
    if (!EqualsNoCase(target, source) && FileExists(target) &&
        !prompter.Ask(owner, ReplaceRecordQuestion(target)))
        return L"";
    SetLastError(ERROR_SUCCESS);
    if (!MoveRecordFiles(source, target)) {
        DWORD error = GetLastError();
        return refuse(error == ERROR_SUCCESS ? ERROR_INVALID_NAME : error);
    }
    return FileNameOf(target);
}

}  // namespace tv
