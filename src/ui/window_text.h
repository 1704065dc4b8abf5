#pragma once
// Small helpers the windows of the program share: texts, fonts, and the way from a window to
// the object behind it.
#include <windows.h>

#include <functional>
#include <string>

#include "base/debug_log.h"

namespace tv {

// The whole text of a window or control.
std::wstring TextOf(HWND window);

// The font of message boxes, which native dialogs use for their controls, in `weight`.
HFONT MessageFont(int weight = FW_NORMAL);

// The object behind a window created with that object as its creation parameter. On WM_NCCREATE
// the object is attached to the window; before that, and after it is detached, there is none.
template <class T>
T* AttachedObject(HWND hwnd, UINT msg, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return self;
    }
    return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// The letter a caption marks with "&" for Alt, upper-cased; 0 when it marks none ("&&" is an
// ampersand).
wchar_t MnemonicOf(const std::wstring& caption);

// True for a control of the button class: push buttons, check boxes, radio buttons.
bool IsButtonControl(HWND control);

// Enter on a push button presses it, as in every Windows dialog; true when the message was
// such a key and the button has been pressed.
bool PressFocusedButton(const MSG& msg);

// Dots per inch of the screen, and `pixels` at 96 dpi scaled to it.
int ScreenDpi();
inline int ScaleToDpi(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

// A control hooked the classic way: its previous window procedure is kept, the hook sits in the
// control's GWLP_USERDATA, and what the handler does not take goes on through CallWindowProcW.
// (The comctl32 subclass chain looks itself up in window properties on every message, which
// costs a round trip to the window server per message under Wine: filling a tree sends one
// message per node.)
class ControlHook {
public:
    using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
    ControlHook() = default;
    ~ControlHook() { Unhook(); }
    ControlHook(const ControlHook&) = delete;
    ControlHook& operator=(const ControlHook&) = delete;

    bool Hook(HWND control, Handler handler);
    void Unhook();
    // The control's own handling of a message.
    LRESULT CallNext(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) const {
        return CallWindowProcW(previous_, control, msg, wParam, lParam);
    }
    HWND control() const { return control_; }

private:
    static LRESULT CALLBACK Proc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND control_ = nullptr;
    WNDPROC previous_ = nullptr;
    Handler handler_;
};

}  // namespace tv
