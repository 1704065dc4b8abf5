#pragma once
// What the questions asked before a recording, a Smart Record and a replay share: a window made
// on first use and kept, shown modally over its owner; a "Don't show again" box whose hint shows
// only while it is ticked; the confirm and cancel buttons; and, where some running programs can
// only be recorded by an elevated program, a strip offering to run the program as administrator,
// shown only when it does not run so.
#include <windows.h>

#include <vector>

#include "app/options.h"
#include "ui/modal_dialog.h"

namespace tv {

class QuestionDialog {
public:
    virtual ~QuestionDialog();
    QuestionDialog(const QuestionDialog&) = delete;
    QuestionDialog& operator=(const QuestionDialog&) = delete;

    HWND hwnd() const { return hwnd_; }
    bool adminStripShown() const { return stripShown_; }

    // The shared controls, named as the program has always named them (the cancel button and
    // the "Don't show again" box carry each dialog's own names there).
    HWND LblHint = nullptr, PanelHint = nullptr, lbAdminHint = nullptr, CbRunAsAdmin = nullptr;
    HWND BtnConfirm = nullptr;

protected:
    // The fixed parts of a dialog; sizes at 96 dots per inch.
    struct Frame {
        const wchar_t* className;
        const wchar_t* caption;
        int width;
        int height;            // of the whole window, elevated (or with no strip)
        int heightWithStrip;   // not elevated; 0 for a dialog without the strip
        int contentBottom;     // where the dialog's own controls end and the hint begins
        int resumeMarker;      // what an elevated restart reopens; kResumeNone without the strip
    };

    QuestionDialog(Options& options, const Frame& frame);

    // Makes the window and its controls unless they exist. False when it could not.
    bool Create(HWND owner);
    // Shows the dialog modally over `owner` until it closes; true when confirmed. An elevated
    // restart asked for from the strip starts once the dialog is gone.
    bool ShowModal(HWND owner);
    void End(bool confirmed) { modal_.End(confirmed); }
    // A question already showing is not asked again until it is answered.
    bool showing() const { return modal_.running(); }

    // The dialog's own controls, in tab order, followed by its calls of the shared ones below.
    virtual void CreateControls() = 0;
    // Handles that belonged to the window just destroyed.
    virtual void ForgetControls() = 0;
    // Fills what depends on the moment of showing; called before the window shows.
    virtual void Shown() {}
    // The control that starts with the focus.
    virtual HWND FirstFocus() { return BtnConfirm; }
    virtual void Confirm() { End(true); }
    virtual void OnCommand(HWND /*control*/, int /*code*/) {}
    virtual void OnSlider(HWND /*slider*/) {}
    // The brush for an edit box or label of the dialog's own; null for the usual one.
    virtual HBRUSH OnColour(HWND /*control*/, HDC /*dc*/) { return nullptr; }

    // The shared controls. The hint label stands under the dialog's own controls, the box and the
    // buttons in the bottom row; the strip above that row.
    HWND CreateDontShowBox(const wchar_t* hint);
    void CreateAdminStrip(const wchar_t* text);
    HWND CreateButtons(const wchar_t* confirmCaption, const wchar_t* cancelCaption);  // the cancel button

    HWND Control(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id = 0,
                 DWORD exStyle = 0);
    // A word-wrapping label of the dialog's own that reaches the right margin; the dialog widens
    // until its text fits its height.
    void StretchToRight(HWND label) { stretched_.push_back(label); }
    int S(int v) const { return MulDiv(v, dpi_, 96); }

    Options& options_;
    HFONT font_ = nullptr;  // the modal helper's
    int dpi_ = 96;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void Command(HWND control, int code);
    void Cancel() { End(false); }
    void DontShowClick();
    void AdminBoxClick();
    void ShowStripForElevation();
    void Arrange();
    void FitTexts();

    Frame frame_;
    HWND hwnd_ = nullptr;
    HWND dontShow_ = nullptr, cancel_ = nullptr;
    std::vector<HWND> stretched_;
    bool stripShown_ = false;
    bool adminRequested_ = false;
    ModalDialog modal_;
};

}  // namespace tv
