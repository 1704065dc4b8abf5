#pragma once
// The sections and keys of the settings files that the window and the start-up steps use,
// each named once. The options' own keys are listed with the options.
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

}  // namespace tv::keys
