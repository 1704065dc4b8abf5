#include "ui/modal_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "ui/message_pump.h"
#include "ui/window_text.h"

namespace tv {

namespace {
// The far edge first, then the near one, so a window larger than the area keeps its caption
// and its top-left corner reachable.
LONG Clamp(LONG v, LONG low, LONG high) { return std::max(low, std::min(v, high)); }

RECT WorkAreaOf(HMONITOR monitor) {
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (!GetMonitorInfoW(monitor, &mi)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &mi.rcWork, 0);
    return mi.rcWork;
}

// The dialogs showing now, the innermost last; all run on the window thread.
std::vector<ModalDialog*> showing;

SIZE SizeOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}
}  // namespace

bool RegisterDialogClass(const wchar_t* name, WNDPROC proc, HICON icon) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(inst, name, &wc)) return true;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
}

POINT FitOnWorkArea(POINT at, SIZE size, const RECT& workArea) {
    return POINT{Clamp(at.x, workArea.left, workArea.right - size.cx),
                 Clamp(at.y, workArea.top, workArea.bottom - size.cy)};
}

POINT CentredOver(const RECT& owner, SIZE size, const RECT& workArea) {
    POINT at{owner.left + (owner.right - owner.left - size.cx) / 2, owner.top + (owner.bottom - owner.top - size.cy) / 2};
    return FitOnWorkArea(at, size, workArea);
}

void CentreOverOwner(HWND dialog, HWND owner) {
    RECT work = WorkAreaOf(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTONEAREST));
    RECT over{};
    if (!owner || !IsWindowVisible(owner) || IsIconic(owner) || !GetWindowRect(owner, &over)) over = work;
    POINT at = CentredOver(over, SizeOf(dialog), work);
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceAt(HWND dialog, POINT at) {
    const POINT pos = FitOnWorkArea(at, SizeOf(dialog), WorkAreaOf(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST)));
    SetWindowPos(dialog, HWND_TOP, pos.x, pos.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

HFONT ModalDialog::Font() {
    if (!font_) font_.reset(MessageFont());
    return font_.get();
}

bool ModalDialog::TranslateKey(HWND dialog, const MSG& msg, const Behaviour& behaviour) {
    if (!dialog || msg.message != WM_KEYDOWN || (msg.hwnd != dialog && !IsChild(dialog, msg.hwnd))) return false;
    if (behaviour.keys && behaviour.keys(msg)) return true;
    if (PressFocusedButton(msg)) return true;  // the confirm button only where no other has the focus
    if (msg.wParam == VK_RETURN) {
        behaviour.confirm();
        return true;
    }
    if (msg.wParam == VK_ESCAPE) {
        behaviour.cancel();
        return true;
    }
    return false;
}

bool ModalDialog::Run(HWND dialog, const Behaviour& behaviour) {
    if (running_ || !dialog) return false;
    running_ = true;
    ended_ = confirmed_ = cancelledFromOutside_ = false;
    showing.push_back(this);
    HWND owner = GetWindow(dialog, GW_OWNER);
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    if (behaviour.focusFirst) behaviour.focusFirst();
    MSG msg;
    while (!ended_ && !cancelledFromOutside_ && IsWindow(dialog) && NextMessage(msg, true)) {
        if (TranslateKey(dialog, msg, behaviour) || (IsWindow(dialog) && IsDialogMessageW(dialog, &msg))) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (!ended_ && IsWindow(dialog)) behaviour.cancel();
    const bool confirmed = ended_ && confirmed_;
    showing.erase(std::remove(showing.begin(), showing.end(), this), showing.end());
    running_ = false;
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    if (IsWindow(dialog)) ShowWindow(dialog, SW_HIDE);
    if (owner) SetActiveWindow(owner);
    return confirmed;
}

void ModalDialog::CancelAllShowing() {
    if (showing.empty()) return;
    for (ModalDialog* dialog : showing) dialog->cancelledFromOutside_ = true;
    // Each loop sees its mark once it next wakes: the innermost on return from this message,
    // the outer ones on this one.
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

void ModalDialog::End(bool confirmed) {
    confirmed_ = confirmed;
    ended_ = true;
}

}  // namespace tv
