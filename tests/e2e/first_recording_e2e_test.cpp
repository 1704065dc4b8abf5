// The program's main job through the real program: a first start with no record records what
// the desktop shows into a record of today.
#include "e2e/e2e_support.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "app/settings_store.h"
#include "app/shell_links.h"
#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "capture/recording.h"
#include "capture/recent_documents.h"
#include "records/record_file.h"
#include "records/record_library.h"
#include "ui/main/views/record_views.h"
#include "app/settings_keys.h"

using namespace tvtest;

namespace {

// Watches the hint strip of the program's window from outside, from before the window exists,
// and keeps each text it shows in the order shown. The strip's text is read through the
// window system, so the watch does not wait for the program's busy thread.
class HintWatch {
public:
    HintWatch() : thread_([this] { Run(); }) {}
    ~HintWatch() { Stop(); }
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    const std::vector<std::wstring>& texts() const { return texts_; }
    bool hiddenAtEnd() const { return hint_ && !IsWindowVisible(hint_); }

private:
    void Run() {
        while (!stop_) {
            if (!hint_) {
                HWND window = FindWindowW(L"TTolvaneWindow", nullptr);
                if (window) hint_ = GetDlgItem(window, tv::kIdHint);
            }
            if (hint_) {
                wchar_t text[512] = {};
                GetWindowTextW(hint_, text, 512);
                if (texts_.empty() || texts_.back() != text) texts_.push_back(text);
            }
            Sleep(1);
        }
    }
    std::atomic<bool> stop_{false};
    HWND hint_ = nullptr;
    std::vector<std::wstring> texts_;
    std::thread thread_;
};

}  // namespace

TEST(FirstRecordingThroughTheProgram, NotepadWithItsDocumentGoesIntoTodaysFirstRecord) {
    ScopedDataFolders folders;
    ProgramFolder program;
    tv::CreateFolderTree(folders.dataFolder());
    tv::SettingsStore(folders.dataFolder() + L"\\defualt.ini").WriteBool(tv::keys::kDefault, tv::keys::kAskWhenRecord, false);

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

    HintWatch watch;
    Process first;
    HWND window = StartProgram(first, program.exe(), L"");
    ASSERT_NE(window, nullptr);
    const std::wstring record = WaitForTodaysFirstRecord(folders.dataFolder());
    tv::ShownRecord saved;
    Sleep(300);  // the list and the trees follow the save
    ASSERT_EQ(tv::ReadRecordFile(saved, record), tv::ReadOutcome::Complete) << "no record of today";

    // Started by the 32-bit build, notepad is the 32-bit one from the WOW64 folder, while the
    // document's type names the system folder's: still one program, with its document under it.
    const tv::RecordNode* notepadNode = nullptr;
    int notepads = 0;
    for (const auto& node : saved.docs.top()) {
        const std::wstring& path = saved.items.At(node->data.itemIndex).path;
        EXPECT_NE(tv::ToLower(tv::FileNameOf(path)), L"tolvane.exe");  // never itself
        if (tv::EqualsNoCase(tv::FileNameOf(path), L"notepad.exe")) ++notepads;
        if (tv::EqualsNoCase(path, SystemNotepad())) notepadNode = node.get();
    }
    ASSERT_NE(notepadNode, nullptr) << "notepad was not recorded";
    EXPECT_EQ(notepads, 1) << "notepad is recorded more than once";
    bool documentUnder = false;
    for (const auto& child : notepadNode->children)
        documentUnder |= tv::EqualsNoCase(saved.items.At(child->data.itemIndex).path, document);
    std::wstring shape;
    saved.docs.Walk([&](tv::RecordNode& n) {
        shape += (n.parent ? L"  " : L"") + saved.items.At(n.data.itemIndex).path + L"\n";
    });
    EXPECT_TRUE(documentUnder) << "the document is not under notepad:\n" << tv::ToAnsi(shape);

    // The strip went through the routine's texts in order, ended empty and is hidden.
    watch.Stop();
    std::vector<std::wstring> shown;
    for (const auto& text : watch.texts())
        if (!text.empty()) shown.push_back(text);
    std::string seen;
    for (const auto& text : shown) seen += "  " + tv::ToAnsi(text) + "\n";
    std::printf("hint texts seen:\n%s", seen.c_str());
    // A watch from outside can miss a text that stands only for a moment ("Finish." before the
    // strip hides, a step with nothing to scan on a busy machine): what it saw must be the
    // routine's texts in the routine's order, from the first step to the last.
    std::vector<std::wstring> routine(tv::kRecordingHints, tv::kRecordingHints + tv::kRecordingHintCount);
    routine.push_back(L"Finish.");
    size_t at = 0;
    for (const auto& text : shown) {
        while (at < routine.size() && routine[at] != text) ++at;
        EXPECT_LT(at, routine.size()) << "out of order or not the routine's: " << tv::ToAnsi(text);
    }
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), routine.front());
    EXPECT_NE(std::find(shown.begin(), shown.end(), routine[tv::kRecordingHintCount - 1]), shown.end())
        << "the last step's text was not seen:\n" << seen;
    // Steps with little to do here (the start-up programs, the running programs) pass within a
    // millisecond or two; the slower ones are always seen.
    EXPECT_GE(shown.size(), 5u) << "too few of the routine's texts were seen:\n" << seen;
    EXPECT_TRUE(watch.texts().back().empty());
    EXPECT_TRUE(watch.hiddenAtEnd());
    EXPECT_EQ(CloseAndWait(window, first), 0);
}
