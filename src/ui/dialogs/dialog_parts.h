#pragma once
// Pieces the dialogs share: control creation at the screen's dots per inch in the dialog font,
// check boxes and sliders, caption sizes, and the resume marker cleared when a dialog shows.
#include <windows.h>

#include <string>

namespace tv {

class Options;

// Background of an input box whose text was refused: pure red (colour value 255).
constexpr COLORREF kRefusedBoxColour = RGB(255, 0, 0);
constexpr COLORREF kInputBoxColour = RGB(255, 255, 255);

bool Checked(HWND box);
void Check(HWND box, bool on);

int SliderPos(HWND slider);
// Sets the range and the tick spacing of a slider.
void SetUpSlider(HWND slider, int low, int high, int tickEvery);

// A visible child control of `parent` with the dialog's font; places and sizes are given at 96
// dots per inch and scaled to `dpi`.
HWND CreateControl(HWND parent, HFONT font, int dpi, const wchar_t* cls, const wchar_t* text, DWORD style, int x,
                   int y, int w, int h, int id = 0, DWORD exStyle = 0);

// The width (and, in `height`, the height) a check box, radio button or one-line label needs for
// its text in `font`; 0 for other controls and for empty texts.
int CaptionNeeds(HWND control, HFONT font, int dpi, int& height);

// The height the text of a word-wrapping label needs at `width` pixels in `font`.
int WrappedTextHeight(HWND control, HFONT font, int width);

// Page tabs are drawn by the program (the active one bold), except in a 32-bit process on 64-bit
// Windows, where the system draws them.
bool TabsDrawnByProgram();
// Draws one owner-drawn tab: its caption centred on one line, bold when `active`.
void DrawTabCaption(const DRAWITEMSTRUCT& dis, const wchar_t* caption, bool active, HFONT regular, HFONT bold);

// The strip offering to restart the program elevated: a panel holding a word-wrapping hint and,
// at its right, the box "Run TolVane as admin" (sized to its caption). The panel passes its
// controls' messages on to the dialog, so the box's clicks reach the dialog as WM_COMMAND with
// `boxId`. Created hidden.
struct AdminStrip {
    HWND panel = nullptr, hint = nullptr, box = nullptr;
};
AdminStrip CreateAdminStrip(HWND dialog, HFONT font, int dpi, const wchar_t* text, int boxId);
// Puts the strip at `place` (the dialog's client pixels): the box centred at the right, the hint
// filling the rest.
void PlaceAdminStrip(const AdminStrip& strip, const RECT& place, int dpi);
// The height the strip needs at `width` pixels for its hint and box.
int AdminStripHeight(const AdminStrip& strip, HFONT font, int width, int dpi);

// Writes `marker` and asks for the elevated restart. When it did not start, the marker is put
// back as it was, so the next ordinary start reopens nothing. True when it started.
bool RestartElevated(Options& options, int marker);

// Clears the "openwindow" resume marker of the shared settings file, as every dialog does when it
// shows; a user who may not write that file simply has no marker.
void WriteResumeMarker(Options& options, int marker);

}  // namespace tv
