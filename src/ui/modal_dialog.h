#pragma once
// What every dialog of the program shares: its window class, the dialog font, its place over
// the owner, and showing it modally. While it shows, its owner is disabled; the loop lets the
// dialog manager handle Tab, the arrows and mnemonics (IsDialogMessage), Enter confirms and
// Escape cancels. Afterwards the owner is enabled and active again and the dialog hidden.
#include <windows.h>

#include <functional>

#include "base/handles.h"

namespace tv {

// Registers a dialog window class (the face colour, the arrow cursor) unless it is registered
// already. False when it is neither.
bool RegisterDialogClass(const wchar_t* name, WNDPROC proc, HICON icon = nullptr);

// Where a window of `size` whose top-left corner is wanted at `at` goes so that it stays inside
// `workArea` (when it is larger than the area, its top-left corner stays inside).
POINT FitOnWorkArea(POINT at, SIZE size, const RECT& workArea);

// Where a window of `size` goes to stand centred over `owner`, kept on `workArea`.
POINT CentredOver(const RECT& owner, SIZE size, const RECT& workArea);

// Places a dialog centred over its owner window, or over the work area without one (or with a
// hidden or minimised one).
void CentreOverOwner(HWND dialog, HWND owner);

// Places a dialog with its top-left corner at `at` (screen pixels), kept on that monitor's work area.
void PlaceAt(HWND dialog, POINT at);

class ModalDialog {
public:
    // What the dialog does with its keys and with the end of its loop.
    struct Behaviour {
        std::function<void()> focusFirst;        // once shown: the control that starts with the focus
        std::function<void()> confirm;           // Enter (the dialog decides whether it closes)
        std::function<void()> cancel;            // Escape, and the program ending while it shows
        std::function<bool(const MSG&)> keys;    // the dialog's own keys, seen first; true when taken
    };

    ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // The font of the dialog's controls (the message font), made once and owned here.
    HFONT Font();

    // Shows `dialog` modally over its owner until End is called, the dialog is destroyed or the
    // program ends (whose quit message is left for the main loop). Answers End's answer; false
    // when already running.
    bool Run(HWND dialog, const Behaviour& behaviour);
    // Ends the loop with `confirmed` as its answer.
    void End(bool confirmed);
    bool running() const { return running_; }
    // Cancels every dialog showing now, innermost first, as Escape would: the program was asked
    // to close (from outside, as at logoff) while a question was up.
    static void CancelAllShowing();
    // Enter and Escape (and the dialog's own keys) for a key message meant for `dialog`; true
    // when the message was taken.
    static bool TranslateKey(HWND dialog, const MSG& msg, const Behaviour& behaviour);

private:
    GdiOwner<HFONT> font_;
    bool running_ = false;
    bool cancelledFromOutside_ = false;
    bool ended_ = false;
    bool confirmed_ = false;
};

}  // namespace tv
