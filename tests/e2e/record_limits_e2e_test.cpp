// What the program takes in and writes out at its limits, through the real program: a record
// past 5000 items, text a record file cannot carry on a first start, a day of 1000 records,
// and a record that was not read whole.
#include "e2e/e2e_support.h"

#include <random>

#include "base/file_util.h"
#include "base/handles.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "base/xml_text.h"
#include "records/record_file.h"
#include "ui/main/views/record_views.h"

using namespace tvtest;

namespace {

std::wstring HintText(HWND window) {
    HWND hint = GetDlgItem(window, tv::kIdHint);
    if (!hint || !IsWindowVisible(hint)) return L"";
    wchar_t text[1024] = {};
    GetWindowTextW(hint, text, 1024);
    return text;
}

// Waits up to `seconds` for `done`; true once it holds.
template <typename Done>
bool WaitUntil(int seconds, Done done) {
    for (int i = 0; i < seconds * 10; ++i, Sleep(100))
        if (done()) return true;
    return done();
}

// The record files of a folder, with their paths read in lower case; every one must read whole.
std::set<std::wstring> PathsOfAllRecords(const std::wstring& folder) {
    std::set<std::wstring> all;
    for (const std::wstring& name : tv::ListRecordNames(folder)) {
        std::set<std::wstring> paths = RecordPaths(folder + L"\\" + name + L".tolvane");
        all.insert(paths.begin(), paths.end());
    }
    return all;
}

// A program of its own whose record folder holds one earlier record.
struct EarlierRecord {
    explicit EarlierRecord(int items) {
        tv::CreateFolderTree(folders.dataFolder());
        WriteEarlierRecord(record, items);
    }
    ScopedDataFolders folders;
    ProgramFolder program;
    const std::wstring record = folders.dataFolder() + L"\\Dec 08,2026_001.tolvane";
};

}  // namespace

// A hand-off of 10,000 paths into a record of 3: the file keeps all 10,003 items, the 3 it had
// among them, and reads back whole.
TEST(RecordLimitsThroughTheProgram, AHandOffPastFiveThousandItemsKeepsEveryItem) {
    EarlierRecord earlier(3);
    const ScopedDataFolders& folders = earlier.folders;
    const ProgramFolder& program = earlier.program;
    const std::wstring& record = earlier.record;
    std::set<std::wstring> expected = RecordPaths(record);
    std::vector<std::wstring> lines;
    for (int i = 0; i < 10000; ++i) {
        lines.push_back(L"C:\\many\\f" + std::to_wstring(i) + L".txt");
        expected.insert(tv::ToLower(lines.back()));
    }
    ASSERT_TRUE(tv::WriteTextLines(folders.dataFolder() + L"\\ctmenu.txt", lines));

    Process first;
    HWND window = StartProgram(first, program.exe(), L"");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForNodes(window, 3));
    Process menu;
    ASSERT_TRUE(menu.Start(program.exe(), L"/ctmenu"));
    EXPECT_EQ(menu.Wait(120000), 1);  // answered
    EXPECT_TRUE(WaitUntil(300, [&] { return NodeCount(window) == 10003; })) << NodeCount(window) << " nodes";
    EXPECT_TRUE(WaitUntil(60, [&] { return RecordPaths(record).size() == expected.size(); }));
    EXPECT_EQ(RecordPaths(record), expected);
    EXPECT_EQ(CloseAndWait(window, first, 120000), 0);
    EXPECT_EQ(RecordPaths(record), expected);
}

// On a first start, a menu file line holding U+0001, a parameter holding U+FFFF and a menu file
// of random bytes: what a record can hold is taken and saved, the rest is refused, and the
// record on disk reads back whole after the program closes.
TEST(RecordLimitsThroughTheProgram, AFirstStartRefusesTextARecordCannotHold) {
    struct Case {
        const char* name;
        std::vector<std::wstring> menuLines;  // none: no menu file
        std::string menuBytes;                // written as they are when not empty
        std::wstring params;
        std::set<std::wstring> kept;
    };
    std::mt19937 random(20261210);
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(random() & 0xFF);
    noise[0] = '\xFF', noise[1] = '\xFE';  // read as UTF-16, the way the program reads its own files
    const Case cases[] = {
        {"menu line with U+0001", {L"C:\\ok\\menu.txt", L"C:\\bad\x01.txt"}, "", L"/ctmenu", {L"c:\\ok\\menu.txt"}},
        {"parameter with U+FFFF", {}, "", L"\"C:\\bad\xFFFF.txt\" C:\\ok\\param.txt", {L"c:\\ok\\param.txt"}},
        {"menu file of random bytes", {}, noise, L"/ctmenu", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedDataFolders folders;
        ProgramFolder program;
        tv::CreateFolderTree(folders.dataFolder());
        const std::wstring menuFile = folders.dataFolder() + L"\\ctmenu.txt";
        if (!c.menuLines.empty()) {
            ASSERT_TRUE(tv::WriteTextLines(menuFile, c.menuLines));
        }
        if (!c.menuBytes.empty()) {
            ASSERT_TRUE(tv::WriteFileAtomic(menuFile, c.menuBytes));
        }
        Process p;
        HWND window = StartProgram(p, program.exe(), c.params);
        ASSERT_NE(window, nullptr);
        if (!c.kept.empty()) {
            EXPECT_TRUE(WaitUntil(30, [&] { return HasRecords(folders.dataFolder()); }));
        } else {
            Sleep(2000);  // whatever the intake takes, it has taken
        }
        EXPECT_EQ(CloseAndWait(window, p), 0);
        std::set<std::wstring> saved = PathsOfAllRecords(folders.dataFolder());
        for (const std::wstring& path : saved) EXPECT_FALSE(tv::HasCharacterXmlForbids(path)) << tv::ToUtf8(path);
        for (const std::wstring& path : c.kept) EXPECT_TRUE(saved.count(path)) << tv::ToUtf8(path);
    }
}

// With today's _001 to _1000 taken by records that cannot be read whole, a hand-off goes into a
// new record named _1001: no record is written over. The shown record not read whole says so in
// the hint strip until the change is saved as a record of its own.
TEST(RecordLimitsThroughTheProgram, ADayOfAThousandRecordsGoesOnToTheNextNumber) {
    ScopedDataFolders folders;
    ProgramFolder program;
    tv::CreateFolderTree(folders.dataFolder());
    SYSTEMTIME today;
    GetLocalTime(&today);
    const std::wstring first = tv::NewRecordName(folders.dataFolder(), today, [](const std::wstring&) { return false; });
    const std::wstring stem = first.substr(0, first.size() - 12);
    // Well formed, but its second item has no path: the reading stops there.
    const std::string damaged = "<?xml version=\"1.0\"?><t><item text=\"a\" path=\"C:\\a\"/><item text=\"b\"/></t>";
    for (int n = 1; n <= 1000; ++n) ASSERT_TRUE(tv::WriteFileAtomic(stem + tv::Format(L"_%03d.tolvane", n), damaged));

    Process p;
    HWND window = StartProgram(p, program.exe(), L"");
    ASSERT_NE(window, nullptr);
    std::wstring notice;
    EXPECT_TRUE(WaitUntil(30, [&] { return !(notice = HintText(window)).empty(); }));
    EXPECT_NE(notice.find(L"Read in part"), std::wstring::npos) << tv::ToUtf8(notice);
    EXPECT_NE(notice.find(L"damaged after item 1"), std::wstring::npos) << tv::ToUtf8(notice);
    EXPECT_TRUE(SaveScreenshot(ScreenshotFolder() + L"\\partial_record_notice.png"));

    Process second;
    ASSERT_TRUE(second.Start(program.exe(), L"C:\\handed\\over.txt"));
    EXPECT_EQ(second.Wait(60000), 1);
    const std::wstring next = stem + L"_1001.tolvane";
    EXPECT_TRUE(WaitUntil(30, [&] { return tv::FileExists(next); }));
    EXPECT_TRUE(RecordPaths(next).count(L"c:\\handed\\over.txt"));
    EXPECT_TRUE(WaitUntil(10, [&] { return HintText(window).empty(); })) << tv::ToUtf8(HintText(window));
    EXPECT_EQ(CloseAndWait(window, p), 0);
    for (int n : {1, 2, 1000}) {
        std::string bytes;
        ASSERT_TRUE(tv::ReadFileBytes(stem + tv::Format(L"_%03d.tolvane", n), bytes));
        EXPECT_EQ(bytes, damaged) << n;
    }
}

// A save that fails tells the user the reason of the call that failed (here the record file
// held open by another program), never "Success.".
TEST(RecordLimitsThroughTheProgram, AFailedSaveTellsTheSystemsReason) {
    EarlierRecord earlier(2);
    const ProgramFolder& program = earlier.program;
    const std::wstring& record = earlier.record;
    Process first;
    HWND window = StartProgram(first, program.exe(), L"");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForNodes(window, 2));

    tv::UniqueHandle lock(CreateFileW(record.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock.valid());
    Process second;
    ASSERT_TRUE(second.Start(program.exe(), L"C:\\locked\\out.txt"));
    EXPECT_EQ(second.Wait(60000), 1);
    // The message box the program shows, and every text in it.
    std::wstring shown;
    EXPECT_TRUE(WaitUntil(30, [&] {
        HWND box = nullptr;
        for (HWND w : FindWindows(L"#32770")) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == first.pid()) box = w;
        }
        shown.clear();
        for (HWND c = box ? GetWindow(box, GW_CHILD) : nullptr; c; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t text[1024] = {};
            GetWindowTextW(c, text, 1024);
            shown += std::wstring(text) + L"\n";
        }
        return shown.find(L"could not be saved") != std::wstring::npos;
    })) << tv::ToUtf8(shown);
    EXPECT_EQ(shown.find(tv::SystemMessageText(ERROR_SUCCESS)), std::wstring::npos) << tv::ToUtf8(shown);
    const size_t reason = shown.find(L"could not be saved.");
    ASSERT_NE(reason, std::wstring::npos);
    // The line after the message names the reason.
    std::wstring after = shown.substr(reason + wcslen(L"could not be saved."));
    after = after.substr(std::min(after.find_first_not_of(L"\r\n"), after.size()));
    after = after.substr(0, after.find_first_of(L"\r\n"));
    EXPECT_FALSE(tv::Trim(after).empty()) << tv::ToUtf8(shown);
    lock.reset();
    EXPECT_EQ(RecordPaths(record).size(), 2u);  // the record on disk is whole as it was
}
