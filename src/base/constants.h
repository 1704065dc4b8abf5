#pragma once
// Program constants, read everywhere.

namespace tv {

constexpr wchar_t kAppName[] = L"TolVane";        // title, data folder, Run-key value, help file
constexpr wchar_t kExeName[] = L"tolvane.exe";
constexpr double kProgramVersion = 3.1;             // shown as "%1.1f"
constexpr int kInstanceLimit = 1;
constexpr wchar_t kMainWindowClass[] = L"TTolvaneWindow";
constexpr wchar_t kElevationProgram[] = L"tolvaneadmin.exe";
// Exit codes of the elevation program, so that the program can tell why a restart did not
// happen.
constexpr int kElevationStarted = 0;
constexpr int kElevationRefused = 1;     // the user said no to the elevation prompt
constexpr int kElevationImpossible = 2;  // nothing to start, or the shell could not start it
// The program's own guide, installed beside it.
constexpr wchar_t kGuideFileName[] = L"tolvane-guide.html";

constexpr wchar_t kSettingsFileName[] = L"defualt.ini";  // spelled so on every machine
constexpr wchar_t kHandOffFileName[] = L"sendparam.txt";
constexpr wchar_t kMenuFileName[] = L"ctmenu.txt";

// The hand-off message carries this text; the items travel in the hand-off file.
constexpr char kHandOffText[8] = "tolvane";

// Walks over nodes, listings and item lists stop here.
constexpr int kMaxWalk = 5000;

}  // namespace tv
