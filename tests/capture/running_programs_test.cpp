#include "capture/running_programs.h"

#include <gtest/gtest.h>

#include <map>

#include "base/process_services.h"
#include "capture/shell_windows.h"
#include "capture/fake_desktop.h"

using namespace tv;
using Pairs = std::vector<ProgramPair>;
using tvtest::FakeDesktop;

namespace {

const wchar_t kNotepad[] = L"C:\\Windows\\notepad.exe";
const wchar_t kExplorer[] = L"C:\\Windows\\explorer.exe";
const wchar_t kSelf[] = L"C:\\Program Files\\TolVane\\tolvane.exe";

Pairs Scan(FakeDesktop& d, const StartupFilter& filter = NoStartupFilter) {
    return ScanRunningPrograms(d, kSelf, filter);
}

}  // namespace

TEST(ProgramTitle, IsTheTextAfterTheLastDash) {
    EXPECT_EQ(ProgramTitle(L"Untitled - Notepad"), L"Notepad");
    EXPECT_EQ(ProgramTitle(L"a - b - c"), L"c");
    EXPECT_EQ(ProgramTitle(L"Calculator"), L"Calculator");
    EXPECT_EQ(ProgramTitle(L"ends with -"), L"");
}

TEST(RunningProgramScan, OneProgramIsListedOnceInZOrder) {
    FakeDesktop d;
    d.Add(L"Untitled - Notepad", kNotepad);
    d.Add(L"notes.txt - Notepad", L" c:\\windows\\NOTEPAD.EXE ");
    d.Add(L"Calculator", L"C:\\Windows\\calc.exe");
    EXPECT_EQ(Scan(d), (Pairs{{kNotepad, L"Notepad"}, {L"C:\\Windows\\calc.exe", L"Calculator"}}));
}

TEST(RunningProgramScan, EachProcessPathIsReadOnceAndEveryExplorerWindowCounts) {
    FakeDesktop d;
    d.Add(L"Control Panel", kExplorer, 7);
    d.Add(L"My Computer", kExplorer, 7);
    d.Add(L"Untitled - Notepad", kNotepad, 8);
    d.Add(L"a.txt - Notepad", kNotepad, 8);
    EXPECT_EQ(Scan(d), (Pairs{{kExplorer, L"Control Panel"}, {kExplorer, L"My Computer"}, {kNotepad, L"Notepad"}}));
    EXPECT_EQ(d.pathReads, 2);
}

TEST(RunningProgramScan, EveryWindowAndCommandLineGoesWithItsProgramButNoneOfTheShells) {
    FakeDesktop d;
    HWND a = d.Add(L"a.txt - Notepad", kNotepad, 8);
    HWND b = d.Add(L"b.txt - Notepad", kNotepad, 8);
    HWND c = d.Add(L"c.txt - Notepad", kNotepad, 9);
    d.Add(L"My Computer", kExplorer, 7);
    d.commandLines = {{7, L"explorer.exe /e,C:\\"}, {8, L"notepad a.txt"}, {9, L"notepad c.txt"}};
    Pairs pairs = Scan(d);
    ASSERT_EQ(pairs.size(), 2u);
    ASSERT_EQ(pairs[0].windows.size(), 3u);
    EXPECT_EQ(pairs[0].windows[1].title, L"b.txt - Notepad");
    HWND order[] = {a, b, c};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(pairs[0].windows[i].place.normal.left, reinterpret_cast<INT_PTR>(order[i]));
    EXPECT_EQ(pairs[0].commandLines, (std::vector<std::wstring>{L"notepad a.txt", L"notepad c.txt"}));
    EXPECT_EQ(pairs[1].windows.size(), 1u);
    EXPECT_TRUE(pairs[1].commandLines.empty());
}

TEST(RunningProgramScan, WindowsWithoutTitleOrPathAndTheProgramItselfAreLeftOut) {
    FakeDesktop d;
    d.Add(L"   ", kNotepad);
    d.Add(L"Unreadable", L"");
    d.Add(L"TolVane Free 3.1", L"c:\\program files\\tolvane\\TOLVANE.EXE");
    EXPECT_TRUE(Scan(d).empty());
}

TEST(RunningProgramScan, ExplorerWindowsAreKeptByTheShellTable) {
    FakeDesktop d;
    d.Add(L"Control Panel", kExplorer);
    d.Add(L"My Computer", kExplorer);
    d.Add(L"C:\\Temp", kExplorer);
    d.Add(L"Windows Update", kExplorer);
    d.Add(L"x.jpg - Windows Photo Viewer", L"C:\\Windows\\System32\\rundll32.exe");
    d.Add(L"Recycle Bin", L"C:\\Windows\\System32\\dllhost.exe");
    EXPECT_EQ(Scan(d), (Pairs{{kExplorer, L"Control Panel"},
                              {kExplorer, L"My Computer"},
                              {L"Windows Update", L"Windows Update"},
                              {L"Windows Photo Viewer", L"Windows Photo Viewer"},
                              {L"C:\\Windows\\System32\\dllhost.exe", L"Recycle Bin"}}));
}

TEST(RunningProgramScan, StartupProgramsAreFilteredAndBlanksRestored) {
    FakeDesktop d;
    d.Add(L"  Sync ", L"C:\\Apps\\sync.exe");
    d.Add(L"My%20Tool", L"C:\\My%20Apps\\tool.exe");
    std::vector<std::wstring> asked;
    Pairs pairs = Scan(d, [&asked](const std::wstring& p, const std::wstring& title) {
        asked.push_back(title);
        return p == L"C:\\Apps\\sync.exe";
    });
    EXPECT_EQ(pairs, (Pairs{{L"C:\\My Apps\\tool.exe", L"My Tool"}}));
    // The filter sees the window's own title, before "%20" is restored.
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"Sync", L"My%20Tool"}));
}

TEST(ShellWindowTable, ClassifiesEveryRowOfTheShellHostTable) {
    struct Row {
        const wchar_t* title;
        int result;
        const wchar_t* path;  // the path afterwards
    };
    const wchar_t* host = L"C:\\WINDOWS\\EXPLORER.EXE";
    for (const Row& r : std::initializer_list<Row>{
             {L"My Computer", 1, host}, {L"computer", 1, host}, {L"Windows Explorer", 1, host},
             {L"Control Panel", 1, host}, {L"Recycle Bin", 1, host}, {L"My Network Places", 1, host},
             {L"Network", 1, host}, {L"Printers and Faxes", 1, host},
             {L"a.png - Windows Photo Viewer", 2, L"Windows Photo Viewer"},
             {L"Photo Viewer", 2, L"Windows Photo Viewer"},
             {L"b.tif - Windows Picture and Fax Viewer", 2, L"Windows Photo Viewer"},
             {L"System", 2, L"System"}, {L"Windows Update", 2, L"Windows Update"},
             {L"Windows Firewall", 2, L"Windows Firewall"}, {L"User Accounts", 2, L"User Accounts"},
             {L"Programs and Features", 2, L"Programs and Features"},
             {L"Network and Sharing Center", 2, L"Network and Sharing Center"},
             {L"C:\\Temp", 0, host}, {L"Documents", 0, host}}) {
        std::wstring title = r.title, path = host;
        EXPECT_EQ(ShellWindowTable(title, path, ShellTableMode::Capture), r.result) << r.title;
        EXPECT_EQ(path, r.path) << r.title;
    }
    std::wstring title = L"pic", path = L"C:\\Windows\\rundll32.exe shimgvw.dll,ImageView_Fullscreen";
    EXPECT_EQ(ShellWindowTable(title, path, ShellTableMode::Capture), 1);  // the viewer's command line
    path = L"rundll32.exe C:\\Windows\\System32\\shimgvw.dll";
    EXPECT_EQ(ShellWindowTable(title, path, ShellTableMode::Capture), 0);  // its file name is no host
}

TEST(ShellWindowTable, ClassifiesTheRowsForOtherPrograms) {
    std::wstring title = L"Services", path = L"C:\\Windows\\System32\\mmc.exe";
    EXPECT_EQ(ShellWindowTable(title, path, ShellTableMode::Capture), 1);
    title = L"Windows Update";
    path = L" windows update ";
    EXPECT_EQ(ShellWindowTable(title, path, ShellTableMode::Capture), 1);
    EXPECT_EQ(path, L"Windows Update");
    title = L"System";
    path = L"Windows Update";
    EXPECT_EQ(ShellWindowTable(title, path, ShellTableMode::Capture), 0);
    title = L"Notepad";
    path = L"C:\\Windows\\notepad.exe";
    EXPECT_EQ(ShellWindowTable(title, path, ShellTableMode::Capture), 0);
}

TEST(ShellWindowTable, LaunchModeOpensThePlaceAndCaptureModeNever) {
    struct Opener : ShellPlaceOpener {
        std::vector<std::wstring> calls;
        void OpenSpecialFolder(int csidl) override { calls.push_back(L"folder " + std::to_wstring(csidl)); }
        void ShowInPictureViewer(const std::wstring& p) override { calls.push_back(L"viewer " + p); }
        void RunControlPanelPage(const std::wstring& t) override { calls.push_back(L"page " + t); }
    } opener;
    std::wstring title = L"Control Panel", path = L"explorer.exe";
    ShellWindowTable(title, path, ShellTableMode::Capture, &opener);
    EXPECT_TRUE(opener.calls.empty());
    ShellWindowTable(title, path, ShellTableMode::Launch, &opener);
    title = L"Windows Update";
    path = L"Windows Update";
    ShellWindowTable(title, path, ShellTableMode::Launch, &opener);
    EXPECT_EQ(opener.calls, (std::vector<std::wstring>{L"folder 3", L"page Windows Update"}));
    EXPECT_EQ(ControlPanelCommand(L"C:\\Windows\\system32", L"Windows Update"),
              L"C:\\Windows\\system32\\control.exe /name Microsoft.WindowsUpdate");
}

TEST(PhotoViewerTest, KnowsTheViewerByCommandLineOrTitle) {
    EXPECT_TRUE(IsPhotoViewer(L"C:\\Windows\\System32\\RUNDLL32.EXE \"C:\\Program Files\\PhotoViewer.dll\""));
    EXPECT_TRUE(IsPhotoViewer(L"rundll32.exe shimgvw.dll,ImageView"));
    EXPECT_TRUE(IsPhotoViewer(L"Windows Photo Viewer"));
    EXPECT_TRUE(IsPhotoViewer(L"picture and fax viewer - x"));
    EXPECT_FALSE(IsPhotoViewer(L"rundll32.exe shell32.dll"));
    EXPECT_FALSE(IsPhotoViewer(L"x.jpg - Windows Photo Viewer"));  // starts with the file name
}

TEST(DrivePaths, OnlyRealDrivesOtherThanAAreValid) {
    auto types = [](const std::wstring& root) -> UINT {
        if (root == L"C:\\") return DRIVE_FIXED;
        if (root == L"E:\\") return DRIVE_REMOVABLE;
        return DRIVE_NO_ROOT_DIR;
    };
    EXPECT_TRUE(IsValidDrivePath(L"C:\\Windows", types));
    EXPECT_TRUE(IsValidDrivePath(L"E:", types));
    EXPECT_FALSE(IsValidDrivePath(L"A:", types));
    EXPECT_FALSE(IsValidDrivePath(L"a:\\x", types));
    EXPECT_FALSE(IsValidDrivePath(L"Q:\\x", types));
    EXPECT_FALSE(IsValidDrivePath(L"\\\\server\\share", types));
    EXPECT_FALSE(IsValidDrivePath(L"C", types));
}

TEST(DrivePaths, RemovableDrivesAreListedFromBToZ) {
    auto types = [](const std::wstring& root) -> UINT {
        if (root == L"A:\\" || root == L"G:\\" || root == L"E:\\") return DRIVE_REMOVABLE;
        return root == L"C:\\" ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
    };
    EXPECT_EQ(RemovableDriveRoots(types), (std::vector<std::wstring>{L"E:\\", L"G:\\"}));
}

TEST(DevicePaths, ConvertThroughTheDosDeviceTable) {
    std::vector<std::wstring> asked;
    auto query = [&asked](const std::wstring& drive, std::wstring& target) {
        asked.push_back(drive);
        if (drive == L"c:") target = L"\\Device\\HarddiskVolume1";
        else if (drive == L"d:") target = L"\\Device\\HarddiskVolume2";
        else return false;
        return true;
    };
    EXPECT_EQ(DevicePathToDrivePath(L"\\Device\\HarddiskVolume2\\Windows\\explorer.exe", query),
              L"d:\\Windows\\explorer.exe");
    EXPECT_EQ(asked.front(), L"a:");
    EXPECT_EQ(DevicePathToDrivePath(L"\\device\\harddiskvolume1\\x.exe", query), L"c:\\x.exe");
    EXPECT_EQ(DevicePathToDrivePath(L"\\Device\\HarddiskVolume9\\x.exe", query), L"");
    EXPECT_EQ(DevicePathToDrivePath(L"\\Device\\Volume", query), L"");
    EXPECT_EQ(DevicePathToDrivePath(L"", query), L"");
}
