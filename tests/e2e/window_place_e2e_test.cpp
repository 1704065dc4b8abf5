#include "e2e/e2e_support.h"

#include "app/settings_store.h"
#include "base/file_util.h"
#include "app/settings_keys.h"

using namespace tvtest;

// A stored place nobody could reach (too far, too large, negative) opens a window the user can
// reach, and closing it stores that place instead.
TEST(StoredWindowPlace, HostileValuesOpenAReachableWindowAndAreNotStoredAgain) {
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    for (int value : {2147483647, 50000, -500}) {
        SCOPED_TRACE(value);
        ScopedDataFolders folders;
        ProgramFolder program;
        tv::CreateFolderTree(folders.dataFolder());
        tv::SettingsStore user(folders.dataFolder() + L"\\defualt.ini");
        for (const wchar_t* key : {tv::keys::kLeft, tv::keys::kTop, tv::keys::kWidth, tv::keys::kHeight}) user.WriteInteger(tv::keys::kDefault, key, value);

        Process p;
        HWND w = StartProgram(p, program.exe(), L"");
        ASSERT_NE(w, nullptr);
        RECT r{};
        GetWindowRect(w, &r);
        EXPECT_GE(r.top, work.top);  // the caption bar is on the screen
        EXPECT_GE(std::min(r.right, work.right) - std::max(r.left, work.left), 100);
        EXPECT_GE(std::min(r.bottom, work.bottom) - std::max(r.top, work.top), 100);
        EXPECT_LE(r.right - r.left, work.right - work.left);
        EXPECT_LE(r.bottom - r.top, work.bottom - work.top);
        ASSERT_EQ(CloseAndWait(w, p), 0);

        int left = user.ReadInteger(tv::keys::kDefault, tv::keys::kLeft, 0), top = user.ReadInteger(tv::keys::kDefault, tv::keys::kTop, 0);
        int width = user.ReadInteger(tv::keys::kDefault, tv::keys::kWidth, 0), height = user.ReadInteger(tv::keys::kDefault, tv::keys::kHeight, 0);
        EXPECT_GE(top, work.top);
        EXPECT_LE(top, work.bottom - 100);
        EXPECT_LE(left, work.right - 100);
        EXPECT_GE(left + width, work.left + 100);
        EXPECT_GE(height, 100);
        EXPECT_LE(width, work.right - work.left);
    }
}

// A window stored far off the screen opens whole on the work area at the size it was stored
// with, and closing it keeps that size.
TEST(StoredWindowPlace, AWindowStoredFarOffOpensWholeOnTheWorkAreaAtItsStoredSize) {
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    const int width = 600, height = 400;
    ASSERT_GE(work.right - work.left, width);
    ASSERT_GE(work.bottom - work.top, height);
    for (POINT stored : {POINT{50000, 50000}, POINT{-50000, -50000}}) {
        SCOPED_TRACE(stored.x);
        ScopedDataFolders folders;
        ProgramFolder program;
        tv::CreateFolderTree(folders.dataFolder());
        tv::SettingsStore user(folders.dataFolder() + L"\\defualt.ini");
        user.WriteInteger(tv::keys::kDefault, tv::keys::kWindowState, 1);
        user.WriteInteger(tv::keys::kDefault, tv::keys::kLeft, stored.x);
        user.WriteInteger(tv::keys::kDefault, tv::keys::kTop, stored.y);
        user.WriteInteger(tv::keys::kDefault, tv::keys::kWidth, width);
        user.WriteInteger(tv::keys::kDefault, tv::keys::kHeight, height);

        Process p;
        HWND w = StartProgram(p, program.exe(), L"");
        ASSERT_NE(w, nullptr);
        RECT r{};
        GetWindowRect(w, &r);
        EXPECT_EQ(r.right - r.left, width);
        EXPECT_EQ(r.bottom - r.top, height);
        EXPECT_GE(r.left, work.left);
        EXPECT_GE(r.top, work.top);
        EXPECT_LE(r.right, work.right);
        EXPECT_LE(r.bottom, work.bottom);
        ASSERT_EQ(CloseAndWait(w, p), 0);

        EXPECT_EQ(user.ReadInteger(tv::keys::kDefault, tv::keys::kWidth, 0), width);
        EXPECT_EQ(user.ReadInteger(tv::keys::kDefault, tv::keys::kHeight, 0), height);
    }
}
