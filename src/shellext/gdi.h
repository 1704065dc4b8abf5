#pragma once
// Owners for the drawing resources the menu item uses: each frees or puts back what it holds.
#include <windows.h>

#include <utility>

namespace tv::menu {

class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    ~GdiObject() { reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    void reset(HGDIOBJ object = nullptr) {
        if (object_) DeleteObject(object_);
        object_ = object;
    }

private:
    HGDIOBJ object_ = nullptr;
};

// Selects an object into a device context and puts the previous one back at the end.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    bool ok() const { return old_ != nullptr && old_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Draws `bitmap` at (x, y) with every pixel of `transparent` colour leaving the target as it
// was. The bitmap itself is not changed. False when it could not be drawn.
bool DrawTransparentBitmap(HDC target, HBITMAP bitmap, int x, int y, COLORREF transparent);

}  // namespace tv::menu
