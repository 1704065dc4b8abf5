#include "shellext/gdi.h"

namespace tv::menu {

namespace {
// Destination AND NOT source: clears the picture where the mask marks it transparent.
constexpr DWORD kAndNotSource = 0x00220326;
}  // namespace

bool DrawTransparentBitmap(HDC target, HBITMAP bitmap, int x, int y, COLORREF transparent) {
    BITMAP info = {};
    if (!target || !bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return false;

    MemoryDC image(target);
    if (!image) return false;
    SelectedObject imageBitmap(image.get(), bitmap);
    if (!imageBitmap.ok()) return false;
    SetMapMode(image.get(), GetMapMode(target));
    POINT size = {info.bmWidth, info.bmHeight};
    DPtoLP(image.get(), &size, 1);
    const int w = size.x, h = size.y;

    // Mask: 1 where the picture has the transparent colour, 0 elsewhere.
    MemoryDC mask(target), background(target), picture(target);
    if (!mask || !background || !picture) return false;
    GdiObject maskBitmap(CreateBitmap(w, h, 1, 1, nullptr));
    GdiObject backgroundBitmap(CreateCompatibleBitmap(target, w, h));
    GdiObject pictureBitmap(CreateCompatibleBitmap(target, w, h));
    if (!maskBitmap || !backgroundBitmap || !pictureBitmap) return false;
    SelectedObject s1(mask.get(), maskBitmap.get()), s2(background.get(), backgroundBitmap.get()),
        s3(picture.get(), pictureBitmap.get());
    if (!s1.ok() || !s2.ok() || !s3.ok()) return false;

    COLORREF oldBack = SetBkColor(image.get(), transparent);
    BitBlt(mask.get(), 0, 0, w, h, image.get(), 0, 0, SRCCOPY);
    SetBkColor(image.get(), oldBack);

    // A monochrome source paints its 1 bits in the background colour and its 0 bits in the
    // text colour of the destination: white and black make it a plain bit mask.
    for (HDC dc : {background.get(), picture.get()}) {
        SetBkColor(dc, RGB(255, 255, 255));
        SetTextColor(dc, RGB(0, 0, 0));
    }
    // What lies under the picture, kept only where the picture is transparent...
    BitBlt(background.get(), 0, 0, w, h, target, x, y, SRCCOPY);
    BitBlt(background.get(), 0, 0, w, h, mask.get(), 0, 0, SRCAND);
    // ...the picture, kept only where it is not...
    BitBlt(picture.get(), 0, 0, w, h, image.get(), 0, 0, SRCCOPY);
    BitBlt(picture.get(), 0, 0, w, h, mask.get(), 0, 0, kAndNotSource);
    // ...and the two together.
    BitBlt(background.get(), 0, 0, w, h, picture.get(), 0, 0, SRCPAINT);
    return BitBlt(target, x, y, w, h, background.get(), 0, 0, SRCCOPY) != FALSE;
}

}  // namespace tv::menu
