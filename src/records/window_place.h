#pragma once
// Where a program window stood when it was recorded: its normal (restored) rectangle, how it
// was shown, and the monitor it was on. A record keeps it as extra attributes of the window's
// item; replay puts the window it starts back there, onto a monitor that exists now.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tv {

enum class ShownState { Normal, Maximised, Minimised };

struct MonitorArea {
    std::wstring device;  // "\\.\DISPLAY1"
    RECT work{};          // its work area, screen coordinates
    RECT bounds{};        // the whole monitor; known for the monitors of this session only
};

struct WindowPlace {
    bool known = false;
    RECT normal{};  // screen coordinates
    ShownState shown = ShownState::Normal;
    MonitorArea monitor;
};

// The place as attributes of a record item (name, value), in the order they are written; none
// for an unknown place.
std::vector<std::pair<const wchar_t*, std::wstring>> PlaceAttributes(const WindowPlace& place);
// The place from an item's attributes; `attribute` answers false for one the item lacks. Unknown
// unless all are there and readable.
using AttributeReader = std::function<bool(const wchar_t* name, std::wstring& value)>;
WindowPlace PlaceFromAttributes(const AttributeReader& attribute);

// Where a stored place goes on the monitors there are now: the monitor of the same device, or
// else the one nearest the stored work area; the same place relative to the work area when that
// differs from the stored one; and always wholly inside the work area (no larger than it).
// The result's monitor is the chosen one. An empty list leaves the place as it is.
WindowPlace PlaceOnMonitors(const WindowPlace& stored, const std::vector<MonitorArea>& monitors);

// The monitors of this session, and the place of a window as the system keeps it (null when
// the window is gone).
std::vector<MonitorArea> CurrentMonitors();
WindowPlace PlaceOfWindow(HWND window);
// The same, asking the system about each monitor once while `known` is kept: a scan of many
// windows on a few monitors.
using KnownMonitors = std::vector<std::pair<HMONITOR, MonitorArea>>;
WindowPlace PlaceOfWindow(HWND window, KnownMonitors& known);
// Moves a window to a place on a monitor of this session, in its shown state.
bool PutWindowAt(HWND window, const WindowPlace& place);

}  // namespace tv
