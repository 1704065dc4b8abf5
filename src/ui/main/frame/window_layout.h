#pragma once
// What the main window remembers of its size and place between runs.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tv {

class SettingsStore;

struct StoredGeometry {
    bool maximised = false;
    RECT bounds{};  // the normal place, brought onto the work area (also when maximised)
};

// The least of a window that must stay on the work area so the user can reach it: this many
// pixels each way, the top edge (and so the caption bar) included.
constexpr int kMinVisible = 100;

// Brings a window place onto a work area: a width or height below kMinVisible takes the
// default, and a size larger than the work area is cut to it; no other size changes. A place
// whose top edge is inside the area with at least kMinVisible pixels each way on it is kept as
// it was; any other place, and a window that had to be cut, moves the shortest way onto the
// area as a whole.
RECT FitOnWorkArea(long long left, long long top, long long width, long long height, const RECT& workArea,
                   int defaultWidth, int defaultHeight);

// Reads the stored place, brings it onto `workArea`, and stores the corrected place again so
// an unreachable one does not come back. Settings that cannot be written are left as they are.
StoredGeometry LoadWindowGeometry(SettingsStore& user, const RECT& workArea);
// The same on the work area of the monitor nearest the stored place (defaults from the screen
// size given).
StoredGeometry LoadWindowGeometry(SettingsStore& user, int screenWidth, int screenHeight);

// Creates a top-level window of `windowClass` at the stored place (LoadWindowGeometry on the
// screen's size), or at the system's default place when it was stored maximised; `maximised`
// tells which. `param` is the creation parameter.
HWND CreateAtStoredPlace(SettingsStore& user, const wchar_t* windowClass, const std::wstring& caption, DWORD style,
                         HINSTANCE instance, void* param, bool& maximised);
// The show command of the first showing: maximised when it was stored so, otherwise never
// maximised whatever the program was started with.
int FirstShowCommand(int requested, bool maximised);

// The layout values written when the user finishes moving or sizing and when the window closes.
struct LayoutState {
    bool smartRecord = false;
    int recordListWidth = 120;
    int selectedRecord = -1;
};
// A normal window stores its geometry and state 1; a maximised or minimised one only state 0,
// keeping the geometry it had. The selected record is stored through StoreSelectedRecord.
void SaveWindowLayout(SettingsStore& user, HWND window, const LayoutState& state);
// The record list's selection, the index the next start shows: the only writer of that value.
void StoreSelectedRecord(SettingsStore& user, int index);

// Where Tab (or Shift+Tab, `backwards`) moves the focus among the controls of `order`: the next
// one that `canFocus` accepts after the one holding `focus` (the control itself or a child of
// it, such as a combo box's edit), round the end. From outside the order, the first (the last
// going backwards). Null when no control can take the focus.
HWND NextTabStop(const std::vector<HWND>& order, HWND focus, bool backwards,
                 const std::function<bool(HWND)>& canFocus);

// The control of `order` whose caption marks `letter` for Alt, among those `canUse` accepts;
// where captions share a letter, the first in the order keeps it. Null when none marks it.
HWND MnemonicOwner(const std::vector<HWND>& order, wchar_t letter, const std::function<bool(HWND)>& canUse);

}  // namespace tv
