// The program's main job through the real program: a first start with no record records what
// the desktop shows into a record of today.
#include "e2e/e2e_support.h"

#include "app/settings_store.h"
#include "app/shell_links.h"
#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "capture/recent_documents.h"
#include "records/record_file.h"
#include "records/record_library.h"

using namespace tvtest;

namespace {

std::wstring SystemNotepad() {
    wchar_t dir[MAX_PATH] = {};
    GetSystemDirectoryW(dir, MAX_PATH);
    return std::wstring(dir) + L"\\notepad.exe";
}

// Removes a file when the test ends, passed or not.
struct RemovedAtEnd {
    std::wstring path;
    ~RemovedAtEnd() { DeleteFileW(path.c_str()); }
};

}  // namespace

TEST(FirstRecordingThroughTheProgram, NotepadWithItsDocumentGoesIntoTodaysFirstRecord) {
    ScopedDataFolders folders;
    ProgramFolder program;
    tv::CreateFolderTree(folders.dataFolder());
    tv::SettingsStore(folders.dataFolder() + L"\\defualt.ini").WriteBool(L"default", L"CbShowSettingsWhenRecord", false);

    // A type of document that notepad opens.
    ScopedClasses classes;
    classes.Set(L".tvrec16", L"Tolvane16.Doc");
    classes.Set(L"Tolvane16.Doc\\shell\\open\\command", SystemNotepad() + L" %1");
    TempFolder docs;
    const std::wstring document = docs.file(L"first recording.tvrec16");
    ASSERT_TRUE(tv::WriteTextLines(document, {L"notes"}));
    const std::wstring recent = tv::RecentFolder();
    ASSERT_FALSE(recent.empty());
    tv::CreateFolderTree(recent);
    RemovedAtEnd link{tv::JoinPath(recent, L"first recording.tvrec16.lnk")};
    ASSERT_TRUE(tv::CreateShortcut(link.path, document, docs.path()));

    Process notepad;
    ASSERT_TRUE(notepad.Start(SystemNotepad(), L"\"" + document + L"\""));
    ASSERT_NE(WaitForWindow(L"Notepad", notepad.pid()), nullptr);

    Process first;
    HWND window = StartProgram(first, program.exe(), L"");
    ASSERT_NE(window, nullptr);
    SYSTEMTIME today;
    GetLocalTime(&today);
    const std::wstring record =
        tv::NewRecordName(folders.dataFolder(), today, [](const std::wstring&) { return false; });
    tv::ShownRecord saved;
    for (int i = 0; i < 300 && !tv::FileExists(record); ++i) Sleep(100);
    Sleep(300);  // the list and the trees follow the save
    ASSERT_EQ(tv::ReadRecordFile(saved, record), tv::ReadOutcome::Complete) << "no record of today";

    const tv::RecordNode* notepadNode = nullptr;
    for (const auto& node : saved.docs.top()) {
        const std::wstring& path = saved.items.At(node->data.itemIndex).path;
        EXPECT_NE(tv::ToLower(tv::FileNameOf(path)), L"tolvane.exe");  // never itself
        if (tv::EqualsNoCase(path, SystemNotepad())) notepadNode = node.get();
    }
    ASSERT_NE(notepadNode, nullptr) << "notepad was not recorded";
    bool documentUnder = false;
    for (const auto& child : notepadNode->children)
        documentUnder |= tv::EqualsNoCase(saved.items.At(child->data.itemIndex).path, document);
    std::wstring shape;
    saved.docs.Walk([&](tv::RecordNode& n) {
        shape += (n.parent ? L"  " : L"") + saved.items.At(n.data.itemIndex).path + L"\n";
    });
    EXPECT_TRUE(documentUnder) << "the document is not under notepad:\n" << tv::ToAnsi(shape);
    EXPECT_EQ(CloseAndWait(window, first), 0);
}
