#pragma once
// Drawing the menu item's picture; its device contexts and objects are held by the owners of
// base/handles.h.
#include <windows.h>

#include "base/handles.h"

namespace tv::menu {

// Draws `bitmap` at (x, y) with every pixel of `transparent` colour leaving the target as it
// was. The bitmap itself is not changed. False when it could not be drawn.
bool DrawTransparentBitmap(HDC target, HBITMAP bitmap, int x, int y, COLORREF transparent);

}  // namespace tv::menu
