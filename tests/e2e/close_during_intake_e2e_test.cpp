#include "e2e/e2e_support.h"

#include <cstdio>
#include <set>

#include "app/handoff.h"
#include "app/instance.h"
#include "base/file_util.h"
#include "base/strings.h"
#include "base/text_file.h"

using namespace tvtest;

namespace {

const std::wstring kRecordName = L"Dec 08,2026_001.tolvane";
constexpr int kEarlier = 3;
constexpr int kLines = 4000;

// Pages of one site: they gather under the site's node, so the record stays within the
// top-level entries a record file keeps.
const wchar_t kSite[] = L"many.example";
std::vector<std::wstring> ManyPaths(const std::wstring& prefix) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < kLines; ++i) paths.push_back(L"http://many.example/" + prefix + std::to_wstring(i));
    return paths;
}

void Expect(std::set<std::wstring>& expected, const std::vector<std::wstring>& paths) {
    expected.insert(kSite);  // the site's own entry
    for (const auto& p : paths) expected.insert(tv::ToLower(p));
}

// What the record file holds beyond `expected`, and what it lacks of it, each by count.
std::string Difference(const std::set<std::wstring>& saved, const std::set<std::wstring>& expected) {
    size_t extra = 0, missing = 0;
    for (const auto& p : saved) extra += expected.count(p) == 0;
    for (const auto& p : expected) missing += saved.count(p) == 0;
    return std::to_string(missing) + " items missing, " + std::to_string(extra) + " items not expected";
}

class ClosingDuringAnIntake : public ::testing::Test {
protected:
    ScopedDataFolders folders;
    ProgramFolder program;
    std::wstring record;
    Process first;
    HWND window = nullptr;
    std::set<std::wstring> expected;

    void SetUp() override {
        record = folders.dataFolder() + L"\\" + kRecordName;
        tv::CreateFolderTree(folders.dataFolder());
        WriteEarlierRecord(record, kEarlier);
        expected = RecordPaths(record);
        window = StartProgram(first, program.exe(), L"");
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(WaitForNodes(window, kEarlier));  // the record is shown
    }

    // Hands `paths` over as the Explorer menu does: a start with "/ctmenu" and the menu file.
    // Answers the start's exit code, the running window's answer.
    long HandOverThroughTheMenu(const std::vector<std::wstring>& paths) {
        EXPECT_TRUE(tv::WriteTextLines(folders.dataFolder() + L"\\ctmenu.txt", paths));
        Process second;
        EXPECT_TRUE(second.Start(program.exe(), L"/ctmenu"));
        return second.Wait(120000);
    }

    // The program has ended by itself, with no window left, and its record file holds `expected`.
    void ExpectEndedWithEverythingSaved() {
        EXPECT_EQ(first.Wait(120000), 0) << "the program still runs or ended abnormally";
        EXPECT_TRUE(FindWindows(L"TTolvaneWindow").empty());
        std::set<std::wstring> saved = RecordPaths(record);
        EXPECT_TRUE(saved == expected) << Difference(saved, expected);
    }
};

}  // namespace

// The window is closed right after a start has handed it thousands of paths, while it takes them.
TEST_F(ClosingDuringAnIntake, TheProgramEndsAndTheRecordHoldsWhatWasAdded) {
    std::vector<std::wstring> paths = ManyPaths(L"a");
    ASSERT_EQ(HandOverThroughTheMenu(paths), 1);
    DWORD start = GetTickCount();
    PostMessageW(window, WM_CLOSE, 0, 0);
    Expect(expected, paths);
    ExpectEndedWithEverythingSaved();
    std::printf("%d handed-off paths taken and saved, and the program ended, %lu ms after the close\n", kLines,
                static_cast<unsigned long>(GetTickCount() - start));
}

// The close comes while the window takes a first hand-off, and a second hand-off arrives after the
// close: a hand-off the window has answered is in the record when the program ends; one it did not
// answer is not.
TEST_F(ClosingDuringAnIntake, AHandOffAnsweredBeforeTheCloseIsNotLost) {
    std::vector<std::wstring> firstPaths = ManyPaths(L"a"), laterPaths = ManyPaths(L"b");
    ASSERT_EQ(HandOverThroughTheMenu(firstPaths), 1);
    PostMessageW(window, WM_CLOSE, 0, 0);
    tv::HandOffWaits waits;
    waits.windowMs = 5000;
    LRESULT answer =
        tv::SendHandOff(tv::HandOffLockName(tv::InstanceBlockName(program.exe())),
                        folders.dataFolder() + L"\\sendparam.txt", nullptr, laterPaths, waits);
    std::printf("the hand-off after the close was answered %ld\n", static_cast<long>(answer));
    Expect(expected, firstPaths);
    if (answer == 1) Expect(expected, laterPaths);
    ExpectEndedWithEverythingSaved();
}
