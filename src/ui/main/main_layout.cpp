#include "ui/main/main_layout.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/main/progress_strip.h"
#include "ui/main/record_pages.h"
#include "ui/main/search_panel.h"

namespace tv {

namespace {
constexpr int kSplitterWidth = 6;
}

void LayOutMainWindow(HWND window, const MainParts& parts, int dpi) {
    auto scale = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    RECT rc;
    GetClientRect(window, &rc);
    const int pad = scale(6), strip = scale(34), buttonHeight = scale(26);
    int x = pad, y = pad + (strip - pad - buttonHeight) / 2;
    HDWP defer = BeginDeferWindowPos(16);
    auto place = [&defer](HWND w, int left, int top, int width, int height) {
        if (defer) defer = DeferWindowPos(defer, w, nullptr, left, top, std::max(0, width), std::max(0, height),
                                          SWP_NOZORDER | SWP_NOACTIVATE);
    };
    int widths[] = {scale(140), scale(96), scale(28), scale(100)};
    if (x + widths[0] + widths[1] + widths[2] + widths[3] + pad * 4 + scale(60) > rc.right)
        for (int i = 0; i < 4; ++i) widths[i] = std::min(widths[i], parts.stripNeeds[i]);
    for (int i = 0; i < 4; ++i) {
        place(parts.strip[i], x, y, widths[i], buttonHeight);
        x += widths[i] + (i == 2 ? pad * 2 : i == 3 ? 0 : pad);
    }
    place(parts.slider, x, y, rc.right - x - scale(10), buttonHeight);

    int bottom = rc.bottom;
    if (parts.statusBar && IsWindowVisible(parts.statusBar)) {
        SendMessageW(parts.statusBar, WM_SIZE, 0, 0);
        RECT sb;
        GetWindowRect(parts.statusBar, &sb);
        bottom -= sb.bottom - sb.top;
    }
    int top = strip + pad, left = pad;
    if (parts.recordListShown) {
        place(parts.recordList, left, top, scale(parts.recordListWidth) - pad, bottom - top - pad);
        left = scale(parts.recordListWidth) + scale(kSplitterWidth);
    }
    // The progress strip and the search panel belong to the details beside the list.
    bottom -= parts.progress->Place(defer, RECT{left, top, rc.right - pad, bottom - pad}, dpi);
    top += parts.search->Place(defer, RECT{left, top, rc.right - pad, bottom}, dpi);
    parts.pages->Place(defer, RECT{left, top, rc.right - pad, bottom - pad});
    if (defer) EndDeferWindowPos(defer);
}

bool Splitter::Over(const MainParts& parts, int x, int dpi) const {
    int left = MulDiv(parts.recordListWidth, dpi, 96);
    return parts.recordListShown && x >= left - MulDiv(2, dpi, 96) && x < left + MulDiv(kSplitterWidth, dpi, 96);
}

}  // namespace tv
