// Smart Record through the real program: switched on with the box, it records every 3 seconds,
// and a document opened in notepad meanwhile goes into the record shown at the next tick.
#include "e2e/e2e_support.h"

#include "app/settings_store.h"
#include "app/shell_links.h"
#include "base/file_util.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "capture/recent_documents.h"
#include "records/record_file.h"
#include "records/record_library.h"
#include "ui/main/menus/main_menus.h"
#include "app/settings_keys.h"

using namespace tvtest;

namespace {

bool RecordHolds(const std::wstring& record, const std::wstring& path) {
    tv::ShownRecord saved;
    if (tv::ReadRecordFile(saved, record) != tv::ReadOutcome::Complete) return false;
    for (int i = 0; i < saved.items.Count(); ++i)
        if (tv::EqualsNoCase(saved.items.At(i).path, path)) return true;
    return false;
}

}  // namespace

TEST(SmartRecordThroughTheProgram, ADocumentOpenedInNotepadIsAddedAtTheNextTick) {
    ScopedDataFolders folders;
    ProgramFolder program;
    tv::CreateFolderTree(folders.dataFolder());
    {
        tv::SettingsStore user(folders.dataFolder() + L"\\defualt.ini");
        user.WriteBool(tv::keys::kDefault, tv::keys::kAskWhenRecord, false);
        user.WriteBool(tv::keys::kDefault, tv::keys::kAskWhenSmartRecord, false);
        user.WriteInteger(tv::keys::kDefault, tv::keys::kRecordInterval, 3);
    }
    ScopedClasses classes;
    classes.Set(L".tvsmart", L"TolvaneSmart.Doc");
    classes.Set(L"TolvaneSmart.Doc\\shell\\open\\command", SystemNotepad() + L" %1");

    // The first start records the desktop as it is into today's first record.
    Process first;
    HWND window = StartProgram(first, program.exe(), L"");
    ASSERT_NE(window, nullptr);
    const std::wstring record = WaitForTodaysFirstRecord(folders.dataFolder());
    ASSERT_TRUE(tv::FileExists(record)) << "no first record";
    Sleep(500);

    // Smart Record on, by the box as the user clicks it.
    HWND box = GetDlgItem(window, tv::kCmdSmartRecord);
    ASSERT_NE(box, nullptr);
    PostMessageW(box, BM_CLICK, 0, 0);
    for (int i = 0; i < 100 && SendMessageW(box, BM_GETCHECK, 0, 0) != BST_CHECKED; ++i) Sleep(50);
    ASSERT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    Sleep(1000);  // the recording that switching on makes is over

    // A new document, opened in notepad, with its shortcut in the Recent folder.
    TempFolder docs;
    const std::wstring document = docs.file(L"smart record.tvsmart");
    ASSERT_TRUE(tv::WriteTextLines(document, {L"notes"}));
    const std::wstring recent = tv::RecentFolder();
    tv::CreateFolderTree(recent);
    RemovedAtEnd link{tv::JoinPath(recent, L"smart record.tvsmart.lnk")};
    ASSERT_TRUE(tv::CreateShortcut(link.path, document, docs.path()));
    Process notepad;
    ASSERT_TRUE(notepad.Start(SystemNotepad(), L"\"" + document + L"\""));
    HWND notepadWindow = WaitForWindow(L"Notepad", notepad.pid());
    ASSERT_NE(notepadWindow, nullptr);

    // The next tick, 3 seconds on at most, adds it to the same record; no other record is made.
    bool added = false;
    for (int i = 0; i < 150 && !added; ++i) {
        Sleep(100);
        added = RecordHolds(record, document);
    }
    EXPECT_TRUE(added) << "the document was not added to " << tv::ToAnsi(record);
    EXPECT_EQ(tv::ListRecordNames(folders.dataFolder()).size(), 1u);
    EXPECT_TRUE(tv::SettingsStore(folders.dataFolder() + L"\\defualt.ini").ReadBool(tv::keys::kDefault, tv::keys::kSmartRecord, false));
    CloseAndWait(notepadWindow, notepad);
    EXPECT_EQ(CloseAndWait(window, first), 0);
}
