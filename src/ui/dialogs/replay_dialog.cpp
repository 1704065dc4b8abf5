#include "ui/dialogs/replay_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "app/startup.h"
#include "ui/dialogs/dialog_parts.h"
#include "app/settings_keys.h"

namespace tv {

namespace {
constexpr int kWidth = 450;
constexpr int kContentBottom = 106;
constexpr wchar_t kHint[] =
    L"This window will no longer display the next operation.To reset,you can go to \"Settings\",\"Replay All\","
    L"Select \"Ask for action when Replay All\"";
}  // namespace

std::wstring ReplayQuestionText(const std::wstring& recordName, int count) {
    return L"Are you sure you want to launch these " + std::to_wstring(count) + L" items in '" + recordName + L"'?   ";
}

TfrmReplayWhenWinStart::TfrmReplayWhenWinStart(Options& options)
    : QuestionDialog(options, Frame{L"TfrmReplayWhenWinStart", L"Replay Settings", kWidth, kReplayHeight, 0,
                                    kContentBottom, kResumeNone}) {}

void TfrmReplayWhenWinStart::CreateControls() {
    ImgQuestion = Control(WC_STATICW, L"", SS_ICON, 12, 12, 32, 32);
    SendMessageW(ImgQuestion, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_QUESTION)), 0);
    lbHint = Control(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, 56, 14, 380, 44);
    StretchToRight(lbHint);
    RbReplayFirstChildDoc = Control(WC_BUTTONW, L"open the first document", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP,
                                    56, 62, 300, 20);
    RbReplayAllChildDoc = Control(WC_BUTTONW, L"Open all the relevant documents", BS_AUTORADIOBUTTON, 56, 84, 300, 20);
    CbDonotshow = CreateDontShowBox(kHint);
    BtnCancel = CreateButtons(L"&Yes", L"&No");
}

void TfrmReplayWhenWinStart::ForgetControls() {
    ImgQuestion = lbHint = RbReplayFirstChildDoc = RbReplayAllChildDoc = CbDonotshow = BtnCancel = nullptr;
}

bool TfrmReplayWhenWinStart::Ask(HWND owner, const std::wstring& recordName, int topLevelCount, int allCount) {
    if (showing() || !Create(owner)) return false;
    recordName_ = recordName;
    topLevelCount_ = topLevelCount;
    allCount_ = allCount;
    LiveOptions& v = options_.values;
    Check(CbDonotshow, !v.askWhenReplay);
    Check(RbReplayFirstChildDoc, !v.replayAllChildren);
    Check(RbReplayAllChildDoc, v.replayAllChildren);
    if (!ShowModal(owner)) return false;
    v.askWhenReplay = !Checked(CbDonotshow);
    v.replayAllChildren = Checked(RbReplayAllChildDoc);
    options_.SaveOptions({keys::kAskWhenReplay, keys::kReplayAllChildren});
    return true;
}

void TfrmReplayWhenWinStart::ShowCount() {
    // All the documents are at least as many items as the record's own.
    const int count = Checked(RbReplayAllChildDoc) ? std::max(topLevelCount_, allCount_) : topLevelCount_;
    SetWindowTextW(lbHint, ReplayQuestionText(recordName_, count).c_str());
}

void TfrmReplayWhenWinStart::OnCommand(HWND c, int code) {
    if (code == BN_CLICKED && (c == RbReplayFirstChildDoc || c == RbReplayAllChildDoc)) ShowCount();
}

}  // namespace tv
