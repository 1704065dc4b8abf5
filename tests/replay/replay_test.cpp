// The replay's walk over a record and its opening of each node.
#include "replay/replay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "replay/launcher_fixture.h"
#include "support/record_entries.h"

using namespace tv;
using namespace tvtest;

namespace {

using Paths = std::vector<std::wstring>;

ReplayNode Node(const std::wstring& path, std::vector<ReplayNode> children = {}) {
    return ReplayNode{path, FileNameOf(path), std::move(children)};
}

// The paths the walk opens, and the steps it took.
struct Walked {
    Paths opened;
    int visits = 0;
};
Walked Walk(const std::vector<ReplayNode>& top, bool allChildren, const std::wstring& failAt = L"") {
    Walked w;
    w.visits = ReplayWalk(top, allChildren, [&](const ReplayNode& n) {
        w.opened.push_back(n.path);
        return n.path != failAt;
    });
    return w;
}

const std::vector<ReplayNode> kProgramWithThreeDocuments = {
    Node(L"C:\\Tools\\editor.exe", {Node(L"C:\\d\\a.txt"), Node(L"C:\\d\\b.txt"), Node(L"C:\\d\\c.txt")}),
    Node(L"C:\\d\\lone.txt"),
};

}  // namespace

TEST(ReplayWalk, FirstChildModeOpensOneDocumentAndAllChildrenModeEveryOneButNeverTheProgram) {
    Walked first = Walk(kProgramWithThreeDocuments, false);
    EXPECT_EQ(first.opened, (Paths{L"C:\\d\\a.txt", L"C:\\d\\lone.txt"}));
    // The program's step, the first document's, the pass that ends the loop, the lone item's.
    EXPECT_EQ(first.visits, 4);
    Walked all = Walk(kProgramWithThreeDocuments, true);
    EXPECT_EQ(all.opened, (Paths{L"C:\\d\\a.txt", L"C:\\d\\b.txt", L"C:\\d\\c.txt", L"C:\\d\\lone.txt"}));
    EXPECT_EQ(all.visits, 5);
}

TEST(ReplayWalk, SixHundredItemsWithOneChildEachStopAtTheLimit) {
    std::vector<ReplayNode> top;
    for (int i = 0; i < 600; ++i)
        top.push_back(Node(L"C:\\p" + std::to_wstring(i), {Node(L"C:\\p" + std::to_wstring(i) + L"\\doc.txt")}));
    Walked w = Walk(top, true);
    EXPECT_GE(w.visits, kReplayVisitLimit);
    // Two steps an item: the 500th item's own step reaches the limit before its child opens.
    EXPECT_EQ(w.opened.size(), 499u);
    EXPECT_EQ(w.opened.back(), L"C:\\p498\\doc.txt");
    // Short of the limit nothing says so.
    top.resize(400);
    EXPECT_LT(Walk(top, true).visits, kReplayVisitLimit);
}

TEST(ReplayWalk, TheThousandthStepEndsTheWalkBeforeItOpens) {
    const struct {
        int items, opened;
        bool limitReached;
    } cases[] = {{998, 998, false}, {999, 999, false}, {1000, 999, true}, {1001, 999, true}};
    for (const auto& c : cases) {
        std::vector<ReplayNode> top(c.items, Node(L"C:\\d\\lone.txt"));
        Walked w = Walk(top, true);
        EXPECT_EQ(static_cast<int>(w.opened.size()), c.opened) << c.items;
        EXPECT_EQ(w.visits >= kReplayVisitLimit, c.limitReached) << c.items;
    }
}

TEST(ReplayWalk, AFailedOpenEndsTheWalkThere) {
    Walked w = Walk(kProgramWithThreeDocuments, true, L"C:\\d\\b.txt");
    EXPECT_EQ(w.opened, (Paths{L"C:\\d\\a.txt", L"C:\\d\\b.txt"}));
    EXPECT_LT(w.visits, kReplayVisitLimit);
}

TEST(ReplayWalk, PacesEveryItemAndPassesMessagesAtEachProgram) {
    int pauses = 0, passes = 0;
    ReplayPacing pacing;
    pacing.pause = [&] { ++pauses; };
    pacing.passMessages = [&] { ++passes; };
    ReplayWalk(kProgramWithThreeDocuments, true, [](const ReplayNode&) { return true; }, pacing);
    EXPECT_EQ(pauses, 4);
    EXPECT_EQ(passes, 1);
}

TEST(ReplayCounts, TopLevelItemsAndTheirDirectChildren) {
    ReplayCounts counts = CountReplayItems(kProgramWithThreeDocuments);
    EXPECT_EQ(counts.topLevel, 2);
    EXPECT_EQ(counts.all, 2 + 3);
    std::vector<ReplayNode> many(kReplayCountLimit + 10, Node(L"C:\\x", {Node(L"C:\\x\\y")}));
    counts = CountReplayItems(many);
    EXPECT_EQ(counts.topLevel, kReplayCountLimit);
    EXPECT_EQ(counts.all, 2 * kReplayCountLimit);
}

TEST(ReplayNodes, CopyTheAllTreeWithItemPathsAndCaptions) {
    ShownRecord r;
    RecordNode* program = AddEntry(r, nullptr, L"Editor", L"C:\\Tools\\editor.exe", kProgramOrDocument, 12);
    AddEntry(r, program, L"a.txt", L"C:\\d\\a.txt", kProgramOrDocument, 13);
    AddEntry(r, nullptr, L"Site", L"http://example.test/", kWebPage, 1);
    std::vector<ReplayNode> top = ReplayNodes(r);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].title, L"Editor");
    EXPECT_EQ(top[0].path, L"C:\\Tools\\editor.exe");
    ASSERT_EQ(top[0].children.size(), 1u);
    EXPECT_EQ(top[0].children[0].path, L"C:\\d\\a.txt");
    EXPECT_EQ(top[1].path, L"http://example.test/");
}

class ReplayOpen : public LauncherTest {};

TEST_F(ReplayOpen, TheProgramItselfIsSkippedAndShellPlacesOpenOnce) {
    ItemLauncher launcher = Launcher();
    EXPECT_TRUE(OpenReplayNode(Node(L"D:\\Apps\\TolVane\\TOLVANE.EXE"), launcher));
    EXPECT_TRUE(shell.calls.empty());
    // The table opens the Control Panel folder; nothing else is opened for it.
    EXPECT_TRUE(OpenReplayNode(ReplayNode{L"C:\\Windows\\explorer.exe", L"Control Panel", {}}, launcher));
    ASSERT_EQ(shell.calls.size(), 1u) << ToAnsi(Calls().empty() ? L"" : Calls().back());
    EXPECT_EQ(shell.calls[0].kind, L"SpecialFolder");
    // The picture viewer by its replacement name starts once.
    shell.calls.clear();
    EXPECT_TRUE(OpenReplayNode(ReplayNode{L"Windows Photo Viewer", L"Windows Photo Viewer", {}}, launcher));
    EXPECT_EQ(shell.calls.size(), 1u);
}

TEST_F(ReplayOpen, OrdinaryItemsGoToTheLauncherAsPlainPaths) {
    machine.AddFile(L"C:\\d\\a.txt");
    ItemLauncher launcher = Launcher();
    EXPECT_TRUE(OpenReplayNode(Node(L"C:\\d\\a.txt"), launcher));
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].verb, L"open");
    EXPECT_EQ(shell.calls[0].file, L"C:\\d\\a.txt");
    // A web address of a node is opened as it stands, not at its site's home page.
    shell.calls.clear();
    EXPECT_TRUE(OpenReplayNode(Node(L"http://example.test/page/one.html"), launcher));
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].file, L"http://example.test/page/one.html");
}
