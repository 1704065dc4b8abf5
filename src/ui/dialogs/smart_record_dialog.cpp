#include "ui/dialogs/smart_record_dialog.h"

#include <commctrl.h>

#include "app/startup.h"
#include "ui/dialogs/dialog_parts.h"
#include "app/settings_keys.h"

namespace tv {

namespace {
constexpr int kWidth = 500;
constexpr int kContentBottom = 104;
constexpr wchar_t kHint[] =
    L"This window will no longer display the next operation.To reset,you can go to \"Settings\",\"Smart Record\","
    L"Select \"Ask for action when Smart Record\"";
constexpr wchar_t kAdminHint[] =
    L"Some running programs require the admin to be recorded,including Installer or other programs that run as "
    L"admin. . For a full vistion of \"Running Programs Record\",you can select \"Run TolVane as admin\".";
}  // namespace

TFrmSmartRecordSettings::TFrmSmartRecordSettings(Options& options)
    : QuestionDialog(options, Frame{L"TFrmSmartRecordSettings", L"Smart Record Settings", kWidth, kSmartRecordHeight,
                                    kSmartRecordHeightWithStrip, kContentBottom, kResumeSmartRecord}) {}

void TFrmSmartRecordSettings::CreateControls() {
    const DWORD box = BS_AUTOCHECKBOX | WS_TABSTOP;
    const DWORD label = SS_LEFT | SS_NOPREFIX;
    const DWORD slider = TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP;
    CbWebpage = Control(WC_BUTTONW, L"Record running web pages", box | WS_GROUP, 10, 10, 220, 20);
    CbRecrodRecentDocument = Control(WC_BUTTONW, L"Record Recent Documents", box, 10, 32, 220, 20);
    lbRecRecentDoc = Control(WC_STATICW, L"", label, 12, 56, 225, 16);
    tbRecRecentDoc = Control(TRACKBAR_CLASSW, L"", slider, 6, 72, 220, 26);
    SetUpSlider(tbRecRecentDoc, kRecentDocDaysMin, kRecentDocDaysMax, 5);

    CbFilterPCStart = Control(WC_BUTTONW, L"Filter Startup Program", box, 250, 10, 230, 20);
    cbDisplayPCStartFilterList = Control(WC_BUTTONW, L"Show Shartup Program Filter", box, 250, 32, 230, 20);
    lbRecording = Control(WC_STATICW, L"", label, 252, 56, 225, 16);
    tbRecordInterval = Control(TRACKBAR_CLASSW, L"", slider, 246, 72, 230, 26);
    SetUpSlider(tbRecordInterval, kRecordIntervalMin, kRecordIntervalMax, 3);

    cbDoNotShowSmartSetting = CreateDontShowBox(kHint);
    CreateAdminStrip(kAdminHint);
    BtnCancel = CreateButtons(L"&Confirm", L"Ca&ncel");
}

void TFrmSmartRecordSettings::ForgetControls() {
    CbWebpage = CbRecrodRecentDocument = lbRecRecentDoc = tbRecRecentDoc = nullptr;
    CbFilterPCStart = cbDisplayPCStartFilterList = lbRecording = tbRecordInterval = nullptr;
    cbDoNotShowSmartSetting = BtnCancel = nullptr;
}

bool TFrmSmartRecordSettings::Ask(HWND owner, int interval, int& chosenInterval) {
    if (showing() || !Create(owner)) return false;
    LiveOptions& v = options_.values;
    Check(CbWebpage, v.recordWebPages);
    Check(CbRecrodRecentDocument, v.recordRecentDocuments);
    SendMessageW(tbRecRecentDoc, TBM_SETPOS, TRUE, ClampRecentDocDays(v.recentDocDays));
    Check(CbFilterPCStart, v.filterWindowsStart);
    Check(cbDisplayPCStartFilterList, v.showStartFilterList);
    Check(cbDoNotShowSmartSetting, !v.askWhenSmartRecord);
    SendMessageW(tbRecordInterval, TBM_SETPOS, TRUE, ClampRecordInterval(interval));
    if (!ShowModal(owner)) return false;

    v.recordWebPages = Checked(CbWebpage);
    v.recordRecentDocuments = Checked(CbRecrodRecentDocument);
    v.recentDocDays = ClampRecentDocDays(SliderPos(tbRecRecentDoc));
    v.filterWindowsStart = Checked(CbFilterPCStart);
    v.showStartFilterList = Checked(cbDisplayPCStartFilterList);
    v.askWhenSmartRecord = !Checked(cbDoNotShowSmartSetting);
    options_.SaveOptions({keys::kRecordWebPages, keys::kRecordRecentDocuments, keys::kFilterWindowsStart, keys::kAskWhenSmartRecord});
    chosenInterval = ClampRecordInterval(SliderPos(tbRecordInterval));
    return true;
}

void TFrmSmartRecordSettings::Shown() {
    // Setting a slider's position raises no change event, so the captions follow here.
    tbRecRecentDocChange();
    tbRecordIntervalChange();
    CbRecrodRecentDocumentClick();
}

void TFrmSmartRecordSettings::CbRecrodRecentDocumentClick() {
    const int show = Checked(CbRecrodRecentDocument) ? SW_SHOW : SW_HIDE;
    ShowWindow(lbRecRecentDoc, show);
    ShowWindow(tbRecRecentDoc, show);
}

void TFrmSmartRecordSettings::tbRecRecentDocChange() {
    SetWindowTextW(lbRecRecentDoc, RecentDocCaption(SliderPos(tbRecRecentDoc)).c_str());
}

void TFrmSmartRecordSettings::tbRecordIntervalChange() {
    SetWindowTextW(lbRecording, IntervalCaption(SliderPos(tbRecordInterval)).c_str());
}

void TFrmSmartRecordSettings::OnCommand(HWND c, int code) {
    if (code == BN_CLICKED && c == CbRecrodRecentDocument) CbRecrodRecentDocumentClick();
}

void TFrmSmartRecordSettings::OnSlider(HWND slider) {
    if (slider == tbRecRecentDoc) tbRecRecentDocChange();
    else if (slider == tbRecordInterval) tbRecordIntervalChange();
}

}  // namespace tv
