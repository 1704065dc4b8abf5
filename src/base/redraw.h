#pragma once
#include <windows.h>

#include <unordered_map>

namespace tv {

// Stops a control repainting for the life of the object and always lets it repaint again,
// also when the bulk change in between ends early or fails. Nested suspensions of one control
// are one: only the outermost lets it repaint, so a step that suspends on its own does not
// switch painting back on in the middle of a larger change.
class RedrawSuspender {
public:
    explicit RedrawSuspender(HWND hwnd) : hwnd_(hwnd) {
        if (hwnd_ && Depth()[hwnd_]++ == 0) SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawSuspender() {
        if (!hwnd_) return;
        auto found = Depth().find(hwnd_);
        if (found != Depth().end() && --found->second > 0) return;
        if (found != Depth().end()) Depth().erase(found);
        SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(hwnd_, nullptr, nullptr,
                     RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    RedrawSuspender(const RedrawSuspender&) = delete;
    RedrawSuspender& operator=(const RedrawSuspender&) = delete;

private:
    // Windows live on the one thread that paints them.
    static std::unordered_map<HWND, int>& Depth() {
        static std::unordered_map<HWND, int> depth;
        return depth;
    }
    HWND hwnd_;
};

}  // namespace tv
