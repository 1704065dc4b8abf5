#pragma once
// "Smart Record Settings": the question asked before Smart Record starts. It takes the recording
// options and the interval between recordings.
#include <windows.h>

#include "ui/dialogs/question_dialog.h"

namespace tv {

// The dialog's height (at 96 dots per inch) elevated, and not elevated with the strip.
constexpr int kSmartRecordHeight = 228;
constexpr int kSmartRecordHeightWithStrip = 268;

class TFrmSmartRecordSettings : public QuestionDialog {
public:
    explicit TFrmSmartRecordSettings(Options& options);

    // Asks before Smart Record starts, the interval slider at `interval` seconds. When confirmed:
    // answers true with the interval chosen in `chosenInterval`; the recording options shown (web
    // pages, recent documents and their age, the start-up filter and its list, the question
    // itself) go back into the live options, and all but the age and the list are written.
    // Otherwise nothing changes (false).
    bool Ask(HWND owner, int interval, int& chosenInterval);

    // Controls, named as the program has always named them.
    HWND CbWebpage = nullptr, CbRecrodRecentDocument = nullptr, lbRecRecentDoc = nullptr, tbRecRecentDoc = nullptr;
    HWND CbFilterPCStart = nullptr, cbDisplayPCStartFilterList = nullptr;
    HWND lbRecording = nullptr, tbRecordInterval = nullptr;
    HWND cbDoNotShowSmartSetting = nullptr, BtnCancel = nullptr;

private:
    void CreateControls() override;
    void ForgetControls() override;
    void Shown() override;
    HWND FirstFocus() override { return CbWebpage; }
    void OnCommand(HWND control, int code) override;
    void OnSlider(HWND slider) override;

    void CbRecrodRecentDocumentClick();
    void tbRecRecentDocChange();
    void tbRecordIntervalChange();
};

}  // namespace tv
