#pragma once
// "Running Record Action": the question asked before a recording started by hand. It chooses
// between a new record and adding to the selected one, names the new record, and takes the
// recording options for this recording and the ones after it.
#include <windows.h>

#include <string>

#include "base/handles.h"
#include "ui/dialogs/prompter.h"
#include "ui/dialogs/question_dialog.h"

namespace tv {

// The dialog's height (at 96 dots per inch) when the program runs elevated, and when it does not
// and shows the strip offering to run it so.
constexpr int kRecordTypeHeight = 242;
constexpr int kRecordTypeHeightWithStrip = 284;
// Background of the name box while it holds the selected record's name and cannot be edited.
constexpr COLORREF kFixedNameColour = RGB(239, 239, 239);

class TFrmRecordType : public QuestionDialog {
public:
    TFrmRecordType(Options& options, Prompter& prompter);
    ~TFrmRecordType() override;

    // Asks before a recording. `newRecordName` is the name a new record gets (a file name without
    // folder or extension), `selectedRecordName` the name of the selected record (empty when none
    // is). Takes the record type and the recording options from the live options, and writes the
    // start-up filter list option at once. When confirmed: answers true with the trimmed name of
    // the record to make or add to in `chosenName`, and the options shown (record type, web pages,
    // recent documents and their age, start-up filter and its list, the question itself) go back
    // into the live options and are written. Otherwise nothing changes (false).
    bool Ask(HWND owner, const std::wstring& newRecordName, const std::wstring& selectedRecordName,
             std::wstring& chosenName);
    // "Record Installed Programs" as last confirmed; it starts unticked on every question.
    bool installedProgramsChosen() const { return installedPrograms_; }
    // The background the name box has now.
    COLORREF nameBoxColour() const { return nameColour_; }

    // Controls, named as the program has always named them.
    HWND RgRecordType = nullptr, RbNewRecord = nullptr, RbAddToRecord = nullptr;
    HWND LblRename = nullptr, EdtRename = nullptr;
    HWND CbWebpage = nullptr, CbRecRecentPrograms = nullptr, CbRecRecentFolders = nullptr,
         CbInstalledPrograms = nullptr;
    HWND CbRecrodRecentDocument = nullptr, lbRecRecentDoc = nullptr, tbRecRecentDoc = nullptr;
    HWND CbFilterPCStart = nullptr, cbDisplayPCStartFilterList = nullptr;
    HWND cbDonotShowRecordSettings = nullptr, SpeedButton1 = nullptr;

private:
    void CreateControls() override;
    void ForgetControls() override;
    void Shown() override;
    HWND FirstFocus() override;
    void Confirm() override;
    void OnCommand(HWND control, int code) override;
    void OnSlider(HWND slider) override;
    HBRUSH OnColour(HWND control, HDC dc) override;

    void RgRecordTypeClick();
    void FillNameBox();
    void CbRecrodRecentDocumentClick();
    void tbRecRecentDocChange();
    void SetNameColour(COLORREF colour);
    void OptionsToControls();
    void ControlsToOptions();

    Prompter& prompter_;
    std::wstring newName_, selectedName_, chosenName_;
    bool installedPrograms_ = false;
    bool addingShown_ = false;  // the type the name box was last filled for
    COLORREF nameColour_ = RGB(255, 255, 255);
    GdiOwner<HBRUSH> nameBrush_;
};

}  // namespace tv
