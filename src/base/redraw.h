#pragma once
#include <windows.h>

namespace tv {

// Stops a control repainting for the life of the object and always lets it repaint again,
// also when the bulk change in between ends early or fails.
class RedrawSuspender {
public:
    explicit RedrawSuspender(HWND hwnd) : hwnd_(hwnd) {
        if (hwnd_) SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawSuspender() {
        if (!hwnd_) return;
        SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(hwnd_, nullptr, nullptr,
                     RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    RedrawSuspender(const RedrawSuspender&) = delete;
    RedrawSuspender& operator=(const RedrawSuspender&) = delete;

private:
    HWND hwnd_;
};

}  // namespace tv
