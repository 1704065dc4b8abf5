#pragma once
// "Replay Settings": the question asked before a whole record is opened again. It asks whether to
// go on and whether to open each item's first document or all its documents.
#include <windows.h>

#include <string>

#include "ui/dialogs/question_dialog.h"

namespace tv {

// The dialog's height at 96 dots per inch.
constexpr int kReplayHeight = 210;

// "Are you sure you want to launch these <count> items in '<recordName>'?   ".
std::wstring ReplayQuestionText(const std::wstring& recordName, int count);

class TfrmReplayWhenWinStart : public QuestionDialog {
public:
    explicit TfrmReplayWhenWinStart(Options& options);

    // Asks before the record `recordName` is replayed; it has `topLevelCount` items, and
    // `allCount` counting the documents of each. The choice between the first document and all of
    // them starts as the live option. When confirmed ("&Yes"): answers true, and the choice and
    // the question itself go into the live options and are written. Otherwise nothing changes.
    bool Ask(HWND owner, const std::wstring& recordName, int topLevelCount, int allCount);

    // Controls, named as the program has always named them.
    HWND ImgQuestion = nullptr, lbHint = nullptr;
    HWND RbReplayFirstChildDoc = nullptr, RbReplayAllChildDoc = nullptr;
    HWND CbDonotshow = nullptr, BtnCancel = nullptr;

private:
    void CreateControls() override;
    void ForgetControls() override;
    void Shown() override { ShowCount(); }
    HWND FirstFocus() override { return BtnConfirm; }
    void OnCommand(HWND control, int code) override;
    void ShowCount();

    std::wstring recordName_;
    int topLevelCount_ = 0, allCount_ = 0;
};

}  // namespace tv
