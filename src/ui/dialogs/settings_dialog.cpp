#include "ui/dialogs/settings_dialog.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "app/folders.h"
#include "app/startup.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "ui/dialogs/dialog_parts.h"
#include "ui/window_text.h"

namespace tv {

namespace {
constexpr wchar_t kDialogClass[] = L"TFrmMySettings";
constexpr wchar_t kPageClass[] = L"TFrmMySettingsPage";
constexpr int kWidth = 440;
constexpr wchar_t kPageCaptions[TFrmMySettings::kPageCount][24] = {L"   General   ", L"   Smart Record   ",
                                                                    L"   Record   ", L"   Replay   "};
enum { IdConfirm = IDOK, IdCancel = IDCANCEL, IdPath = 100, IdFirst };

int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED) SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}
}  // namespace

std::wstring PickFolder(HWND owner, const std::wstring& title, const std::wstring& startFolder) {
    std::wstring start = DirectoryExists(Trim(startFolder)) ? Trim(startFolder) : SpecialFolderPath(CSIDL_PROGRAM_FILES);
    ComScope com;  // the new dialog style needs COM on this thread
    BROWSEINFOW bi{};
    bi.hwndOwner = owner;
    bi.lpszTitle = title.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    bi.lpfn = BrowseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(start.c_str());
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&bi);
    if (!item) return L"";
    wchar_t path[MAX_PATH + 1] = {};
    std::wstring result = SHGetPathFromIDListW(item, path) ? path : L"";
    CoTaskMemFree(item);
    return result;
}

bool IsValidRecordFolder(const std::wstring& pathText) {
    std::wstring t = Trim(pathText);
    return !t.empty() && DirectoryExists(t);
}

COLORREF PathBoxColour(bool valid) { return valid ? kInputBoxColour : kRefusedBoxColour; }

TFrmMySettings::TFrmMySettings(Options& options) : options_(options) {}

TFrmMySettings::~TFrmMySettings() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool TFrmMySettings::Create(HWND owner) {
    if (hwnd_) return true;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterDialogClass(kDialogClass, WndProc, LoadIconW(inst, MAKEINTRESOURCEW(1)));
    RegisterDialogClass(kPageClass, PageProc);
    dpi_ = ScreenDpi();
    font_ = modal_.Font();
    boldFont_.reset(MessageFont(FW_BOLD));
    ownerDrawnTabs_ = TabsDrawnByProgram();

    hwnd_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kDialogClass, L"Settings",
                            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                            S(kWidth), S(kSettingsHeight), owner, nullptr, inst, this);
    if (!hwnd_) return false;
    FormCreate();
    return true;
}

HWND TFrmMySettings::Control(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y,
                             int w, int h, int id, DWORD exStyle) {
    return CreateControl(parent, font_, dpi_, cls, text, style, x, y, w, h, id, exStyle);
}

void TFrmMySettings::FormCreate() {
    const DWORD tabStyle = WS_CLIPSIBLINGS | WS_TABSTOP | (ownerDrawnTabs_ ? TCS_OWNERDRAWFIXED : 0);
    TntPageControl1 = Control(hwnd_, WC_TABCONTROLW, L"", tabStyle, 0, 0, 10, 10);
    for (int i = 0; i < kPageCount; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kPageCaptions[i]);
        TabCtrl_InsertItem(TntPageControl1, i, &item);
        pages_[i] = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                                    hwnd_, nullptr, GetModuleHandleW(nullptr), this);
    }
    const DWORD box = BS_AUTOCHECKBOX | WS_TABSTOP;
    const DWORD label = SS_LEFT | SS_NOPREFIX;

    HWND p = pages_[kPageGeneral];
    lbAddress = Control(p, WC_STATICW, L"Address", SS_LEFT, 10, 10, 200, 16);
    EdtRecordPath = Control(p, WC_EDITW, L"", ES_AUTOHSCROLL | WS_TABSTOP, 10, 28, 300, 23, IdPath, WS_EX_CLIENTEDGE);
    BtnSelectPath = Control(p, WC_BUTTONW, L"&Select", BS_PUSHBUTTON | WS_TABSTOP, 320, 27, 50, 25, IdFirst);
    BtnOpenDir = Control(p, WC_BUTTONW, L"&Open", BS_PUSHBUTTON | WS_TABSTOP, 320, 56, 50, 25, IdFirst);
    CbRunWhenWS = Control(p, WC_BUTTONW, L"Run Tolvane at Startup", box, 10, 96, 300, 20, IdFirst);
    Alwaysontop1 = Control(p, WC_BUTTONW, L"Always on Top", box, 10, 120, 300, 20, IdFirst);

    p = pages_[kPageSmartRecord];
    lbRecording = Control(p, WC_STATICW, L"", label, 10, 12, 300, 16);
    tbRecordInterval = Control(p, TRACKBAR_CLASSW, L"", TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 6, 32, 300, 30);
    SetUpSlider(tbRecordInterval, kRecordIntervalMin, kRecordIntervalMax, 3);
    CbShowSettingsWhenRecordSmart =
        Control(p, WC_BUTTONW, L"Ask for action when Smart Record", box, 10, 76, 300, 20, IdFirst);

    p = pages_[kPageRecord];
    CbWebpage = Control(p, WC_BUTTONW, L"Record web pages", box, 10, 8, 200, 20, IdFirst);
    CbRecrodRecentDocument = Control(p, WC_BUTTONW, L"Record Recent Documents", box, 10, 30, 180, 20, IdFirst);
    PnlRecRecentDoc = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_VISIBLE, S(10), S(52),
                                      S(225), S(50), p, nullptr, GetModuleHandleW(nullptr), this);
    lbRecRecentDoc = Control(PnlRecRecentDoc, WC_STATICW, L"", label, 0, 2, 225, 16);
    tbRecRecentDoc = Control(PnlRecRecentDoc, TRACKBAR_CLASSW, L"", TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 0, 20,
                             200, 28);
    SetUpSlider(tbRecRecentDoc, kRecentDocDaysMin, kRecentDocDaysMax, 5);
    CbFilterPCStart = Control(p, WC_BUTTONW, L"Filter Windows Start", box, 238, 30, 165, 20, IdFirst);
    cbDisplayPCStartFilterList = Control(p, WC_BUTTONW, L"Display Windows Start Filter", box, 238, 52, 165, 20, IdFirst);
    RgRecordType = Control(p, WC_BUTTONW, L"Record Type", BS_GROUPBOX, 10, 104, 390, 44);
    RbNewRecord = Control(p, WC_BUTTONW, L"Create a new file", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 20, 122,
                          170, 20, IdFirst);
    RbAddToRecord = Control(p, WC_BUTTONW, L"Add to exist file", BS_AUTORADIOBUTTON, 200, 122, 170, 20, IdFirst);
    CbShowSettingsWhenRecord =
        Control(p, WC_BUTTONW, L"Ask for action when Record", box | WS_GROUP, 10, 156, 300, 20, IdFirst);

    p = pages_[kPageReplay];
    RbReplayFirstChildDoc = Control(p, WC_BUTTONW, L"Replay First Children Document",
                                    BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 10, 12, 300, 20, IdFirst);
    RbReplayAllChildDoc =
        Control(p, WC_BUTTONW, L"Replay All Children Documents", BS_AUTORADIOBUTTON, 10, 36, 300, 20, IdFirst);
    CbShowSettingsWhenReplay =
        Control(p, WC_BUTTONW, L"Ask for action when Replay All", box | WS_GROUP, 10, 70, 300, 20, IdFirst);
    CbRestoreWindowPlaces = Control(p, WC_BUTTONW, L"Restore window places", box, 10, 94, 300, 20, IdFirst);

    PnlHint = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD, 0, 0, 10, 10, hwnd_, nullptr,
                              GetModuleHandleW(nullptr), this);
    lbHint = Control(PnlHint, WC_STATICW, L"Hint: Please run TolVane as Admin before update \"Run Tolvane at Startup\"",
                     label, 0, 0, 270, 30);
    CheckBox2 = Control(PnlHint, WC_BUTTONW, L"Run TolVane as admin", box, 275, 0, 140, 20, IdFirst);

    BtnConfirm = Control(hwnd_, WC_BUTTONW, L"&Confirm", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0, 80, 25, IdConfirm);
    BtnCancel = Control(hwnd_, WC_BUTTONW, L"Ca&ncel", BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 80, 25, IdCancel);

    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, hwnd_,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(EdtRecordPath);
    ti.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));

    SelectPage(kPageGeneral);
    FormResize();
    FitCaptions();
}

void TFrmMySettings::FitCaptions() {
    // Check boxes, radio buttons and labels as wide and high as their text in the dialog's font,
    // which may be wider than the one the places were chosen for; the dialog widens when a page
    // is too narrow for them.
    int overflow = 0;
    std::vector<HWND> holders(std::begin(pages_), std::end(pages_));
    holders.push_back(PnlRecRecentDoc);
    for (HWND holder : holders) {
        RECT area{};
        GetClientRect(holder, &area);
        for (HWND c = GetWindow(holder, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            int height = 0;
            const int width = CaptionNeeds(c, font_, dpi_, height);
            if (width <= 0) continue;
            RECT r{};
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, holder, reinterpret_cast<POINT*>(&r), 2);
            const int w = std::max<int>(r.right - r.left, width), h = std::max<int>(r.bottom - r.top, height);
            if (w != r.right - r.left || h != r.bottom - r.top)
                SetWindowPos(c, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (holder != PnlRecRecentDoc) overflow = std::max<int>(overflow, r.left + w + S(4) - area.right);
        }
    }
    if (overflow <= 0) return;
    RECT wr{};
    GetWindowRect(hwnd_, &wr);
    SetWindowPos(hwnd_, nullptr, 0, 0, wr.right - wr.left + overflow, wr.bottom - wr.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FormResize();
}

void TFrmMySettings::FormResize() {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const int margin = S(6), buttonH = S(25), buttonW = S(80);
    const int hintH = hintShown_ ? S(kSettingsHeightWithHint - kSettingsHeight) : 0;
    const int buttonsTop = rc.bottom - margin - buttonH;
    SetWindowPos(BtnCancel, nullptr, rc.right - margin - buttonW, buttonsTop, buttonW, buttonH, SWP_NOZORDER);
    SetWindowPos(BtnConfirm, nullptr, rc.right - 2 * margin - 2 * buttonW, buttonsTop, buttonW, buttonH,
                 SWP_NOZORDER);
    const int tabBottom = buttonsTop - margin - hintH;
    SetWindowPos(TntPageControl1, nullptr, margin, margin, rc.right - 2 * margin, tabBottom - margin, SWP_NOZORDER);
    SetWindowPos(PnlHint, nullptr, margin + S(4), tabBottom + S(3), rc.right - 2 * margin - S(4), hintH,
                 SWP_NOZORDER);
    RECT page{margin, margin, rc.right - margin, tabBottom};
    TabCtrl_AdjustRect(TntPageControl1, FALSE, &page);
    for (HWND p : pages_)
        SetWindowPos(p, HWND_TOP, page.left, page.top, page.right - page.left, page.bottom - page.top, 0);
    // The path box takes the width of its strip less room for the buttons beside it.
    const int strip = page.right - page.left - S(20);
    SetWindowPos(EdtRecordPath, nullptr, S(10), S(28), strip - S(55), S(23), SWP_NOZORDER);
    SetWindowPos(BtnSelectPath, nullptr, S(10) + strip - S(50), S(27), S(50), S(25), SWP_NOZORDER);
    SetWindowPos(BtnOpenDir, nullptr, S(10) + strip - S(50), S(56), S(50), S(25), SWP_NOZORDER);
}

int TFrmMySettings::activePage() const { return TabCtrl_GetCurSel(TntPageControl1); }

void TFrmMySettings::SelectPage(int index) {
    TabCtrl_SetCurSel(TntPageControl1, index);
    TntPageControl1Change();
}

void TFrmMySettings::TntPageControl1Change() {
    int active = activePage();
    for (int i = 0; i < kPageCount; ++i) ShowWindow(pages_[i], i == active ? SW_SHOW : SW_HIDE);
    if (active == kPageSmartRecord) tbRecordIntervalChange();
}

void TFrmMySettings::ValuesToControls() {
    syncing_ = true;
    const LiveOptions& v = options_.values;
    SetWindowTextW(EdtRecordPath, v.recordPath.c_str());
    Check(CbRunWhenWS, v.runWhenWindowsStarts);
    NoteRunStateChange(v.runWhenWindowsStarts);
    Check(Alwaysontop1, v.alwaysOnTop);
    Check(CbWebpage, v.recordWebPages);
    Check(CbRecrodRecentDocument, v.recordRecentDocuments);
    SendMessageW(tbRecRecentDoc, TBM_SETPOS, TRUE, ClampRecentDocDays(v.recentDocDays));
    Check(CbFilterPCStart, v.filterWindowsStart);
    Check(cbDisplayPCStartFilterList, v.showStartFilterList);
    Check(RbNewRecord, v.recordType == 0);
    Check(RbAddToRecord, v.recordType == 1);
    Check(CbShowSettingsWhenRecord, v.askWhenRecord);
    Check(CbShowSettingsWhenReplay, v.askWhenReplay);
    Check(CbShowSettingsWhenRecordSmart, v.askWhenSmartRecord);
    Check(RbReplayFirstChildDoc, !v.replayAllChildren);
    Check(RbReplayAllChildDoc, v.replayAllChildren);
    Check(CbRestoreWindowPlaces, v.restoreWindowPlaces);
    SendMessageW(tbRecordInterval, TBM_SETPOS, TRUE, ClampRecordInterval(v.recordInterval));
    syncing_ = false;
    // Setting a slider's position raises no change event, so the captions follow here.
    tbRecRecentDocChange();
    tbRecordIntervalChange();
    CbRecrodRecentDocumentClick();
}

void TFrmMySettings::Prepare() {
    ValuesToControls();
    ValidatePathBox();
    prepared_ = true;
    UpdateHintStrip();
    WriteResumeMarker(options_, kResumeNone);
}

bool TFrmMySettings::Open() {
    if (!hwnd_) return false;
    options_.Load();
    Prepare();
    bool ok = ShowModal();
    // A restart that did not happen leaves the marker as it was and the dialog open again.
    while (runAsAdminRequested_) {
        runAsAdminRequested_ = false;
        if (options_.host().RunAsAdministrator()) break;
        WriteResumeMarker(options_, kResumeNone);
        ok = ShowModal();
    }
    if (ok) options_.SaveAndApply();
    return ok;
}

bool TFrmMySettings::ShowModal() {
    confirmed_ = false;
    CentreOverOwner(hwnd_, GetWindow(hwnd_, GW_OWNER));
    modal_.Run(hwnd_, Behaviour());
    return confirmed_;
}

ModalDialog::Behaviour TFrmMySettings::Behaviour() {
    ModalDialog::Behaviour behaviour;
    behaviour.focusFirst = [this] { FocusFirstOnPage(); };
    behaviour.confirm = [this] { BtnConfirmClick(); };
    behaviour.cancel = [this] { BtnCancelClick(); };
    behaviour.keys = [this](const MSG& msg) { return PageKeys(msg); };
    return behaviour;
}

void TFrmMySettings::FocusFirstOnPage() {
    // The first input control of the shown page, in the order the page holds its controls.
    HWND page = pages_[std::max(0, activePage())];
    HWND first = nullptr;
    for (HWND c = GetWindow(page, GW_CHILD); c && !first; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(c) && IsWindowEnabled(c)) first = c;
        else if ((GetWindowLongW(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && IsWindowVisible(c))
            first = GetNextDlgTabItem(c, nullptr, FALSE);
    }
    SetFocus(first ? first : TntPageControl1);
}

bool TFrmMySettings::PageKeys(const MSG& msg) {
    if (msg.wParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0) return false;
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages, round the ends.
    int step = GetKeyState(VK_SHIFT) < 0 ? kPageCount - 1 : 1;
    HWND focus = GetFocus();
    bool onPage = focus && focus != TntPageControl1 && IsChild(pages_[std::max(0, activePage())], focus);
    SelectPage((activePage() + step) % kPageCount);
    if (onPage) FocusFirstOnPage();
    return true;
}

void TFrmMySettings::Close(bool confirmed) {
    confirmed_ = confirmed;
    FormCloseQuery();
    modal_.End(confirmed);
}

void TFrmMySettings::FormCloseQuery() {
    std::wstring text = TextOf(EdtRecordPath);
    if (IsValidRecordFolder(text)) AcceptFolder(text);
}

void TFrmMySettings::BtnConfirmClick() {
    if (!ValidatePathBox()) {
        SetFocus(EdtRecordPath);
        return;
    }
    Close(true);
}

void TFrmMySettings::BtnCancelClick() { Close(false); }

bool TFrmMySettings::ValidatePathBox() {
    const bool valid = IsValidRecordFolder(TextOf(EdtRecordPath));
    pathColour_ = PathBoxColour(valid);
    pathBrush_.reset(CreateSolidBrush(pathColour_));
    pathHint_ = valid ? L"" : kMissingFolderHint;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(EdtRecordPath);
    ti.lpszText = const_cast<wchar_t*>(pathHint_.c_str());
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    InvalidateRect(EdtRecordPath, nullptr, TRUE);
    return valid;
}

void TFrmMySettings::AcceptFolder(const std::wstring& text) {
    const std::wstring folder = RecordFolderOf(text);
    SetWindowTextW(EdtRecordPath, folder.c_str());
    options_.values.recordPath = folder;
    options_.host().ReadRecordList(folder);
}

void TFrmMySettings::EdtRecordPathExit() {
    if (ValidatePathBox()) AcceptFolder(TextOf(EdtRecordPath));
}

void TFrmMySettings::BtnSelectPathClick() {
    const std::wstring current = TextOf(EdtRecordPath);
    std::wstring chosen = picker_(hwnd_, L"Please Select a Path,Current path is " + current, current);
    if (chosen.empty()) return;
    SetWindowTextW(EdtRecordPath, chosen.c_str());
    if (ValidatePathBox()) AcceptFolder(chosen);
}

void TFrmMySettings::BtnOpenDirClick() {
    shell_->ExecuteW(hwnd_, L"explore", FolderArgument(RecordFolderOf(TextOf(EdtRecordPath))), nullptr, nullptr,
                     SW_SHOWNORMAL);
}

void TFrmMySettings::tbRecordIntervalChange() {
    int seconds = SliderPos(tbRecordInterval);
    options_.values.recordInterval = ClampRecordInterval(seconds);
    SetWindowTextW(lbRecording, IntervalCaption(seconds).c_str());
}

void TFrmMySettings::tbRecRecentDocChange() {
    int days = SliderPos(tbRecRecentDoc);
    options_.values.recentDocDays = ClampRecentDocDays(days);
    SetWindowTextW(lbRecRecentDoc, RecentDocCaption(days).c_str());
}

void TFrmMySettings::CbRecrodRecentDocumentClick() {
    const bool on = Checked(CbRecrodRecentDocument);
    options_.values.recordRecentDocuments = on;
    ShowWindow(PnlRecRecentDoc, on ? SW_SHOW : SW_HIDE);
    // The start-up filter boxes stand 3 pixels right of whatever shows on their left.
    HWND left = on ? PnlRecRecentDoc : CbRecrodRecentDocument;
    RECT r;
    GetWindowRect(left, &r);
    MapWindowPoints(nullptr, pages_[kPageRecord], reinterpret_cast<POINT*>(&r), 2);
    for (HWND box : {CbFilterPCStart, cbDisplayPCStartFilterList}) {
        RECT b;
        GetWindowRect(box, &b);
        MapWindowPoints(nullptr, pages_[kPageRecord], reinterpret_cast<POINT*>(&b), 2);
        SetWindowPos(box, nullptr, r.right + S(3), b.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

void TFrmMySettings::NoteRunStateChange(bool ticked) {
    if (prepared_ && ticked != lastRunState_) hintArmed_ = true;
    lastRunState_ = ticked;
    if (prepared_) UpdateHintStrip();
}

void TFrmMySettings::CbRunWhenWSClick() {
    options_.values.runWhenWindowsStarts = Checked(CbRunWhenWS);
    NoteRunStateChange(options_.values.runWhenWindowsStarts);
}

void TFrmMySettings::UpdateHintStrip() {
    const bool show = hintArmed_ && !options_.host().RunningAsAdmin();
    if (show == hintShown_) return;
    hintShown_ = show;
    RECT wr;
    GetWindowRect(hwnd_, &wr);
    SetWindowPos(hwnd_, nullptr, 0, 0, wr.right - wr.left, S(show ? kSettingsHeightWithHint : kSettingsHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(PnlHint, show ? SW_SHOW : SW_HIDE);
    FormResize();
}

void TFrmMySettings::CheckBox2Click() {
    if (!Checked(CheckBox2)) return;
    Check(CheckBox2, false);
    WriteResumeMarker(options_, kResumeSettings);
    // The elevated restart closes the main window; it runs once this dialog's loop has ended.
    runAsAdminRequested_ = true;
    Close(false);
}

void TFrmMySettings::OnCommand(HWND c, int code) {
    if (syncing_) return;
    if (c == EdtRecordPath) {
        if (code == EN_KILLFOCUS) EdtRecordPathExit();
        return;
    }
    if (code != BN_CLICKED) return;
    LiveOptions& v = options_.values;
    if (c == BtnConfirm) BtnConfirmClick();
    else if (c == BtnCancel) BtnCancelClick();
    else if (c == BtnSelectPath) BtnSelectPathClick();
    else if (c == BtnOpenDir) BtnOpenDirClick();
    else if (c == CbRunWhenWS) CbRunWhenWSClick();
    else if (c == CheckBox2) CheckBox2Click();
    else if (c == CbRecrodRecentDocument) CbRecrodRecentDocumentClick();
    else if (c == Alwaysontop1) v.alwaysOnTop = Checked(c);
    else if (c == CbWebpage) v.recordWebPages = Checked(c);
    else if (c == CbFilterPCStart) v.filterWindowsStart = Checked(c);
    else if (c == cbDisplayPCStartFilterList) v.showStartFilterList = Checked(c);
    else if (c == RbNewRecord || c == RbAddToRecord) v.recordType = Checked(RbAddToRecord) ? 1 : 0;
    else if (c == CbShowSettingsWhenRecord) v.askWhenRecord = Checked(c);
    else if (c == CbShowSettingsWhenReplay) v.askWhenReplay = Checked(c);
    else if (c == CbShowSettingsWhenRecordSmart) v.askWhenSmartRecord = Checked(c);
    else if (c == RbReplayFirstChildDoc || c == RbReplayAllChildDoc) v.replayAllChildren = Checked(RbReplayAllChildDoc);
    else if (c == CbRestoreWindowPlaces) v.restoreWindowPlaces = Checked(c);
}

void TFrmMySettings::OnSlider(HWND slider) {
    if (syncing_) return;
    if (slider == tbRecordInterval) tbRecordIntervalChange();
    else if (slider == tbRecRecentDoc) tbRecRecentDocChange();
}

LRESULT TFrmMySettings::OnDrawItem(const DRAWITEMSTRUCT& dis) {
    if (dis.hwndItem != TntPageControl1) return FALSE;
    const wchar_t* caption = dis.itemID < kPageCount ? kPageCaptions[dis.itemID] : L"";
    DrawTabCaption(dis, caption, static_cast<int>(dis.itemID) == activePage(), font_, boldFont_.get());
    return TRUE;
}

LRESULT TFrmMySettings::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        // Enter and Escape that reach the dialog some other way act as its buttons.
        if (!lParam && LOWORD(wParam) == IDOK) BtnConfirmClick();
        if (!lParam && LOWORD(wParam) == IDCANCEL) BtnCancelClick();
        return 0;
    case WM_HSCROLL:
        OnSlider(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY: {
        const NMHDR* n = reinterpret_cast<const NMHDR*>(lParam);
        if (n->hwndFrom == TntPageControl1 && n->code == TCN_SELCHANGE) TntPageControl1Change();
        return 0;
    }
    case WM_DRAWITEM:
        return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lParam) == EdtRecordPath && pathBrush_) {
            SetBkColor(reinterpret_cast<HDC>(wParam), pathColour_);
            return reinterpret_cast<LRESULT>(pathBrush_.get());
        }
        break;
    case WM_SIZE:
        if (TntPageControl1) FormResize();
        return 0;
    case WM_CLOSE:
        BtnCancelClick();  // the close box never confirms
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK TFrmMySettings::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = AttachedObject<TFrmMySettings>(hwnd, msg, lParam);
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE) self->hwnd_ = hwnd;
    if (msg == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->Handle(msg, wParam, lParam);
}

// Pages and panels pass their controls' messages on to the dialog.
LRESULT CALLBACK TFrmMySettings::PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
        return SendMessageW(GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace tv
