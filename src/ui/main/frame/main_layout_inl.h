#pragma once
#include <windowsx.h>

#include <algorithm>

namespace tv {

template <class Moved, class Dropped>
bool Splitter::HandleMouse(HWND window, UINT msg, LPARAM lParam, MainParts& parts, int dpi, Moved moved,
                           Dropped dropped) {
    switch (msg) {
        case WM_LBUTTONDOWN:
            if (Over(window, parts, GET_X_LPARAM(lParam), dpi)) {
                dragging_ = true;
                SetCapture(window);
            }
            return true;
        case WM_MOUSEMOVE:
            if (dragging_) {
                RECT rc;
                GetClientRect(window, &rc);
                int x = std::max(static_cast<int>(GET_X_LPARAM(lParam)), MulDiv(kListLeastWidth, dpi, 96));
                x = std::min(x, static_cast<int>(rc.right) - MulDiv(kPagesLeastWidth, dpi, 96));
                parts.recordListWidth = MulDiv(x, 96, dpi);
                moved();
            }
            return true;
        case WM_LBUTTONUP:
            if (dragging_) {
                dragging_ = false;
                ReleaseCapture();
                dropped();
            }
            return true;
        default:
            return false;
    }
}

}  // namespace tv
