// Window places end to end under Wine: notepads on documents that the Recent folder does not
// know are recorded by the real recording routine as one program with its documents, each at
// its window's place; replay opens each document and puts its window back there.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>

#include "base/handles.h"
#include "base/path_rules.h"
#include "base/process_services.h"
#include "base/strings.h"
#include "capture/recording.h"
#include "records/record_file.h"
#include "replay/replay.h"
#include "support/test_support.h"
#include "ui/window_text.h"

using namespace tv;
using namespace tvtest;

namespace {

struct QuietView : RecordAddView {
    void NodeAdded(int, const RecordNode&) override {}
    void ShowWebPageTab() override {}
};

void ExpectSamePlace(const WindowPlace& got, const WindowPlace& want, const std::wstring& what) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(got.known);
    EXPECT_EQ(std::vector<LONG>({got.normal.left, got.normal.top, got.normal.right, got.normal.bottom}),
              std::vector<LONG>({want.normal.left, want.normal.top, want.normal.right, want.normal.bottom}));
    EXPECT_EQ(got.shown, want.shown);
}

// Closes a window that replay opened and waits for its process, which the test started
// through the launcher; ends it when it does not go.
void CloseStarted(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (process.valid() && WaitForSingleObject(process.get(), 15000) != WAIT_OBJECT_0)
        TerminateProcess(process.get(), 1);
}

const WindowPlacing kPlacing{kPlaceWaitMs, [] { Sleep(50); }};

}  // namespace

TEST(WindowPlacesUnderWine, ThreeNotepadsAreRecordedAsOneWithTheirDocumentsAndComeBackInPlace) {
    ComScope com;
    TempFolder work, recent;
    // A type of the test's own opens with notepad (as the program's replay tests do: the
    // prefix's own text type does not start from a 32-bit build with redirection off).
    ScopedClasses classes;
    classes.Set(L".tvplaces", L"TolvanePlaces.Doc");
    classes.Set(L"TolvanePlaces.Doc\\shell\\open\\command", SystemNotepad() + L" \"%1\"");
    const std::wstring names[] = {L"first plan.tvplaces", L"second.tvplaces", L"third.tvplaces"};
    const RECT rects[] = {{40, 30, 440, 330}, {300, 200, 760, 560}, {120, 90, 520, 390}};
    Process notepads[3];
    HWND windows[3] = {};
    std::map<std::wstring, WindowPlace> expected;  // by lower-cased document path
    for (int i = 0; i < 3; ++i) {
        const std::wstring document = work.file(names[i]);
        ASSERT_TRUE(WriteAll(document, "notes"));
        ASSERT_TRUE(notepads[i].Start(SystemNotepad(), L"\"" + document + L"\""));
        windows[i] = WaitForWindow(L"Notepad", notepads[i].pid());
        ASSERT_NE(windows[i], nullptr);
        const RECT& r = rects[i];
        SetWindowPos(windows[i], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(windows[2], SW_MAXIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(windows[2]) != FALSE; }, 10000));
    for (int i = 0; i < 3; ++i) expected[ToLower(work.file(names[i]))] = PlaceOfWindow(windows[i]);
    EXPECT_EQ(expected[ToLower(work.file(names[2]))].shown, ShownState::Maximised);

    // The real recording routine over the real machine, with a Recent folder of its own (empty).
    ShownRecord record;
    QuietView view;
    RecordAdder adder(record, view);
    RecentDocumentList documents;
    InstalledProgramNames programNames;
    adder.recentDocuments = &documents;
    adder.programNames = &programNames;
    RealRecordingSources sources(ExeFolder() + L"\\tolvane.exe", nullptr, recent.path());
    CaptureInto(adder, record, documents, programNames, sources, RecordingSettings{}, RecordingProgress{});

    const std::wstring file = work.file(L"record.tolvane");
    ASSERT_TRUE(WriteRecordFile(record, file, L"C:\\tolvane.exe"));
    ShownRecord read;
    ASSERT_EQ(ReadRecordFile(read, file), ReadOutcome::Complete);
    std::vector<ReplayNode> notepadNodes;
    for (const ReplayNode& node : ReplayNodes(read))
        if (ToLower(FileNameOf(node.path)) == L"notepad.exe") notepadNodes.push_back(node);
    ASSERT_EQ(notepadNodes.size(), 1u) << "one notepad entry";
    ASSERT_EQ(notepadNodes[0].children.size(), 3u);
    for (const ReplayNode& child : notepadNodes[0].children) {
        auto want = expected.find(ToLower(child.path));
        ASSERT_NE(want, expected.end()) << child.path;
        ExpectSamePlace(child.place, want->second, child.path);
    }

    for (int i = 0; i < 3; ++i) ASSERT_GE(CloseAndWait(windows[i], notepads[i]), 0);
    ASSERT_TRUE(FindWindows(L"Notepad").empty());

    RealResolutionMachine machine;
    LauncherContext context;
    context.startupReplay = true;
    context.programFolder = ExeFolder() + L"\\";
    context.dataFolder = work.file(L"TolVane");
    ItemLauncher launcher(RealShellCalls(), ProcessServices::Instance(), machine, context);
    ReplayWalk(notepadNodes, true, [&](const ReplayNode& node) { return OpenReplayNodePlaced(node, launcher, kPlacing); });

    std::vector<HWND> reopened = FindWindows(L"Notepad");
    EXPECT_EQ(reopened.size(), 3u);
    std::map<std::wstring, int> shown;
    for (HWND w : reopened) {
        std::wstring title = ToLower(TextOf(w));
        for (const auto& [path, place] : expected) {
            if (title.find(FileNameOf(path)) == std::wstring::npos) continue;
            ++shown[path];
            ExpectSamePlace(PlaceOfWindow(w), place, title);
        }
    }
    EXPECT_EQ(shown.size(), 3u);
    for (HWND w : reopened) CloseStarted(w);
}

TEST(WindowPlacesUnderWine, AWindowStoredOnAMonitorThatIsGoneComesBackOnTheScreen) {
    Process notepad;
    ASSERT_TRUE(notepad.Start(SystemNotepad(), L""));
    WindowPlace gone;
    gone.known = true;
    gone.normal = {5100, 100, 5500, 400};
    gone.monitor = {L"\\\\.\\DISPLAY9", {5000, 0, 6920, 1080}, {}};
    HWND window = PlaceStartedWindow(notepad.handle(), gone, kPlaceWaitMs, kPlacing.wait);
    ASSERT_NE(window, nullptr);
    const WindowPlace now = PlaceOfWindow(window);
    const std::vector<MonitorArea> monitors = CurrentMonitors();
    ASSERT_FALSE(monitors.empty());
    RECT inside{};
    IntersectRect(&inside, &now.normal, &monitors.front().work);
    EXPECT_TRUE(EqualRect(&inside, &now.normal)) << now.normal.left << "," << now.normal.top;
    EXPECT_EQ(now.normal.right - now.normal.left, 400);
    EXPECT_EQ(now.normal.bottom - now.normal.top, 300);
    EXPECT_GE(CloseAndWait(window, notepad), 0);
}
