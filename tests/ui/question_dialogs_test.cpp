// The questions asked before a recording, a Smart Record and a replay, driven through their
// controls and keys while they show.
#include "ui/dialogs/record_type_dialog.h"
#include "ui/dialogs/replay_dialog.h"
#include "ui/dialogs/smart_record_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/settings_store.h"
#include "app/startup.h"
#include "base/file_util.h"
#include "base/strings.h"
#include "support/fake_options_host.h"
#include "support/fake_prompter.h"
#include "support/test_support.h"
#include "ui/window_text.h"
#include "app/settings_keys.h"

using namespace tv;
using tvtest::KeysInFileOrder;
using tvtest::ScriptedPrompter;
using tvtest::TempFolder;

namespace {

tvtest::FakeOptionsHost AdminHost() {
    tvtest::FakeOptionsHost host;
    host.admin = true;  // elevated unless a test says otherwise
    return host;
}

constexpr wchar_t kRunPath[] = L"SOFTWARE\\Microsoft\\windows\\CurrentVersion\\Run";


std::wstring Text(HWND w) { return tv::TextOf(w); }
void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
void Type(HWND box, const std::wstring& text) { SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); }
void Key(HWND target, WPARAM key) { PostMessageW(target, WM_KEYDOWN, key, 0); }
// Alt with a letter, as the keyboard delivers it once translated.
void AltKey(HWND target, wchar_t letter) { PostMessageW(target, WM_SYSCHAR, letter, 1 << 29); }
bool Ticked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool Shows(HWND w) { return IsWindowVisible(w) != FALSE; }
// A slider moved by the user: the position, then the notification the dialog listens to.
void Slide(HWND slider, int pos) {
    SendMessageW(slider, TBM_SETPOS, TRUE, pos);
    SendMessageW(GetParent(slider), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, pos), reinterpret_cast<LPARAM>(slider));
}
int Pos(HWND slider) { return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0)); }
int Height(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r.bottom - r.top;
}
int Scaled(int pixels) {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return MulDiv(pixels, dpi, 96);
}
// The background the dialog gives a box, asked the way Windows asks: an edit box that cannot be
// edited asks as a label does.
COLORREF BoxColour(HWND box) {
    const UINT msg = IsWindowEnabled(box) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    HDC dc = GetDC(box);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(box), msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box)));
    ReleaseDC(box, dc);
    LOGBRUSH lb{};
    if (!brush || !GetObjectW(brush, sizeof(lb), &lb)) return CLR_INVALID;
    return lb.lbColor;
}

// Settings files in a fresh data folder, the options over them, a record folder of the test's own.
class Questions : public ::testing::Test {
protected:
    tvtest::ScopedDataFolders data;
    TempFolder files, records;
    SettingsStore user{files.file(L"defualt.ini")};
    SettingsStore common{files.file(L"common.ini")};
    tvtest::FakeOptionsHost host = AdminHost();
    Options options{user, common, host, RunKeyEntry{{HKEY_LOCAL_MACHINE, kRunPath}, {HKEY_CURRENT_USER, kRunPath}, L"TolVaneQuestionTest"}};
    ScriptedPrompter prompter;
    HWND owner = nullptr;

    void SetUp() override {
        // A window closed by an earlier test may have left the end-of-program message behind;
        // the dialog's loop rightly gives way to it, so clear it first.
        MSG m;
        while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        options.Load();
        options.values.recordPath = records.path() + L"\\";
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 700, 500, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override {
        if (owner) DestroyWindow(owner);
    }
    void SaveShot(const wchar_t* name, HWND dialog) {
        SetWindowPos(dialog, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        // No messages are read meanwhile, so the owner paints what the move uncovered here too.
        for (HWND w : {owner, dialog})
            RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(100);
        EXPECT_TRUE(tvtest::SaveScreenshot(tvtest::ScreenshotFolder() + L"\\" + name));
    }
};

class RecordQuestion : public Questions {
protected:
    TFrmRecordType dlg{options, prompter};
    std::wstring chosen = L"(unset)";
    bool Ask(std::function<void()> step, const std::wstring& newName = L"Dec 08,2026_003",
             const std::wstring& selected = L"Work") {
        tvtest::RunSoon(std::move(step));
        return dlg.Ask(owner, newName, selected, chosen);
    }
};

}  // namespace

TEST_F(RecordQuestion, TheNameBoxFollowsTheRecordTypeOverWhatWasTyped) {
    struct Seen {
        std::wstring text;
        bool enabled;
        COLORREF colour;
    };
    std::vector<Seen> seen;
    auto look = [&] { seen.push_back({Text(dlg.EdtRename), IsWindowEnabled(dlg.EdtRename) != FALSE, BoxColour(dlg.EdtRename)}); };
    bool ok = Ask([&] {
        look();
        Type(dlg.EdtRename, L"typed");
        Click(dlg.RbNewRecord);  // the type already chosen: what was typed stays
        look();
        Click(dlg.RbAddToRecord);
        look();
        Click(dlg.RbNewRecord);
        look();
        Type(dlg.EdtRename, L"again");
        Click(dlg.RbAddToRecord);
        Click(dlg.BtnConfirm);
    });
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].text, L"Dec 08,2026_003");
    EXPECT_TRUE(seen[0].enabled);
    EXPECT_EQ(seen[0].colour, RGB(255, 255, 255));
    EXPECT_EQ(seen[1].text, L"typed");
    EXPECT_EQ(seen[2].text, L"Work");
    EXPECT_FALSE(seen[2].enabled);
    EXPECT_EQ(seen[2].colour, RGB(239, 239, 239));
    EXPECT_EQ(seen[3].text, L"Dec 08,2026_003");
    EXPECT_TRUE(seen[3].enabled);
    EXPECT_EQ(seen[3].colour, RGB(255, 255, 255));
    ASSERT_TRUE(ok);
    EXPECT_EQ(chosen, L"Work");
    EXPECT_EQ(options.values.recordType, 1);

    // Shown again, the stored type fills the box; with no record selected adding shows the new name.
    seen.clear();
    ok = Ask([&] {
        look();
        Click(dlg.BtnConfirm);
    }, L"Dec 09,2026_001", L"");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Dec 09,2026_001");
    EXPECT_FALSE(seen[0].enabled);
    EXPECT_TRUE(ok);
    EXPECT_EQ(chosen, L"Dec 09,2026_001");
}

TEST_F(RecordQuestion, ABlankNameKeepsTheDialogOpenWithARedBoxThatHasTheFocus) {
    bool open = false;
    COLORREF refused = 0;
    HWND focus = nullptr;
    bool ok = Ask([&] {
        Type(dlg.EdtRename, L"  \t ");
        Click(dlg.BtnConfirm);
        open = Shows(dlg.hwnd());
        refused = BoxColour(dlg.EdtRename);
        focus = GetFocus();
        Type(dlg.EdtRename, L"  Evening work ");
        Key(dlg.EdtRename, VK_RETURN);
    });
    EXPECT_TRUE(open);
    EXPECT_EQ(refused, 255u);
    EXPECT_EQ(focus, dlg.EdtRename);
    ASSERT_TRUE(ok);
    EXPECT_EQ(chosen, L"Evening work");
    EXPECT_EQ(dlg.nameBoxColour(), RGB(255, 255, 255));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(RecordQuestion, ANewRecordNamedAfterAnExistingOneAsksBeforeReplacingIt) {
    const std::wstring existing = records.file(L"Work.tolvane");
    ASSERT_TRUE(tvtest::WriteAll(existing, "<x/>"));
    prompter.answers = {false, true};
    bool openAfterDecline = false;
    bool ok = Ask([&] {
        Type(dlg.EdtRename, L"Work");
        Click(dlg.BtnConfirm);
        openAfterDecline = Shows(dlg.hwnd());
        Click(dlg.BtnConfirm);
    });
    EXPECT_TRUE(openAfterDecline);
    ASSERT_TRUE(ok);
    EXPECT_EQ(chosen, L"Work");
    ASSERT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(prompter.asked[0], records.path() + L"\\Work.tolvane is already exists.\r\nDo you want to replace it?");
    EXPECT_EQ(prompter.owners[0], dlg.hwnd());

    // Adding to that record replaces nothing, so nothing is asked.
    ok = Ask([&] {
        Click(dlg.RbAddToRecord);
        Click(dlg.BtnConfirm);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(prompter.asked.size(), 2u);
}

TEST_F(RecordQuestion, ConfirmTakesTheOptionsBackAndWritesTheirKeysInOrder) {
    options.values.showStartFilterList = true;
    options.values.recordWebPages = false;
    options.values.recentDocDays = 60;
    common.WriteInteger(keys::kStatus, keys::kOpenWindow, kResumeRecord);
    bool writtenBeforeShowing = false;
    int marker = -1;
    std::wstring caption;
    bool ok = Ask([&] {
        writtenBeforeShowing = user.ReadBool(keys::kDefault, keys::kShowStartFilterList, false);
        marker = common.ReadInteger(keys::kStatus, keys::kOpenWindow, -1);
        // From here on the file shows only what confirming writes, in its order.
        DeleteFileW(user.path().c_str());
        Click(dlg.CbWebpage);
        Slide(dlg.tbRecRecentDoc, 30);
        caption = Text(dlg.lbRecRecentDoc);
        Click(dlg.cbDisplayPCStartFilterList);
        Click(dlg.RbAddToRecord);
        Click(dlg.cbDonotShowRecordSettings);
        Click(dlg.CbInstalledPrograms);
        Click(dlg.BtnConfirm);
    });
    EXPECT_TRUE(writtenBeforeShowing);
    EXPECT_EQ(marker, kResumeNone);
    EXPECT_EQ(caption, L"Record Recent Documents30 days ago");
    ASSERT_TRUE(ok);
    EXPECT_EQ(KeysInFileOrder(user.path()),
              (std::vector<std::wstring>{keys::kRecordWebPages, keys::kRecordRecentDocuments, keys::kRecentDocDays, keys::kFilterWindowsStart,
                                         keys::kShowStartFilterList, keys::kAskWhenRecord, keys::kRecordType}));
    EXPECT_TRUE(user.ReadBool(keys::kDefault, keys::kRecordWebPages, false));
    EXPECT_EQ(user.ReadInteger(keys::kDefault, keys::kRecentDocDays, 0), 30);
    EXPECT_FALSE(user.ReadBool(keys::kDefault, keys::kShowStartFilterList, true));
    EXPECT_FALSE(user.ReadBool(keys::kDefault, keys::kAskWhenRecord, true));
    EXPECT_EQ(user.ReadInteger(keys::kDefault, keys::kRecordType, 0), 1);
    const LiveOptions& v = options.values;
    EXPECT_TRUE(v.recordWebPages);
    EXPECT_EQ(v.recentDocDays, 30);
    EXPECT_FALSE(v.showStartFilterList);
    EXPECT_FALSE(v.askWhenRecord);
    EXPECT_EQ(v.recordType, 1);
    EXPECT_TRUE(dlg.installedProgramsChosen());
    EXPECT_EQ(chosen, L"Work");

    // "Record Installed Programs" is not kept: the next question starts without it.
    bool installedAtStart = true;
    Ask([&] {
        installedAtStart = Ticked(dlg.CbInstalledPrograms);
        Click(dlg.BtnConfirm);
    });
    EXPECT_FALSE(installedAtStart);
    EXPECT_FALSE(dlg.installedProgramsChosen());
}

TEST_F(RecordQuestion, CancellingWritesOnlyTheFilterListAndChangesNoOption) {
    const LiveOptions before = options.values;
    bool ok = Ask([&] {
        Click(dlg.CbWebpage);
        Click(dlg.CbRecrodRecentDocument);
        Click(dlg.RbAddToRecord);
        Click(dlg.cbDonotShowRecordSettings);
        Key(dlg.CbWebpage, VK_ESCAPE);
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(chosen, L"(unset)");
    EXPECT_EQ(KeysInFileOrder(user.path()), std::vector<std::wstring>{keys::kShowStartFilterList});
    EXPECT_EQ(options.values.recordWebPages, before.recordWebPages);
    EXPECT_EQ(options.values.recordRecentDocuments, before.recordRecentDocuments);
    EXPECT_EQ(options.values.recordType, before.recordType);
    EXPECT_TRUE(options.values.askWhenRecord);

    // Enter on the cancel button cancels too, and the close box; Enter anywhere else confirms.
    EXPECT_FALSE(Ask([&] {
        SetFocus(dlg.SpeedButton1);
        Key(dlg.SpeedButton1, VK_RETURN);
    }));
    EXPECT_FALSE(Ask([&] { PostMessageW(dlg.hwnd(), WM_CLOSE, 0, 0); }));
    EXPECT_EQ(KeysInFileOrder(user.path()), std::vector<std::wstring>{keys::kShowStartFilterList});
    EXPECT_TRUE(Ask([&] { Key(dlg.CbFilterPCStart, VK_RETURN); }));
    EXPECT_EQ(chosen, L"Dec 08,2026_003");
}

TEST_F(RecordQuestion, TheHintShowsOnlyWhileDontShowAgainIsTicked) {
    options.values.askWhenRecord = false;  // the box starts ticked
    std::vector<bool> hint;
    bool boxAtStart = false;
    Ask([&] {
        boxAtStart = Ticked(dlg.cbDonotShowRecordSettings);
        hint.push_back(Shows(dlg.LblHint));
        Click(dlg.cbDonotShowRecordSettings);
        hint.push_back(Shows(dlg.LblHint));
        Click(dlg.cbDonotShowRecordSettings);
        hint.push_back(Shows(dlg.LblHint));
        Click(dlg.cbDonotShowRecordSettings);
        Click(dlg.BtnConfirm);
    });
    EXPECT_TRUE(boxAtStart);
    EXPECT_EQ(hint, (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(options.values.askWhenRecord);
    EXPECT_TRUE(user.ReadBool(keys::kDefault, keys::kAskWhenRecord, false));
    EXPECT_EQ(Text(dlg.LblHint),
              L"This window will no longer display the next operation.To reset,you can go to \"Settings\",\"Record\","
              L"Select \"Ask for action when record\"");
}

TEST_F(RecordQuestion, TheAdminStripShowsWhenNotElevatedAndItsBoxRestartsElevated) {
    int elevatedHeight = 0, plainHeight = 0;
    bool stripElevated = true, stripPlain = false;
    host.admin = true;
    Ask([&] {
        elevatedHeight = Height(dlg.hwnd());
        stripElevated = Shows(dlg.PanelHint);
        Click(dlg.SpeedButton1);
    });
    host.admin = false;
    bool ok = Ask([&] {
        plainHeight = Height(dlg.hwnd());
        stripPlain = Shows(dlg.PanelHint);
        Click(dlg.CbRunAsAdmin);
    });
    EXPECT_EQ(elevatedHeight, Scaled(242));
    EXPECT_EQ(plainHeight, Scaled(284));
    EXPECT_FALSE(stripElevated);
    EXPECT_TRUE(stripPlain);
    EXPECT_FALSE(ok);
    EXPECT_EQ(host.adminRuns, 1);
    EXPECT_EQ(common.ReadInteger(keys::kStatus, keys::kOpenWindow, 0), kResumeRecord);
    EXPECT_FALSE(Ticked(dlg.CbRunAsAdmin));
}

TEST_F(RecordQuestion, AdminBoxWhoseRestartDidNotHappenAsksAgainWithNoMarker) {
    host.admin = false;
    host.restartStarts = false;
    bool shownAgain = false;
    int markerMeanwhile = -1;
    Ask([&] {
        Click(dlg.CbRunAsAdmin);
        tvtest::RunSoon([&] {
            shownAgain = IsWindowVisible(dlg.hwnd()) != FALSE;
            markerMeanwhile = common.ReadInteger(keys::kStatus, keys::kOpenWindow, -1);
            Click(dlg.SpeedButton1);
        });
    });
    EXPECT_EQ(host.adminRuns, 1);
    EXPECT_TRUE(shownAgain);
    EXPECT_EQ(markerMeanwhile, kResumeNone);
}

TEST_F(RecordQuestion, Screenshots) {
    host.admin = false;
    Ask([&] {
        SaveShot(L"record_question.png", dlg.hwnd());
        Click(dlg.RbAddToRecord);
        Click(dlg.cbDonotShowRecordSettings);
        Click(dlg.CbRecrodRecentDocument);
        SaveShot(L"record_question_adding.png", dlg.hwnd());
        EXPECT_EQ(tvtest::ClippedCaptions(dlg.hwnd()), std::vector<std::wstring>{});
        Click(dlg.SpeedButton1);
    });
    host.admin = true;
    Ask([&] {
        Type(dlg.EdtRename, L"");
        Click(dlg.BtnConfirm);
        SaveShot(L"record_question_elevated_refused.png", dlg.hwnd());
        Click(dlg.SpeedButton1);
    });
}

TEST_F(RecordQuestion, TheWindowIsKeptAndMadeAgainOnlyAfterItsOwnerWent) {
    HWND first = nullptr, second = nullptr, third = nullptr;
    bool nested = true;
    std::wstring nestedName = L"(unset)", textAfterNested;
    Ask([&] {
        first = dlg.hwnd();
        // A second question while this one shows is refused and leaves this one as it was.
        nested = dlg.Ask(owner, L"Other", L"", nestedName);
        textAfterNested = Text(dlg.EdtRename);
        Click(dlg.SpeedButton1);
    });
    EXPECT_FALSE(nested);
    EXPECT_EQ(nestedName, L"(unset)");
    EXPECT_EQ(textAfterNested, L"Dec 08,2026_003");
    Ask([&] {
        second = dlg.hwnd();
        Click(dlg.SpeedButton1);
    });
    EXPECT_EQ(first, second);
    DestroyWindow(owner);  // takes its owned windows with it
    owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 700, 500, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(dlg.EdtRename, nullptr);
    bool ok = Ask([&] {
        third = dlg.hwnd();
        Type(dlg.EdtRename, L"After");
        Click(dlg.BtnConfirm);
    });
    EXPECT_NE(third, nullptr);
    EXPECT_EQ(GetWindow(third, GW_OWNER), owner);
    EXPECT_TRUE(ok);
    EXPECT_EQ(chosen, L"After");
}

TEST_F(Questions, SmartRecordWritesItsFourKeysAndAnswersTheInterval) {
    TFrmSmartRecordSettings dlg{options};
    options.values.recentDocDays = 10;
    options.values.recordWebPages = false;
    std::wstring intervalCaption, movedCaption, recentCaption;
    int intervalAtStart = 0, chosen = -1;
    bool strip = true;
    int height = 0;
    host.admin = true;
    tvtest::RunSoon([&] {
        intervalAtStart = Pos(dlg.tbRecordInterval);
        intervalCaption = Text(dlg.lbRecording);
        recentCaption = Text(dlg.lbRecRecentDoc);
        strip = Shows(dlg.PanelHint);
        height = Height(dlg.hwnd());
        DeleteFileW(user.path().c_str());
        Slide(dlg.tbRecordInterval, 20);
        movedCaption = Text(dlg.lbRecording);
        Slide(dlg.tbRecRecentDoc, 60);
        Click(dlg.CbWebpage);
        Click(dlg.cbDoNotShowSmartSetting);
        EXPECT_TRUE(Shows(dlg.LblHint));
        Click(dlg.BtnConfirm);
    });
    ASSERT_TRUE(dlg.Ask(owner, 2, chosen));
    EXPECT_EQ(intervalAtStart, 3);
    EXPECT_EQ(intervalCaption, L"Record Every 3 seconds");
    EXPECT_EQ(movedCaption, L"Record Every 20 seconds");
    EXPECT_EQ(recentCaption, L"Record Recent Documents10 days ago");
    EXPECT_FALSE(strip);
    EXPECT_EQ(height, Scaled(228));
    EXPECT_EQ(chosen, 20);
    EXPECT_EQ(KeysInFileOrder(user.path()), (std::vector<std::wstring>{keys::kRecordWebPages, keys::kRecordRecentDocuments,
                                                                        keys::kFilterWindowsStart,
                                                                        keys::kAskWhenSmartRecord}));
    EXPECT_FALSE(user.ReadBool(keys::kDefault, keys::kAskWhenSmartRecord, true));
    EXPECT_TRUE(options.values.recordWebPages);
    EXPECT_EQ(options.values.recentDocDays, 60);  // taken, though not written
    EXPECT_FALSE(options.values.askWhenSmartRecord);
    EXPECT_EQ(options.values.recordInterval, 7);  // the caller's to keep

    // Not elevated: the strip shows. Ca&ncel by its letter leaves everything as it was.
    host.admin = false;
    const std::string before = tvtest::ReadAll(user.path());
    tvtest::RunSoon([&] {
        strip = Shows(dlg.PanelHint);
        height = Height(dlg.hwnd());
        EXPECT_TRUE(Ticked(dlg.cbDoNotShowSmartSetting));
        SaveShot(L"smart_record_question.png", dlg.hwnd());
        EXPECT_EQ(tvtest::ClippedCaptions(dlg.hwnd()), std::vector<std::wstring>{});
        Click(dlg.CbWebpage);
        AltKey(dlg.CbWebpage, L'n');
    });
    chosen = -1;
    EXPECT_FALSE(dlg.Ask(owner, 45, chosen));
    EXPECT_EQ(chosen, -1);
    EXPECT_TRUE(strip);
    EXPECT_EQ(height, Scaled(268));
    EXPECT_EQ(tvtest::ReadAll(user.path()), before);
    EXPECT_TRUE(options.values.recordWebPages);
}

TEST_F(Questions, ReplayAsksWithTheCountOfTheChosenDocuments) {
    TfrmReplayWhenWinStart dlg{options};
    options.values.replayAllChildren = false;
    std::vector<std::wstring> texts;
    bool hintAtStart = true;
    int height = 0;
    tvtest::RunSoon([&] {
        texts.push_back(Text(dlg.lbHint));
        Click(dlg.RbReplayAllChildDoc);
        texts.push_back(Text(dlg.lbHint));
        Click(dlg.RbReplayFirstChildDoc);
        texts.push_back(Text(dlg.lbHint));
        Click(dlg.RbReplayAllChildDoc);
        hintAtStart = Shows(dlg.LblHint);
        height = Height(dlg.hwnd());
        Click(dlg.CbDonotshow);
        SaveShot(L"replay_question.png", dlg.hwnd());
        EXPECT_EQ(tvtest::ClippedCaptions(dlg.hwnd()), std::vector<std::wstring>{});
        Key(dlg.RbReplayAllChildDoc, VK_RETURN);
    });
    ASSERT_TRUE(dlg.Ask(owner, L"Work", 3, 8));
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Are you sure you want to launch these 3 items in 'Work'?   ",
                                                L"Are you sure you want to launch these 8 items in 'Work'?   ",
                                                L"Are you sure you want to launch these 3 items in 'Work'?   "}));
    EXPECT_FALSE(hintAtStart);
    EXPECT_EQ(height, Scaled(kReplayHeight));
    EXPECT_TRUE(options.values.replayAllChildren);
    EXPECT_FALSE(options.values.askWhenReplay);
    EXPECT_EQ(KeysInFileOrder(user.path()),
              (std::vector<std::wstring>{keys::kAskWhenReplay, keys::kReplayAllChildren}));
    EXPECT_TRUE(user.ReadBool(keys::kDefault, keys::kReplayAllChildren, false));

    // Shown again: the stored choice, its count (the larger one, whichever it is) at once; "&No"
    // by its letter, and Escape, write nothing.
    const std::string before = tvtest::ReadAll(user.path());
    std::wstring shown;
    bool allTicked = false;
    tvtest::RunSoon([&] {
        shown = Text(dlg.lbHint);
        allTicked = Ticked(dlg.RbReplayAllChildDoc);
        Click(dlg.RbReplayFirstChildDoc);
        Click(dlg.CbDonotshow);
        AltKey(dlg.RbReplayFirstChildDoc, L'n');
    });
    EXPECT_FALSE(dlg.Ask(owner, L"Dec 08,2026_003", 9, 4));
    EXPECT_TRUE(allTicked);
    EXPECT_EQ(shown, L"Are you sure you want to launch these 9 items in 'Dec 08,2026_003'?   ");
    tvtest::RunSoon([&] { Key(dlg.BtnConfirm, VK_ESCAPE); });
    EXPECT_FALSE(dlg.Ask(owner, L"Work", 1, 1));
    EXPECT_EQ(tvtest::ReadAll(user.path()), before);
    EXPECT_TRUE(options.values.replayAllChildren);
    EXPECT_FALSE(options.values.askWhenReplay);
}
