#pragma once
// Small helpers every window of the program uses for its texts and fonts.
#include <windows.h>

#include <string>

namespace tv {

// The whole text of a window or control.
std::wstring TextOf(HWND window);

// The font of message boxes, which native dialogs use for their controls, in `weight`.
HFONT MessageFont(int weight = FW_NORMAL);

}  // namespace tv
