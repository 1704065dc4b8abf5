#include "ui/dialogs/rename_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/file_util.h"
#include "base/strings.h"
#include "records/record_file.h"
#include "records/record_tree.h"
#include "support/fake_prompter.h"
#include "support/test_support.h"
#include "ui/window_text.h"

using namespace tv;
using tvtest::ReadAll;
using tvtest::ScriptedPrompter;
using tvtest::TempFolder;

namespace {

std::wstring Text(HWND w) { return tv::TextOf(w); }

void While(std::function<void()> step) {
    tvtest::RunSoon(std::move(step));
}

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
void Type(HWND box, const std::wstring& text) { SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); }
void Key(HWND target, WPARAM key) { PostMessageW(target, WM_KEYDOWN, key, 0); }
// Alt with a letter, as the keyboard delivers it once translated.
void AltKey(HWND target, wchar_t letter) { PostMessageW(target, WM_SYSCHAR, letter, 1 << 29); }

RECT WorkArea() {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

class RenameDialog : public ::testing::Test {
protected:
    TFrmReName dlg;
    HWND owner = nullptr;
    void SetUp() override {
        // A window closed by an earlier test may have left the end-of-program message behind;
        // the dialog's loop rightly gives way to it, so clear it first.
        MSG m;
        while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 400, 300, 200, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override {
        if (owner) DestroyWindow(owner);
    }
    bool Run(const std::wstring& name, std::wstring& newName, std::function<void()> step, POINT at = {60, 50}) {
        While(std::move(step));
        return dlg.Execute(owner, at, name, newName);
    }
};

}  // namespace

TEST(RenameDialogPlacement, StaysOnTheWorkArea) {
    const SIZE size{300, 120};
    auto at = [&](LONG x, LONG y, const RECT& area = RECT{0, 0, 1280, 1000}) {
        POINT p = FitOnWorkArea(POINT{x, y}, size, area);
        return std::make_pair(p.x, p.y);
    };
    EXPECT_EQ(at(100, 200), std::make_pair(100L, 200L));
    EXPECT_EQ(at(980, 880), std::make_pair(980L, 880L));  // exactly fits
    EXPECT_EQ(at(1270, 990), std::make_pair(980L, 880L));
    EXPECT_EQ(at(-40, -10), std::make_pair(0L, 0L));
    // A second screen left of the first, with a taskbar on top.
    EXPECT_EQ(at(-5, 10, RECT{-1024, 30, 0, 768}), std::make_pair(-300L, 30L));
    // Larger than the area: the caption corner stays reachable.
    EXPECT_EQ(at(50, 50, RECT{0, 0, 200, 100}), std::make_pair(0L, 0L));
}

TEST_F(RenameDialog, ShowsTheNameSelectedAndConfirmsWithOK) {
    std::wstring caption, label, ok, cancel, boxText;
    DWORD selStart = 1, selEnd = 0;
    bool focusInBox = false, ownerDisabled = false, ownedByOwner = false;
    RECT where{};
    std::wstring newName = L"untouched";
    bool confirmed = Run(L"Dec 08,2026_003", newName, [&] {
        caption = Text(dlg.hwnd());
        label = Text(dlg.Label1);
        ok = Text(dlg.BtnConfirm);
        cancel = Text(dlg.BtnClose);
        boxText = Text(dlg.EdtName);
        SendMessageW(dlg.EdtName, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
        focusInBox = GetFocus() == dlg.EdtName;
        ownerDisabled = !IsWindowEnabled(owner);
        ownedByOwner = GetWindow(dlg.hwnd(), GW_OWNER) == owner;
        GetWindowRect(dlg.hwnd(), &where);
        Type(dlg.EdtName, L"Work");
        Click(dlg.BtnConfirm);
    });
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(newName, L"Work");
    EXPECT_EQ(caption, L"Rename");
    EXPECT_EQ(label, L"File Name");
    EXPECT_EQ(ok, L"&OK");
    EXPECT_EQ(cancel, L"&Cancel");
    EXPECT_EQ(boxText, L"Dec 08,2026_003");
    EXPECT_EQ(selStart, 0u);
    EXPECT_EQ(selEnd, wcslen(L"Dec 08,2026_003"));
    EXPECT_TRUE(focusInBox);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(ownedByOwner);
    EXPECT_EQ(where.left, 60);
    EXPECT_EQ(where.top, 50);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindowVisible(dlg.hwnd()));
}

TEST_F(RenameDialog, EnterConfirmsEscapeCancelAndCloseBoxLeaveItUnconfirmed) {
    std::wstring newName;
    EXPECT_TRUE(Run(L"a", newName, [&] {
        Type(dlg.EdtName, L"typed");
        Key(dlg.EdtName, VK_RETURN);
    }));
    EXPECT_EQ(newName, L"typed");

    newName = L"kept";
    EXPECT_FALSE(Run(L"a", newName, [&] {
        Type(dlg.EdtName, L"other");
        Key(dlg.EdtName, VK_ESCAPE);
    }));
    EXPECT_EQ(newName, L"kept");
    EXPECT_FALSE(Run(L"a", newName, [&] { Click(dlg.BtnClose); }));
    EXPECT_FALSE(Run(L"a", newName, [&] { PostMessageW(dlg.hwnd(), WM_CLOSE, 0, 0); }));
    // Enter on the focused Cancel button presses that button.
    EXPECT_FALSE(Run(L"a", newName, [&] {
        SetFocus(dlg.BtnClose);
        Key(dlg.BtnClose, VK_RETURN);
    }));
    EXPECT_EQ(newName, L"kept");
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(RenameDialog, MnemonicsAndTabOrderWork) {
    std::wstring newName;
    EXPECT_TRUE(Run(L"x", newName, [&] { AltKey(dlg.EdtName, L'o'); }));
    EXPECT_EQ(newName, L"x");
    EXPECT_FALSE(Run(L"x", newName, [&] { AltKey(dlg.EdtName, L'c'); }));

    HWND afterBox = nullptr, afterOk = nullptr, afterCancel = nullptr, tabbed = nullptr;
    Run(L"x", newName, [&] {
        afterBox = GetNextDlgTabItem(dlg.hwnd(), dlg.EdtName, FALSE);
        afterOk = GetNextDlgTabItem(dlg.hwnd(), dlg.BtnConfirm, FALSE);
        afterCancel = GetNextDlgTabItem(dlg.hwnd(), dlg.BtnClose, FALSE);
        Key(dlg.EdtName, VK_TAB);
        While([&] {
            tabbed = GetFocus();
            Click(dlg.BtnClose);
        });
    });
    EXPECT_EQ(afterBox, dlg.BtnConfirm);
    EXPECT_EQ(afterOk, dlg.BtnClose);
    EXPECT_EQ(afterCancel, dlg.EdtName);
    EXPECT_EQ(tabbed, dlg.BtnConfirm);
}

TEST_F(RenameDialog, IsKeptBetweenUsesAndStaysOnTheScreen) {
    std::wstring newName;
    HWND first = nullptr, second = nullptr;
    RECT where{};
    const RECT work = WorkArea();
    Run(L"x", newName, [&] {
        first = dlg.hwnd();
        Click(dlg.BtnClose);
    });
    Run(L"x", newName, [&] {
        second = dlg.hwnd();
        GetWindowRect(dlg.hwnd(), &where);
        Click(dlg.BtnClose);
    }, POINT{work.right - 5, work.bottom - 5});
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_GE(where.left, work.left);
    EXPECT_GE(where.top, work.top);
    EXPECT_LE(where.right, work.right);
    EXPECT_LE(where.bottom, work.bottom);
    EXPECT_GT(where.right - where.left, 0);
}

TEST_F(RenameDialog, ControlsUseTheMessageFontAndNothingIsClipped) {
    std::wstring newName;
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0));
    // No ASSERT inside the step: leaving it early would leave the dialog open.
    Run(L"x", newName, [&] {
        RECT client;
        GetClientRect(dlg.hwnd(), &client);
        for (HWND c : {dlg.Label1, dlg.EdtName, dlg.BtnConfirm, dlg.BtnClose}) {
            auto font = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0));
            LOGFONTW lf{};
            EXPECT_TRUE(font && GetObjectW(font, sizeof(lf), &lf));
            EXPECT_STREQ(lf.lfFaceName, ncm.lfMessageFont.lfFaceName);
            EXPECT_EQ(lf.lfHeight, ncm.lfMessageFont.lfHeight);
            RECT r;
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, dlg.hwnd(), reinterpret_cast<POINT*>(&r), 2);
            EXPECT_GE(r.left, client.left);
            EXPECT_GE(r.top, client.top);
            EXPECT_LE(r.right, client.right);
            EXPECT_LE(r.bottom, client.bottom);
            // The caption fits its control (buttons keep some room for their frame).
            HDC dc = GetDC(c);
            HGDIOBJ old = SelectObject(dc, font);
            RECT text{0, 0, 0, 0};
            const std::wstring caption = Text(c);
            DrawTextW(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
            SelectObject(dc, old);
            ReleaseDC(c, dc);
            EXPECT_LE(text.right + 8, r.right - r.left) << ToUtf8(caption);
            EXPECT_LE(text.bottom, r.bottom - r.top) << ToUtf8(caption);
        }
        Click(dlg.BtnClose);
    });
}

TEST_F(RenameDialog, Screenshot) {
    std::wstring newName;
    bool saved = false;
    Run(L"Dec 08,2026_003", newName, [&] {
        RedrawWindow(dlg.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        Sleep(100);
        saved = tvtest::SaveScreenshot(tvtest::ScreenshotFolder() + L"\\rename_dialog.png");
        Click(dlg.BtnClose);
    }, POINT{40, 40});
    EXPECT_TRUE(saved);
}

// The rename of a record through the dialog, with the questions answered by a script.
class RenameRecordTest : public RenameDialog {
protected:
    TempFolder dir;
    ScriptedPrompter prompter;
    std::wstring folder() const { return dir.path() + L"\\"; }
    void WriteRecord(const std::wstring& name, const std::string& tag) {
        const std::wstring path = dir.file(name + L".tolvane");
        ASSERT_TRUE(tvtest::WriteAll(path, "record " + tag));
        ASSERT_TRUE(tvtest::WriteAll(SelectionFilePath(path), "selection " + tag));
        ASSERT_TRUE(tvtest::WriteAll(IconFilePath(path), "icons " + tag));
    }
    // Renames `oldName`, typing `typed` into the box (or leaving it when null) and pressing Enter.
    std::wstring Rename(const std::wstring& oldName, const wchar_t* typed, const std::wstring& proposed = L"",
                        std::wstring* shown = nullptr) {
        While([=] {
            if (shown) *shown = Text(dlg.EdtName);
            if (typed) Type(dlg.EdtName, typed);
            Key(dlg.EdtName, VK_RETURN);
        });
        return RenameRecord(owner, dlg, prompter, folder(), oldName, L".tolvane", proposed);
    }
};

TEST_F(RenameRecordTest, MovesTheRecordWithItsCompanions) {
    WriteRecord(L"Dec 08,2026_001", "d");
    std::wstring shown;
    EXPECT_EQ(Rename(L"Dec 08,2026_001", L"Work", L"", &shown), L"Work.tolvane");
    EXPECT_EQ(shown, L"Dec 08,2026_001");
    EXPECT_EQ(ReadAll(dir.file(L"Work.tolvane")), "record d");
    EXPECT_EQ(ReadAll(dir.file(L"Work.tolvanetreesel")), "selection d");
    EXPECT_EQ(ReadAll(dir.file(L"Work.dat")), "icons d");
    EXPECT_FALSE(FileExists(dir.file(L"Dec 08,2026_001.tolvane")));
    EXPECT_TRUE(prompter.asked.empty());

    // A proposed name fills the box; a name with another extension keeps it and gains ours.
    EXPECT_EQ(Rename(L"Work", nullptr, L"Notes.old", &shown), L"Notes.old.tolvane");
    EXPECT_EQ(shown, L"Notes.old");
    EXPECT_EQ(ReadAll(dir.file(L"Notes.old.dat")), "icons d");
    EXPECT_EQ(Rename(L"Notes.old", L"WORK.TOLVANE"), L"WORK.TOLVANE");
    EXPECT_EQ(ReadAll(dir.file(L"WORK.TOLVANE")), "record d");
}

TEST_F(RenameRecordTest, ReplacingAnotherRecordAsksFirst) {
    WriteRecord(L"a", "a");
    WriteRecord(L"Work", "work");
    const std::wstring question =
        dir.file(L"Work.tolvane") + L" is already exists." + L"\r\n" + L"Do you want to replace it?";

    prompter.answers = {false};
    EXPECT_EQ(Rename(L"a", L"Work"), L"");
    ASSERT_EQ(prompter.asked, std::vector<std::wstring>{question});
    EXPECT_EQ(prompter.owners.back(), owner);
    EXPECT_EQ(ReadAll(dir.file(L"a.tolvane")), "record a");
    EXPECT_EQ(ReadAll(dir.file(L"Work.tolvane")), "record work");
    EXPECT_EQ(ReadAll(dir.file(L"Work.dat")), "icons work");

    prompter.answers = {true};
    EXPECT_EQ(Rename(L"a", L"Work"), L"Work.tolvane");
    EXPECT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(ReadAll(dir.file(L"Work.tolvane")), "record a");
    EXPECT_EQ(ReadAll(dir.file(L"Work.tolvanetreesel")), "selection a");
    EXPECT_EQ(ReadAll(dir.file(L"Work.dat")), "icons a");
    EXPECT_FALSE(FileExists(dir.file(L"a.tolvane")));
    EXPECT_EQ(prompter.unscripted, 0);
}

TEST_F(RenameRecordTest, NothingIsRenamedWithoutAUsableConfirmedName) {
    WriteRecord(L"a", "a");
    While([&] {
        Type(dlg.EdtName, L"b");
        Key(dlg.EdtName, VK_ESCAPE);
    });
    EXPECT_EQ(RenameRecord(owner, dlg, prompter, folder(), L"a", L".tolvane", L""), L"");
    EXPECT_EQ(Rename(L"a", L"   "), L"");
    EXPECT_TRUE(prompter.told.empty());  // a blank name is no name: nothing to tell
    EXPECT_EQ(Rename(L"a", L"..\\outside"), L"");
    EXPECT_EQ(Rename(L"a", L"C:evil"), L"");
    EXPECT_EQ(Rename(L"missing", L"b"), L"");  // the move fails
    // Each refusal was told in the system's words: two names no file may have, then the move's error.
    ASSERT_EQ(prompter.told.size(), 3u);
    EXPECT_EQ(prompter.told[0], SystemMessageText(ERROR_INVALID_NAME));
    EXPECT_EQ(prompter.told[1], SystemMessageText(ERROR_INVALID_NAME));
    EXPECT_EQ(prompter.told[2], SystemMessageText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(tvtest::ReadAll(dir.file(L"a.tolvane")), "record a");
    EXPECT_FALSE(FileExists(dir.file(L"b.tolvane")));
    EXPECT_FALSE(FileExists(FolderOf(dir.path()) + L"\\outside.tolvane"));

    // The same name in other letters: no question, nothing moves.
    EXPECT_EQ(Rename(L"a", L"A"), L"A.tolvane");
    EXPECT_TRUE(FileExists(dir.file(L"a.tolvane")));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(RenameRecordTest, ANameWindowsRefusesIsToldInTheSystemsWordsAndChangesNothing) {
    WriteRecord(L"Plan", "p");
    bool refused = false;
    While([&] {
        Type(dlg.EdtName, L"Plan: Q1?");
        Key(dlg.EdtName, VK_RETURN);
    });
    EXPECT_EQ(RenameRecord(owner, dlg, prompter, folder(), L"Plan", L".tolvane", L"", &refused), L"");
    EXPECT_TRUE(refused);
    ASSERT_EQ(prompter.told.size(), 1u);
    EXPECT_EQ(prompter.owners.back(), owner);
    // The system's own sentence, not a number.
    EXPECT_EQ(prompter.told[0], SystemMessageText(ERROR_INVALID_NAME));
    EXPECT_EQ(prompter.told[0].find(L"Error "), std::wstring::npos);
    EXPECT_NE(prompter.told[0].back(), L'\n');
    EXPECT_EQ(ReadAll(dir.file(L"Plan.tolvane")), "record p");
    EXPECT_EQ(ReadAll(dir.file(L"Plan.dat")), "icons p");

    // Cancelling is no refusal.
    While([&] { Key(dlg.EdtName, VK_ESCAPE); });
    EXPECT_EQ(RenameRecord(owner, dlg, prompter, folder(), L"Plan", L".tolvane", L"", &refused), L"");
    EXPECT_FALSE(refused);
    EXPECT_EQ(prompter.told.size(), 1u);
}

TEST_F(RenameDialog, TabAndShiftTabGoRoundFromTheNameBox) {
    std::wstring newName;
    std::vector<HWND> seen;
    std::function<void(int)> press = [&](int left) {
        seen.push_back(GetFocus());
        if (left == 0) {
            Click(dlg.BtnClose);
            return;
        }
        tvtest::PressKey(VK_TAB, left <= 3);
        While([&press, left] { press(left - 1); });
    };
    Run(L"x", newName, [&] { press(6); });
    ASSERT_EQ(seen.size(), 7u);
    EXPECT_EQ(seen, (std::vector<HWND>{dlg.EdtName, dlg.BtnConfirm, dlg.BtnClose, dlg.EdtName, dlg.BtnClose,
                                       dlg.BtnConfirm, dlg.EdtName}));
}
