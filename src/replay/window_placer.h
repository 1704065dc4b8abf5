#pragma once
// Putting a window that replay started back where it was recorded.
#include <windows.h>

#include <functional>
#include <vector>

#include "records/window_place.h"

namespace tv {

// Replay waits this long at most for the window of a program it started.
constexpr DWORD kPlaceWaitMs = 10000;

// The first visible top-level window without an owner of process `pid`; null when it has none.
HWND VisibleWindowOf(DWORD pid);

// Waits for a visible top-level window of `process`, calling `wait` between looks (it keeps the
// caller's window live), and moves it to `place`, put onto the monitors of this session. Gives
// up when the process has ended or `timeoutMs` has passed. The window moved, or null.
HWND PlaceStartedWindow(HANDLE process, const WindowPlace& place, DWORD timeoutMs, const std::function<void()>& wait);

}  // namespace tv
