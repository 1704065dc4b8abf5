#pragma once
// What the main window remembers of its size and place between runs.
#include <windows.h>

#include <functional>
#include <vector>

namespace tv {

class SettingsStore;

struct StoredGeometry {
    bool maximised = false;
    RECT bounds{};  // for a normal window, cut to the screen's right and bottom edges
};

StoredGeometry LoadWindowGeometry(const SettingsStore& user, int screenWidth, int screenHeight);

// The layout values written when the user finishes moving or sizing and when the window closes.
struct LayoutState {
    bool smartRecord = false;
    int recordListWidth = 120;
    int selectedRecord = -1;
};
// A normal window stores its geometry and state 1; a maximised or minimised one only state 0,
// keeping the geometry it had.
void SaveWindowLayout(SettingsStore& user, HWND window, const LayoutState& state);

// Where Tab (or Shift+Tab, `backwards`) moves the focus among the controls of `order`: the next
// one that `canFocus` accepts after the one holding `focus` (the control itself or a child of
// it, such as a combo box's edit), round the end. From outside the order, the first (the last
// going backwards). Null when no control can take the focus.
HWND NextTabStop(const std::vector<HWND>& order, HWND focus, bool backwards,
                 const std::function<bool(HWND)>& canFocus);

}  // namespace tv
