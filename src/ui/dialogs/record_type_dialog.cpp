#include "ui/dialogs/record_type_dialog.h"

#include <commctrl.h>

#include "app/startup.h"
#include "base/file_util.h"
#include "base/strings.h"
#include "records/record_library.h"
#include "ui/dialogs/dialog_parts.h"
#include "ui/dialogs/rename_dialog.h"
#include "ui/window_text.h"
#include "app/settings_keys.h"

namespace tv {

namespace {
constexpr int kWidth = 590;
constexpr int kContentBottom = 142;
constexpr wchar_t kHint[] =
    L"This window will no longer display the next operation.To reset,you can go to \"Settings\",\"Record\","
    L"Select \"Ask for action when record\"";
constexpr wchar_t kAdminHint[] =
    L"Some running programs require the admin to be recorded,including Installer or other programs that run as "
    L"admin. For a full vistion of \"Running Programs Record\",you can select \"Run TolVane as admin\".";
}  // namespace

TFrmRecordType::TFrmRecordType(Options& options, Prompter& prompter)
    : QuestionDialog(options, Frame{L"TFrmRecordType", L"Running Record Action", kWidth, kRecordTypeHeight,
                                    kRecordTypeHeightWithStrip, kContentBottom, kResumeRecord}),
      prompter_(prompter) {}

TFrmRecordType::~TFrmRecordType() = default;

void TFrmRecordType::CreateControls() {
    const DWORD box = BS_AUTOCHECKBOX | WS_TABSTOP;
    RgRecordType = Control(WC_BUTTONW, L"Record Type", BS_GROUPBOX, 8, 4, 262, 44);
    RbNewRecord =
        Control(WC_BUTTONW, L"Create a new file", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 18, 22, 118, 20);
    RbAddToRecord = Control(WC_BUTTONW, L"Add to exist file", BS_AUTORADIOBUTTON, 140, 22, 122, 20);
    LblRename = Control(WC_STATICW, L"Rename to", SS_LEFT | SS_NOPREFIX, 284, 25, 58, 16);
    EdtRename = Control(WC_EDITW, L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, 346, 21, 232, 23, 0, WS_EX_CLIENTEDGE);

    CbWebpage = Control(WC_BUTTONW, L"Record Running Web Pages", box | WS_GROUP, 10, 54, 180, 20);
    CbInstalledPrograms = Control(WC_BUTTONW, L"Record Installed Programs", box, 10, 76, 180, 20);
    // Always part of a recording; shown so the user sees what a recording takes.
    CbRecRecentPrograms = Control(WC_BUTTONW, L"Record Recent Progarms", box | WS_DISABLED, 10, 98, 180, 20);
    CbRecRecentFolders = Control(WC_BUTTONW, L"Record Recent Folders", box | WS_DISABLED, 10, 120, 180, 20);
    Check(CbRecRecentPrograms, true);
    Check(CbRecRecentFolders, true);

    CbRecrodRecentDocument = Control(WC_BUTTONW, L"Record Recent Documents", box, 200, 54, 180, 20);
    lbRecRecentDoc = Control(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, 202, 76, 205, 16);
    tbRecRecentDoc = Control(TRACKBAR_CLASSW, L"", TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 196, 92, 200, 26);
    SetUpSlider(tbRecRecentDoc, kRecentDocDaysMin, kRecentDocDaysMax, 5);

    CbFilterPCStart = Control(WC_BUTTONW, L"Filter Startup Program", box, 412, 54, 166, 20);
    cbDisplayPCStartFilterList = Control(WC_BUTTONW, L"Show Shartup Program Filter", box, 412, 76, 166, 20);

    cbDonotShowRecordSettings = CreateDontShowBox(kHint);
    CreateAdminStrip(kAdminHint);
    SpeedButton1 = CreateButtons(L"&Confirm", L"&Cancel");
}

void TFrmRecordType::ForgetControls() {
    RgRecordType = RbNewRecord = RbAddToRecord = LblRename = EdtRename = nullptr;
    CbWebpage = CbRecRecentPrograms = CbRecRecentFolders = CbInstalledPrograms = nullptr;
    CbRecrodRecentDocument = lbRecRecentDoc = tbRecRecentDoc = nullptr;
    CbFilterPCStart = cbDisplayPCStartFilterList = cbDonotShowRecordSettings = SpeedButton1 = nullptr;
}

void TFrmRecordType::OptionsToControls() {
    const LiveOptions& v = options_.values;
    Check(RbNewRecord, v.recordType == 0);
    Check(RbAddToRecord, v.recordType == 1);
    Check(CbWebpage, v.recordWebPages);
    Check(CbRecrodRecentDocument, v.recordRecentDocuments);
    SendMessageW(tbRecRecentDoc, TBM_SETPOS, TRUE, ClampRecentDocDays(v.recentDocDays));
    Check(CbFilterPCStart, v.filterWindowsStart);
    Check(cbDisplayPCStartFilterList, v.showStartFilterList);
    Check(cbDonotShowRecordSettings, !v.askWhenRecord);
    Check(CbInstalledPrograms, false);
}

void TFrmRecordType::ControlsToOptions() {
    LiveOptions& v = options_.values;
    v.recordType = Checked(RbAddToRecord) ? 1 : 0;
    v.recordWebPages = Checked(CbWebpage);
    v.recordRecentDocuments = Checked(CbRecrodRecentDocument);
    v.recentDocDays = ClampRecentDocDays(SliderPos(tbRecRecentDoc));
    v.filterWindowsStart = Checked(CbFilterPCStart);
    v.showStartFilterList = Checked(cbDisplayPCStartFilterList);
    v.askWhenRecord = !Checked(cbDonotShowRecordSettings);
}

bool TFrmRecordType::Ask(HWND owner, const std::wstring& newRecordName, const std::wstring& selectedRecordName,
                         std::wstring& chosenName) {
    if (showing() || !Create(owner)) return false;
    newName_ = newRecordName;
    selectedName_ = selectedRecordName;
    OptionsToControls();
    options_.SaveOptions({keys::kShowStartFilterList});
    if (!ShowModal(owner)) return false;
    installedPrograms_ = Checked(CbInstalledPrograms);
    ControlsToOptions();
    options_.SaveOptions({keys::kRecordWebPages, keys::kRecordRecentDocuments, keys::kRecentDocDays, keys::kFilterWindowsStart,
                          keys::kShowStartFilterList, keys::kAskWhenRecord, keys::kRecordType});
    chosenName = chosenName_;
    return true;
}

void TFrmRecordType::Shown() {
    FillNameBox();
    // Setting a slider's position raises no change event, so the caption follows here.
    tbRecRecentDocChange();
    CbRecrodRecentDocumentClick();
}

HWND TFrmRecordType::FirstFocus() {
    if (IsWindowEnabled(EdtRename)) return EdtRename;
    return Checked(RbAddToRecord) ? RbAddToRecord : RbNewRecord;
}

void TFrmRecordType::RgRecordTypeClick() {
    // A click on the type already chosen changes nothing, and keeps what was typed.
    if (Checked(RbAddToRecord) != addingShown_) FillNameBox();
}

void TFrmRecordType::FillNameBox() {
    // The box shows the name the chosen type records into; what was typed goes.
    const bool adding = Checked(RbAddToRecord);
    addingShown_ = adding;
    const std::wstring& name = adding && !selectedName_.empty() ? selectedName_ : newName_;
    SetWindowTextW(EdtRename, name.c_str());
    EnableWindow(EdtRename, !adding);
    SetNameColour(adding ? kFixedNameColour : kInputBoxColour);
}

void TFrmRecordType::CbRecrodRecentDocumentClick() {
    const int show = Checked(CbRecrodRecentDocument) ? SW_SHOW : SW_HIDE;
    ShowWindow(lbRecRecentDoc, show);
    ShowWindow(tbRecRecentDoc, show);
}

void TFrmRecordType::tbRecRecentDocChange() {
    SetWindowTextW(lbRecRecentDoc, RecentDocCaption(SliderPos(tbRecRecentDoc)).c_str());
}

void TFrmRecordType::SetNameColour(COLORREF colour) {
    if (nameBrush_ && colour == nameColour_) return;
    nameColour_ = colour;
    nameBrush_.reset(CreateSolidBrush(colour));
    InvalidateRect(EdtRename, nullptr, TRUE);
}

void TFrmRecordType::Confirm() {
    const std::wstring name = Trim(TextOf(EdtRename));
    if (name.empty()) {
        SetNameColour(kRefusedBoxColour);
        SetFocus(EdtRename);
        return;
    }
    // A new record under a name another record has would replace that one.
    const std::wstring path = JoinPath(options_.RecordFolder(), name + kRecordExtension);
    if (Checked(RbNewRecord) && FileExists(path) && !prompter_.Ask(hwnd(), ReplaceRecordQuestion(path))) {
        SetFocus(EdtRename);
        SendMessageW(EdtRename, EM_SETSEL, 0, -1);
        return;
    }
    SetNameColour(kInputBoxColour);
    chosenName_ = name;
    End(true);
}

void TFrmRecordType::OnCommand(HWND c, int code) {
    if (code != BN_CLICKED) return;
    if (c == RbNewRecord || c == RbAddToRecord) RgRecordTypeClick();
    else if (c == CbRecrodRecentDocument) CbRecrodRecentDocumentClick();
}

void TFrmRecordType::OnSlider(HWND slider) {
    if (slider == tbRecRecentDoc) tbRecRecentDocChange();
}

HBRUSH TFrmRecordType::OnColour(HWND control, HDC dc) {
    // An edit box that cannot be edited asks with WM_CTLCOLORSTATIC, so both ways end here.
    if (control != EdtRename || !nameBrush_) return nullptr;
    SetBkColor(dc, nameColour_);
    return nameBrush_.get();
}

}  // namespace tv
