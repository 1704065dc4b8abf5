#include "e2e/e2e_support.h"

#include "app/settings_store.h"
#include "base/file_util.h"
#include "app/settings_keys.h"

using namespace tvtest;

namespace {
std::wstring Caption(HWND w) {
    wchar_t text[256] = {};
    GetWindowTextW(w, text, 256);
    return text;
}

void SetCommon(const ScopedDataFolders& folders, const wchar_t* section, const wchar_t* key, int value) {
    tv::CreateFolderTree(folders.commonFolder());
    tv::SettingsStore(folders.commonFolder() + L"\\defualt.ini").WriteInteger(section, key, value);
}
}  // namespace

TEST(FirstStart, AFreshUserGetsTheCaptionedWindowAtItsDefaultPlace) {
    ScopedDataFolders folders;
    ProgramFolder program;
    Process p;
    bool asked = false;
    HWND w = StartProgram(p, program.exe(), L"", &asked);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(asked);  // no record yet: the first recording is asked about
    EXPECT_EQ(Caption(w), L"TolVane Free 3.1");
    RECT r;
    GetWindowRect(w, &r);
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(r.right - r.left, 520);
    EXPECT_EQ(screenW - r.right, 15);
    EXPECT_EQ(r.bottom - r.top, screenH - 60);
    EXPECT_EQ(r.top, 20);
    // Both data folders exist once the program has started.
    EXPECT_TRUE(tv::DirectoryExists(folders.dataFolder()));
    EXPECT_TRUE(tv::DirectoryExists(folders.commonFolder()));
    Sleep(500);
    EXPECT_TRUE(SaveScreenshot(ScreenshotFolder() + L"\\first_start.png"));
    EXPECT_EQ(CloseAndWait(w, p), 0);
}

// Asked to close from outside (as at logoff) while the first start's record question is up:
// the question goes, the program ends normally, and nothing was recorded or decided for the
// user, so the next start asks again.
TEST(FirstStart, ACloseWhileTheRecordQuestionIsUpEndsTheProgramNormally) {
    ScopedDataFolders folders;
    ProgramFolder program;
    Process p;
    ASSERT_TRUE(p.Start(program.exe(), L""));
    HWND w = WaitForWindow(L"TTolvaneWindow", p.pid());
    ASSERT_NE(w, nullptr);
    HWND question = WaitForRecordQuestion(p.pid(), 10000);
    ASSERT_NE(question, nullptr);
    EXPECT_FALSE(IsWindowEnabled(w));  // the question holds the window
    EXPECT_EQ(CloseAndWait(w, p), 0);
    EXPECT_FALSE(HasRecords(folders.dataFolder()));

    Process again;
    bool asked = false;
    HWND second = StartProgram(again, program.exe(), L"", &asked);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(asked);
    EXPECT_EQ(CloseAndWait(second, again), 0);
}

TEST(FirstStart, ElevationRestartHandsTheFirstParameterToTheElevationProgram) {
    ScopedDataFolders folders;
    ProgramFolder program;
    program.AddElevationProgram();
    SetCommon(folders, tv::keys::kDefault, tv::keys::kAlwaysRunAsAdmin, 1);
    Process p;
    ASSERT_TRUE(p.Start(program.exe(), L"/run"));
    EXPECT_EQ(p.Wait(30000), 0);
    EXPECT_TRUE(FindWindows(L"TTolvaneWindow").empty());
    // The stand-in wrote what it was given; give it a moment to finish.
    std::string args;
    for (int i = 0; i < 100 && args.empty(); ++i, Sleep(100)) args = ReadAll(program.file(L"admin_args.txt"));
    EXPECT_EQ(args, Utf16(L"/run"));
}

TEST(FirstStart, ElevatedOrMenuStartsDoNotRestartAgain) {
    ScopedDataFolders folders;
    ProgramFolder program;
    program.AddElevationProgram();
    SetCommon(folders, tv::keys::kDefault, tv::keys::kAlwaysRunAsAdmin, 1);
    for (const wchar_t* params : {L"/run /runasadmin", L"/ctmenu"})
        EXPECT_TRUE(OpensAndClosesNormally(program.exe(), params)) << params;
    EXPECT_FALSE(tv::FileExists(program.file(L"admin_args.txt")));
}

TEST(FirstStart, AMissingElevationProgramDoesNotLockTheUserOut) {
    ScopedDataFolders folders;
    ProgramFolder program;  // no tolvaneadmin.exe beside it
    SetCommon(folders, tv::keys::kDefault, tv::keys::kAlwaysRunAsAdmin, 1);
    EXPECT_TRUE(OpensAndClosesNormally(program.exe(), L""));
}

TEST(FirstStart, CommandLineItemsAreTakenAndTheResumeMarkerIsCleared) {
    ScopedDataFolders folders;
    ProgramFolder program;
    SetCommon(folders, tv::keys::kStatus, tv::keys::kOpenWindow, 3);
    Process p;
    HWND w = StartProgram(p, program.exe(), L"C:\\a.txt \"C:\\b.txt*C:\\c d.txt*\"");
    ASSERT_NE(w, nullptr);
    tv::SettingsStore common(folders.commonFolder() + L"\\defualt.ini");
    int marker = -1, nodes = 0;
    for (int i = 0; i < 100; ++i, Sleep(100)) {
        marker = common.ReadInteger(tv::keys::kStatus, tv::keys::kOpenWindow, -1);
        nodes = NodeCount(w);
        if (marker == 0 && nodes == 3) break;
    }
    EXPECT_EQ(marker, 0);
    EXPECT_EQ(nodes, 3);
    EXPECT_TRUE(SaveScreenshot(ScreenshotFolder() + L"\\command_line_items.png"));
    EXPECT_EQ(CloseAndWait(w, p), 0);
}
