// Replay through the real program: a start with "/run" opens the start-up record's document in
// its program and then shows the record the user had selected.
#include "e2e/e2e_support.h"

#include "app/settings_store.h"
#include "base/file_util.h"
#include "base/text_file.h"
#include "records/record_file.h"
#include "support/record_entries.h"
#include "ui/main/views/record_views.h"
#include "app/settings_keys.h"

using namespace tvtest;

namespace {

struct TitledWindow {
    const std::wstring* part;
    HWND found = nullptr;
};
BOOL CALLBACK FindTitled(HWND window, LPARAM lp) {
    auto* search = reinterpret_cast<TitledWindow*>(lp);
    wchar_t cls[64] = {}, title[512] = {};
    GetClassNameW(window, cls, 64);
    GetWindowTextW(window, title, 512);
    if (lstrcmpiW(cls, L"Notepad") == 0 && std::wstring(title).find(*search->part) != std::wstring::npos) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A notepad window whose title holds `part`, waited for up to 20 seconds.
HWND WaitForNotepadWith(const std::wstring& part) {
    TitledWindow search{&part};
    for (int i = 0; i < 200 && !search.found; ++i, Sleep(100)) EnumWindows(FindTitled, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

TEST(ReplayThroughTheProgram, RunAtWindowsStartReplaysTheStartUpRecordThenShowsTheUsersRecord) {
    ScopedDataFolders folders;
    ProgramFolder program;
    tv::CreateFolderTree(folders.dataFolder());
    ScopedClasses classes;
    classes.Set(L".tvrep17", L"Tolvane17.Doc");
    classes.Set(L"Tolvane17.Doc\\shell\\open\\command", SystemNotepad() + L" %1");
    TempFolder docs;
    const std::wstring document = docs.file(L"replayed notes.tvrep17");
    ASSERT_TRUE(tv::WriteTextLines(document, {L"notes"}));

    // The start-up record (first in the list) holds notepad with the document; the user last
    // looked at the other one.
    tv::ShownRecord startup;
    tv::RecordNode* notepad = AddEntry(startup, nullptr, L"Notepad", SystemNotepad(), tv::kProgramOrDocument, 12);
    AddEntry(startup, notepad, L"replayed notes.tvrep17", document, tv::kProgramOrDocument, 13);
    ASSERT_TRUE(tv::WriteRecordFile(startup, folders.dataFolder() + L"\\Windows Start.tolvane", L"test"));
    WriteEarlierRecord(folders.dataFolder() + L"\\Dec 08,2026_002.tolvane", 3);
    {
        tv::SettingsStore user(folders.dataFolder() + L"\\defualt.ini");
        user.WriteBool(tv::keys::kDefault, tv::keys::kAskWhenReplay, false);
        user.WriteInteger(tv::keys::kDefault, tv::keys::kStartupRecord, 0);
        user.WriteInteger(tv::keys::kDefault, tv::keys::kSelectedRecord, 1);
    }

    Process first;
    HWND window = StartProgram(first, program.exe(), L"/run");
    ASSERT_NE(window, nullptr);
    HWND opened = WaitForNotepadWith(L"replayed notes");
    EXPECT_NE(opened, nullptr) << "the start-up record's document was not opened";
    if (opened) PostMessageW(opened, WM_CLOSE, 0, 0);

    // Once the first-run step is through, the user's own record is selected and shown.
    HWND list = GetDlgItem(window, tv::kIdRecordList);
    bool userRecord = false;
    for (int i = 0; i < 100 && !userRecord; ++i, Sleep(100))
        userRecord = SendMessageW(list, LB_GETSEL, 1, 0) > 0 && SendMessageW(list, LB_GETSEL, 0, 0) == 0 &&
                     NodeCount(window) == 3;
    EXPECT_TRUE(userRecord);
    EXPECT_EQ(CloseAndWait(window, first), 0);
    tv::SettingsStore user(folders.dataFolder() + L"\\defualt.ini");
    EXPECT_EQ(user.ReadInteger(tv::keys::kDefault, tv::keys::kSelectedRecord, -1), 1);
    EXPECT_EQ(user.ReadInteger(tv::keys::kDefault, tv::keys::kStartupRecord, -1), 0);
}

TEST(ReplayThroughTheProgram, AStartUpIndexPastTheListReplaysNothing) {
    ScopedDataFolders folders;
    ProgramFolder program;
    tv::CreateFolderTree(folders.dataFolder());
    WriteEarlierRecord(folders.dataFolder() + L"\\Dec 08,2026_002.tolvane", 2);
    // The replay asks first: its question shows whether a replay began.
    for (int index : {0, 1}) {
        SCOPED_TRACE("start-up index " + std::to_string(index));
        {
            tv::SettingsStore user(folders.dataFolder() + L"\\defualt.ini");
            user.WriteBool(tv::keys::kDefault, tv::keys::kAskWhenReplay, true);
            user.WriteInteger(tv::keys::kDefault, tv::keys::kStartupRecord, index);
        }
        Process first;
        HWND window = StartProgram(first, program.exe(), L"/run");
        ASSERT_NE(window, nullptr);
        HWND question = WaitForWindow(L"TfrmReplayWhenWinStart", first.pid(), index == 0 ? 20000 : 3000);
        EXPECT_EQ(question != nullptr, index == 0);
        if (question) PostMessageW(question, WM_CLOSE, 0, 0);  // "No": nothing is replayed
        EXPECT_EQ(CloseAndWait(window, first), 0);
    }
}
