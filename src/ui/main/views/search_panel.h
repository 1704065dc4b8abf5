#pragma once
// The search panel above the record pages: the search box with its history of searched texts
// and the "&Search" button. Made when first shown, so it costs nothing on the way to the first
// paint.
#include <windows.h>

#include <string>
#include <vector>

namespace tv {

class SearchPanel {
public:
    // Makes the two controls (once), between `after` and what follows it in the tab order.
    void Ensure(HWND parent, HFONT font, HWND after);
    void Show(bool shown);
    bool shown() const { return shown_; }
    HWND box() const { return ComboBoxSearch; }
    HWND button() const { return BtnSSSearch; }
    std::wstring Text() const;
    // The box was left: its text joins the history unless it is there already (ignoring case).
    void RememberText();
    // Lays the panel out along the top of `area`; answers the height it takes (0 when hidden).
    int Place(HDWP& defer, const RECT& area, int dpi) const;

private:
    HWND ComboBoxSearch = nullptr;
    HWND BtnSSSearch = nullptr;
    bool shown_ = false;
    std::vector<std::wstring> history_;
};

}  // namespace tv
