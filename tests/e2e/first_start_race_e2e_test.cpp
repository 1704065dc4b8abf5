#include "e2e/e2e_support.h"

#include <cstdio>
#include <set>

#include "base/file_util.h"
#include "base/strings.h"

using namespace tvtest;

namespace {

const std::wstring kRecordName = L"Dec 08,2026_001.tolvane";
constexpr int kStarts = 20;

// The record file's items once they equal `expected`; waits for the save after the last intake.
std::set<std::wstring> SavedPaths(const std::wstring& record, const std::set<std::wstring>& expected) {
    std::set<std::wstring> saved;
    for (int i = 0; i < 100; ++i, Sleep(100)) {
        saved = RecordPaths(record);
        if (saved == expected) break;
    }
    return saved;
}

}  // namespace

// Twenty starts at one moment with no instance running, each with one file: one of them opens
// the window and the others hand their files to it, however they interleave with its start-up.
// The shown record and its file hold every file and the items from before. Five times over,
// each time from no running instance.
TEST(FirstStartRaceThroughTheProgram, TwentySimultaneousFirstStartsOpenOneWindowWithEveryFile) {
    ScopedDataFolders folders;
    ProgramFolder program;
    TempFolder files;
    const std::wstring record = folders.dataFolder() + L"\\" + kRecordName;
    tv::CreateFolderTree(folders.dataFolder());
    WriteEarlierRecord(record, 5);
    std::set<std::wstring> expected = RecordPaths(record);
    ASSERT_EQ(expected.size(), 5u);

    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(FindWindows(L"TTolvaneWindow").empty());
        std::vector<Process> starts(kStarts);
        for (int i = 0; i < kStarts; ++i) {
            std::wstring file = files.file(L"r" + std::to_wstring(round) + L" f" + std::to_wstring(i) + L".txt");
            ASSERT_TRUE(WriteAll(file, "x"));
            expected.insert(tv::ToLower(file));
            ASSERT_TRUE(starts[i].Start(program.exe(), L"\"" + file + L"\"", CREATE_SUSPENDED));
        }
        DWORD start = GetTickCount();
        for (auto& s : starts) ASSERT_TRUE(s.Resume());

        // All but one hand over and end with the window's answer; one keeps running.
        int ended = 0, answered = 0;
        Process* running = nullptr;
        for (DWORD waited = 0; waited < 180000 && ended < kStarts - 1; waited += 100, Sleep(100)) {
            ended = answered = 0;
            for (auto& s : starts) {
                long code = s.Wait(0);
                if (code == -1) continue;
                ++ended;
                if (code == 1) ++answered;
            }
        }
        EXPECT_EQ(ended, kStarts - 1);
        EXPECT_EQ(answered, kStarts - 1);
        std::vector<HWND> windows = FindWindows(L"TTolvaneWindow");
        ASSERT_EQ(windows.size(), 1u);
        HWND window = windows[0];
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        for (auto& s : starts)
            if (s.pid() == owner) running = &s;
        ASSERT_NE(running, nullptr);
        EXPECT_EQ(running->Wait(0), -1);

        EXPECT_TRUE(WaitForNodes(window, static_cast<int>(expected.size())));
        EXPECT_EQ(SavedPaths(record, expected), expected);
        std::printf("round %d: %d starts handled in %lu ms\n", round, kStarts,
                    static_cast<unsigned long>(GetTickCount() - start));
        EXPECT_EQ(CloseAndWait(window, *running), 0);
        EXPECT_EQ(RecordPaths(record), expected);
    }
}
