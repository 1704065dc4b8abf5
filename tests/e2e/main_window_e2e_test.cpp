#include "e2e/e2e_support.h"

#include "app/settings_store.h"
#include "base/file_util.h"
#include "app/settings_keys.h"

using namespace tvtest;

namespace {

class MainWindowLayout : public ::testing::Test {
protected:
    ScopedDataFolders folders;
    ProgramFolder program;
    std::wstring userFile() const { return folders.dataFolder() + L"\\defualt.ini"; }
    int Stored(const wchar_t* key) { return tv::SettingsStore(userFile()).ReadInteger(tv::keys::kDefault, key, -99); }
    void Store(const wchar_t* key, int value) {
        tv::CreateFolderTree(folders.dataFolder());
        tv::SettingsStore(userFile()).WriteInteger(tv::keys::kDefault, key, value);
    }
    void StoreGeometry(int width, int height, int left, int top) {
        Store(tv::keys::kWidth, width);
        Store(tv::keys::kHeight, height);
        Store(tv::keys::kLeft, left);
        Store(tv::keys::kTop, top);
    }
};

RECT ChildRect(HWND parent, int id) {
    RECT r{};
    HWND child = GetDlgItem(parent, id);
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

TEST_F(MainWindowLayout, AFirstStartShowsTheDefaultsAndANormalCloseStoresThem) {
    Process p;
    HWND w = StartProgram(p, program.exe(), L"");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(GetMenu(w), nullptr);                              // menu bar hidden
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(w, 1011)));          // status bar hidden (or not made yet)
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(w, 1010)));           // record list shown
    EXPECT_EQ(ChildRect(w, 1010).right, 120);                    // ... 120 wide
    RECT before;
    GetWindowRect(w, &before);
    ASSERT_EQ(CloseAndWait(w, p), 0);
    EXPECT_EQ(Stored(tv::keys::kWidth), before.right - before.left);
    EXPECT_EQ(Stored(tv::keys::kHeight), before.bottom - before.top);
    EXPECT_EQ(Stored(tv::keys::kLeft), before.left);
    EXPECT_EQ(Stored(tv::keys::kTop), before.top);
    EXPECT_EQ(Stored(tv::keys::kWindowState), 1);
    EXPECT_EQ(Stored(tv::keys::kRecordListWidth), 120);
    EXPECT_EQ(Stored(tv::keys::kMenuBar), 0);
    EXPECT_EQ(Stored(tv::keys::kStatusBar), 0);
    EXPECT_EQ(Stored(tv::keys::kRecordList), 1);
}

TEST_F(MainWindowLayout, AMaximisedCloseKeepsTheGeometryAndTheNextStartIsMaximised) {
    StoreGeometry(600, 500, 100, 50);
    Process p;
    HWND w = StartProgram(p, program.exe(), L"");
    ASSERT_NE(w, nullptr);
    ShowWindow(w, SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(w));
    ASSERT_EQ(CloseAndWait(w, p), 0);
    EXPECT_EQ(Stored(tv::keys::kWindowState), 0);
    EXPECT_EQ(Stored(tv::keys::kWidth), 600);
    EXPECT_EQ(Stored(tv::keys::kLeft), 100);

    Process next;
    HWND again = StartProgram(next, program.exe(), L"");
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(IsZoomed(again));
    Sleep(300);
    EXPECT_TRUE(SaveScreenshot(ScreenshotFolder() + L"\\main_maximised.png"));
    EXPECT_EQ(CloseAndWait(again, next), 0);
}

TEST_F(MainWindowLayout, AStoredGeometryLargerThanTheScreenIsCutToIt) {
    StoreGeometry(5000, 4000, 100, 30);
    Process p;
    HWND w = StartProgram(p, program.exe(), L"");
    ASSERT_NE(w, nullptr);
    // Cut to the work area and moved onto it whole: cut from where it stood, a window stored
    // near the far edge would be left a sliver.
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_TRUE(EqualRect(&r, &work)) << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    EXPECT_EQ(CloseAndWait(w, p), 0);
}

TEST_F(MainWindowLayout, MenuBarAndStatusBarShownAsStored) {
    Store(tv::keys::kMenuBar, 1);
    Store(tv::keys::kStatusBar, 1);
    Process p;
    HWND w = StartProgram(p, program.exe(), L"C:\\a.txt");
    ASSERT_NE(w, nullptr);
    EXPECT_NE(GetMenu(w), nullptr);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(w, 1011)));
    Sleep(500);
    EXPECT_TRUE(SaveScreenshot(ScreenshotFolder() + L"\\main_menu_status.png"));
    EXPECT_EQ(CloseAndWait(w, p), 0);
}
