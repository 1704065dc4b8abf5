#include "e2e/e2e_support.h"

#include <algorithm>
#include <set>

#include "base/file_util.h"
#include "base/strings.h"
#include "records/record_file.h"

using namespace tvtest;

namespace {

const std::wstring kRecordName = L"Dec 08,2026_001.tolvane";

}  // namespace

// Twenty second starts at the same moment, each handing one file to the running instance, five
// times over: every file is in the record, with the items it held before, and one window runs.
TEST(HandOffRaceThroughTheProgram, TwentySimultaneousStartsLoseNoFile) {
    ScopedDataFolders folders;
    ProgramFolder program;
    const std::wstring record = folders.dataFolder() + L"\\" + kRecordName;
    tv::CreateFolderTree(folders.dataFolder());
    WriteEarlierRecord(record, 7);

    Process first;
    HWND window = StartProgram(first, program.exe(), L"");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForNodes(window, 7));  // the record is shown

    std::set<std::wstring> expected = RecordPaths(record);
    ASSERT_EQ(expected.size(), 7u);
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<Process> starts(20);
        for (int i = 0; i < 20; ++i) {
            std::wstring file = L"C:\\race\\f" + std::to_wstring(round) + L"_" + std::to_wstring(i) + L".txt";
            expected.insert(tv::ToLower(file));
            ASSERT_TRUE(starts[i].Start(program.exe(), file));
        }
        for (auto& s : starts) EXPECT_EQ(s.Wait(180000), 1);  // each was answered
        EXPECT_EQ(FindWindows(L"TTolvaneWindow").size(), 1u);
        // An answered start has handed its file over; the window adds and saves it in its turn,
        // after whatever work runs. Only an item that never arrives is lost.
        const int count = static_cast<int>(expected.size());
        for (int i = 0; i < 600 && (NodeCount(window) != count || RecordPaths(record) != expected); ++i) Sleep(100);
        EXPECT_EQ(NodeCount(window), count);
        EXPECT_EQ(RecordPaths(record), expected);
    }
    EXPECT_EQ(CloseAndWait(window, first), 0);
}

