#pragma once
// The sections and keys of the settings files, each named once. What the options make of
// their keys (file, kind, default, field) is in the options' table (app/option_settings.h).
namespace tv::keys {

constexpr wchar_t kDefault[] = L"default";
constexpr wchar_t kInstall[] = L"install";
constexpr wchar_t kStatus[] = L"status";

constexpr wchar_t kSelectedRecord[] = L"LbRECs";
constexpr wchar_t kStartupRecord[] = L"RECIndWhenStartup";
constexpr wchar_t kRecordListWidth[] = L"GbRecList";
constexpr wchar_t kMenuBar[] = L"MenuBar1";
constexpr wchar_t kStatusBar[] = L"StatusBar1";
constexpr wchar_t kRecordList[] = L"RecordList1";
constexpr wchar_t kTextSize[] = L"curTextSize";
constexpr wchar_t kSmartRecord[] = L"cbSmartRecord";
constexpr wchar_t kWindowState[] = L"WindStateInd";
constexpr wchar_t kWidth[] = L"Width";
constexpr wchar_t kHeight[] = L"Height";
constexpr wchar_t kLeft[] = L"Left";
constexpr wchar_t kTop[] = L"Top";
constexpr wchar_t kPinToTaskBar[] = L"PinToTaskBar";
constexpr wchar_t kOpenWindow[] = L"openwindow";
constexpr wchar_t kAlwaysRunAsAdmin[] = L"AlwaysRunAsAdmin";

// The add-item dialog: its page under a section of its own, its boxes under "default".
constexpr wchar_t kAddDocumentForm[] = L"AddDocumentForm";
constexpr wchar_t kAddItemPage[] = L"FrmActionAddInd";
constexpr wchar_t kAddItemAddress[] = L"EdtAction";
constexpr wchar_t kNeedAlterName[] = L"NeedAlterName";

// The options.
constexpr wchar_t kRecordPath[] = L"EdtRECPath";
constexpr wchar_t kRunWhenWindowsStarts[] = L"CbRunWhenWS";
constexpr wchar_t kAlwaysOnTop[] = L"Alwaysontop1";
constexpr wchar_t kRecordWebPages[] = L"CbWebpage";
constexpr wchar_t kRecordRecentDocuments[] = L"CbRecrodRecentDocument";
constexpr wchar_t kRecentDocDays[] = L"tbRecRecentDoc";
constexpr wchar_t kFilterWindowsStart[] = L"CbFilterPCStart";
constexpr wchar_t kShowStartFilterList[] = L"cbDisplayPCStartFilterList";
constexpr wchar_t kRecordType[] = L"RgRecordType";
constexpr wchar_t kAskWhenRecord[] = L"CbShowSettingsWhenRecord";
constexpr wchar_t kAskWhenReplay[] = L"CbShowSettingsWhenReplay";
constexpr wchar_t kAskWhenSmartRecord[] = L"CbShowSettingsWhenRecordSmart";
constexpr wchar_t kReplayAllChildren[] = L"RbReplayAllChildDoc";
constexpr wchar_t kRestoreWindowPlaces[] = L"CbRestoreWindowPlaces";
constexpr wchar_t kRunAsAdmin[] = L"runasadmin";
constexpr wchar_t kRecordInterval[] = L"tbRecordInterval";
constexpr wchar_t kOpenFolderAfterSendTo[] = L"Openfilelocationaftersendto";
constexpr wchar_t kOpenFolderAfterPaste[] = L"Openfilelocationafterpaste";
constexpr wchar_t kPromptBeforeShutdown[] = L"Promptbeforeexecuting1";
constexpr wchar_t kAsRecordFileName[] = L"cbAsRecordFileName";

}  // namespace tv::keys
