#pragma once
// Small helpers the windows of the program share: texts, fonts, and the way from a window to
// the object behind it.
#include <windows.h>

#include <string>

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

}  // namespace tv
