#include "ui/window_text.h"

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

}  // namespace tv
