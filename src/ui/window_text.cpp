#include "ui/window_text.h"

#include <cwctype>

#include "base/handles.h"

namespace tv {

std::wstring TextOf(HWND window) {
    int n = GetWindowTextLengthW(window);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(window, &s[0], n + 1)));
    return s;
}

HFONT MessageFont(int weight) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    BOOL ok = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);
    if (!ok) {  // systems before Vista know the structure without its last field
        ncm.cbSize = sizeof(ncm) - sizeof(ncm.iPaddedBorderWidth);
        ok = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);
    }
    if (!ok) GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(ncm.lfMessageFont), &ncm.lfMessageFont);
    ncm.lfMessageFont.lfWeight = weight;
    return CreateFontIndirectW(&ncm.lfMessageFont);
}

wchar_t MnemonicOf(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] != L'&') return static_cast<wchar_t>(towupper(caption[i + 1]));
        ++i;  // "&&" shows one ampersand
    }
    return 0;
}

bool IsButtonControl(HWND control) {
    wchar_t cls[16] = {};
    GetClassNameW(control, cls, 16);
    return lstrcmpiW(cls, L"Button") == 0;
}

bool PressFocusedButton(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN || !msg.hwnd || !IsButtonControl(msg.hwnd)) return false;
    const LONG type = GetWindowLongW(msg.hwnd, GWL_STYLE) & BS_TYPEMASK;
    if ((type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) || !IsWindowEnabled(msg.hwnd)) return false;
    SendMessageW(msg.hwnd, BM_CLICK, 0, 0);
    return true;
}

int ScreenDpi() {
    WindowDC screen(nullptr);
    int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

bool ControlHook::Hook(HWND control, Handler handler) {
    Unhook();
    if (!control || GetWindowLongPtrW(control, GWLP_USERDATA) != 0) return false;
    handler_ = std::move(handler);
    control_ = control;
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlHook::Proc)));
    return previous_ != nullptr;
}

void ControlHook::Unhook() {
    if (!control_) return;
    if (IsWindow(control_) && previous_) {
        SetWindowLongPtrW(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        SetWindowLongPtrW(control_, GWLP_USERDATA, 0);
    }
    control_ = nullptr;
}

LRESULT CALLBACK ControlHook::Proc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* hook = reinterpret_cast<ControlHook*>(GetWindowLongPtrW(control, GWLP_USERDATA));
    if (!hook) return DefWindowProcW(control, msg, wParam, lParam);
    WNDPROC previous = hook->previous_;
    if (msg == WM_NCDESTROY) {
        // The control goes; the handler hears of it once, then the hook lets go.
        LRESULT result = 0;
        try {
            result = hook->handler_(control, msg, wParam, lParam);
        } catch (...) {
            LogSwallowed(L"control hook");
            result = CallWindowProcW(previous, control, msg, wParam, lParam);
        }
        if (hook->control_ == control) {
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            SetWindowLongPtrW(control, GWLP_USERDATA, 0);
            hook->control_ = nullptr;
        }
        return result;
    }
    try {
        return hook->handler_(control, msg, wParam, lParam);
    } catch (...) {
        LogSwallowed(L"control hook");
        return CallWindowProcW(previous, control, msg, wParam, lParam);
    }
}

}  // namespace tv
