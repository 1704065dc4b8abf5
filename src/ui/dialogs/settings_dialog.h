#pragma once
// The settings dialog "Settings": edits the live options. Confirm writes them to the user
// settings file and applies them; every other way of closing leaves the file alone.
#include <windows.h>

#include <functional>
#include <string>

#include "app/options.h"
#include "replay/shell_calls.h"
#include "ui/modal_dialog.h"

namespace tv {

// A folder chosen by the user, or empty. Starts at `startFolder`, or at Program Files when that
// is not an existing folder.
std::wstring PickFolder(HWND owner, const std::wstring& title, const std::wstring& startFolder);
using FolderPicker = std::function<std::wstring(HWND owner, const std::wstring& title, const std::wstring& start)>;

// Valid when the trimmed text names an existing folder.
bool IsValidRecordFolder(const std::wstring& pathText);
// Background of a path box: white when valid, pure red (255) when not.
COLORREF PathBoxColour(bool valid);
constexpr wchar_t kMissingFolderHint[] = L"not exists directory.";
// The dialog's height (at 96 dots per inch) with and without the hint strip.
constexpr int kSettingsHeight = 320;
constexpr int kSettingsHeightWithHint = 350;

class TFrmMySettings {
public:
    enum { kPageGeneral = 0, kPageSmartRecord = 1, kPageRecord = 2, kPageReplay = 3, kPageCount = 4 };

    explicit TFrmMySettings(Options& options);
    ~TFrmMySettings();
    TFrmMySettings(const TFrmMySettings&) = delete;
    TFrmMySettings& operator=(const TFrmMySettings&) = delete;

    // Creates the window, hidden; it lives until the owner goes.
    bool Create(HWND owner);
    // The whole opening sequence: load the options, prepare, show modally, and save and apply
    // them when confirmed. True when confirmed.
    bool Open();

    // Parts of the sequence, for callers that drive the dialog themselves.
    void Prepare();       // controls from the live values, hint strip, resume marker
    bool ShowModal();     // runs until the dialog closes; the result
    // Enter confirms and Escape cancels anywhere in the dialog, and Ctrl+Tab turns the pages;
    // true when the key was used.
    bool FormShortCut(const MSG& msg) { return ModalDialog::TranslateKey(hwnd_, msg, Behaviour()); }
    // Gives the focus to the first input control of the shown page.
    void FocusFirstOnPage();

    HWND hwnd() const { return hwnd_; }
    bool confirmed() const { return confirmed_; }
    int activePage() const;
    void SelectPage(int index);
    HWND page(int index) const { return pages_[index]; }
    bool hintStripShown() const { return hintShown_; }
    const std::wstring& pathHint() const { return pathHint_; }
    void SetFolderPicker(FolderPicker picker) { picker_ = std::move(picker); }
    // What "&Open" hands the record folder to; the real shell unless a test records it.
    void SetShellCalls(ShellCalls& shell) { shell_ = &shell; }

    // Controls, named as the program has always named them.
    HWND TntPageControl1 = nullptr;
    HWND lbAddress = nullptr, EdtRecordPath = nullptr, BtnSelectPath = nullptr, BtnOpenDir = nullptr;
    HWND CbRunWhenWS = nullptr, Alwaysontop1 = nullptr;
    HWND lbRecording = nullptr, tbRecordInterval = nullptr, CbShowSettingsWhenRecordSmart = nullptr;
    HWND CbWebpage = nullptr, CbRecrodRecentDocument = nullptr, PnlRecRecentDoc = nullptr,
         lbRecRecentDoc = nullptr, tbRecRecentDoc = nullptr;
    HWND CbFilterPCStart = nullptr, cbDisplayPCStartFilterList = nullptr;
    HWND RgRecordType = nullptr, RbNewRecord = nullptr, RbAddToRecord = nullptr, CbShowSettingsWhenRecord = nullptr;
    HWND RbReplayFirstChildDoc = nullptr, RbReplayAllChildDoc = nullptr, CbShowSettingsWhenReplay = nullptr;
    HWND CbRestoreWindowPlaces = nullptr;
    HWND PnlHint = nullptr, lbHint = nullptr, CheckBox2 = nullptr;
    HWND BtnConfirm = nullptr, BtnCancel = nullptr;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void FormCreate();
    void FormResize();
    void FormCloseQuery();
    void OnCommand(HWND control, int code);
    void OnSlider(HWND slider);
    LRESULT OnDrawItem(const DRAWITEMSTRUCT& dis);

    void BtnConfirmClick();
    void BtnCancelClick();
    void BtnSelectPathClick();
    void BtnOpenDirClick();
    void EdtRecordPathExit();
    void TntPageControl1Change();
    void tbRecordIntervalChange();
    void tbRecRecentDocChange();
    void CbRecrodRecentDocumentClick();
    void CbRunWhenWSClick();
    void CheckBox2Click();

    void ValuesToControls();
    bool ValidatePathBox();  // colours the box and sets its hint
    // Takes a valid folder text as the live record folder and re-reads the record list.
    void AcceptFolder(const std::wstring& text);
    void NoteRunStateChange(bool ticked);
    void UpdateHintStrip();
    void Close(bool confirmed);
    ModalDialog::Behaviour Behaviour();
    bool PageKeys(const MSG& msg);  // Ctrl+Tab and Ctrl+Shift+Tab

    HWND Control(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                 int id = 0, DWORD exStyle = 0);
    int S(int v) const { return MulDiv(v, dpi_, 96); }
    void FitCaptions();

    Options& options_;
    HWND hwnd_ = nullptr;
    HWND pages_[kPageCount] = {};
    HWND tooltip_ = nullptr;
    HFONT font_ = nullptr;  // the modal helper's
    GdiOwner<HFONT> boldFont_;
    GdiOwner<HBRUSH> pathBrush_;
    COLORREF pathColour_ = RGB(255, 255, 255);
    std::wstring pathHint_;
    int dpi_ = 96;
    bool ownerDrawnTabs_ = false;
    bool confirmed_ = false;
    ModalDialog modal_;
    bool prepared_ = false;     // first preparation for showing has happened
    bool lastRunState_ = false; // CbRunWhenWS as last shown
    bool hintArmed_ = false;    // the Run-key box has changed state since
    bool hintShown_ = false;
    bool runAsAdminRequested_ = false;
    bool syncing_ = false;      // controls are being filled from the live values
    FolderPicker picker_ = PickFolder;
    ShellCalls* shell_ = &RealShellCalls();
};

}  // namespace tv
