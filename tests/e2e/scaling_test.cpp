// The main window and the settings dialog at 100% and at 150% scaling: no caption is cut.
#include "e2e/e2e_support.h"

using namespace tvtest;

namespace {

// Sets the screen's dots per inch for the processes started while it lives.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi) {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &key_, nullptr);
        DWORD size = sizeof(old_);
        had_ = key_ && RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old_), &size) ==
                           ERROR_SUCCESS;
        if (key_) RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    }
    ~ScopedLogPixels() {
        if (!key_) return;
        if (had_) RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_), sizeof(old_));
        else RegDeleteValueW(key_, L"LogPixels");
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
    DWORD old_ = 0;
    bool had_ = false;
};

// The probe's answer: the number of clipped captions it listed, negative when it could not look.
long ClippedAt(DWORD dpi, bool wideFont = false) {
    ScopedLogPixels scaling(dpi);
    Process probe;
    if (!probe.Start(ExeFolder() + L"\\caption_probe.exe", wideFont ? L"wide" : L"")) return -100;
    return probe.Wait(60000);
}

}  // namespace

TEST(Scaling, NoCaptionIsCutAt100Or150Percent) {
    EXPECT_EQ(ClippedAt(96), 0);
    // The first start's 520 pixels are too narrow for the command strip's usual widths at 150%.
    EXPECT_EQ(ClippedAt(144), 0);
}

TEST(Scaling, NoCaptionIsCutWithAWiderMessageFont) {
    EXPECT_EQ(ClippedAt(96, true), 0);
    EXPECT_EQ(ClippedAt(144, true), 0);
}

// The main window's screenshots at each scaling, and whether the trees stayed drawn under the
// record list's menu, the trees' menu and the rename dialog: the probe answers how often not.
TEST(Scaling, TheTreesStayDrawnUnderMenusAndTheRenameDialogAt100And150Percent) {
    for (DWORD dpi : {96u, 144u}) {
        ScopedLogPixels scaling(dpi);
        Process probe;
        ASSERT_TRUE(probe.Start(ExeFolder() + L"\\main_shots.exe", L""));
        EXPECT_EQ(probe.Wait(120000), 0) << dpi;
    }
}
