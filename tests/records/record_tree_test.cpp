#include "records/record_tree.h"

#include <gtest/gtest.h>

using namespace tv;

namespace {
// A record with a group "C:\" holding two documents, and a single program.
void Fill(ShownRecord& r) {
    TMyDoc entry;
    entry.groupKey = L"C:\\";
    entry.path = L"C:\\a.doc";
    entry.title = L"a";
    auto [group, child] = r.items.AppendGrouped(entry);
    RecordNode* g = r.docs.Add(nullptr, L"C:\\", group);
    r.docs.Add(g, L"a", child);
    TMyDoc b = entry;
    b.path = L"C:\\b.doc";
    b.title = L"b";
    r.docs.Add(g, L"b", r.items.Append(b));
    TMyDoc program;
    program.path = L"C:\\Windows\\notepad.exe";
    program.title = L"Notepad";
    r.docs.Add(nullptr, L"Notepad", r.items.Append(program));
}
}  // namespace

TEST(RecordTree, NodesKeepOrderAndPointToTheirItems) {
    ShownRecord r;
    Fill(r);
    ASSERT_EQ(r.docs.top().size(), 2u);
    EXPECT_EQ(r.docs.NodeCount(), 4u);
    std::vector<std::wstring> captions;
    r.docs.Walk([&](RecordNode& n) { captions.push_back(n.caption); });
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"C:\\", L"a", L"b", L"Notepad"}));
    EXPECT_TRUE(r.NodesPointToItems());
    EXPECT_EQ(r.items.At(r.docs.top()[0]->children[0]->data.itemIndex).path, L"C:\\a.doc");
}

TEST(RecordTree, RemovingANodeKeepsItsItemsAndTheOtherIndexes) {
    ShownRecord r;
    Fill(r);
    int before = r.items.Count();
    r.docs.Remove(r.docs.top()[0].get());
    EXPECT_EQ(r.docs.NodeCount(), 1u);
    EXPECT_EQ(r.items.Count(), before);
    EXPECT_EQ(r.items.At(r.docs.top()[0]->data.itemIndex).title, L"Notepad");
    EXPECT_TRUE(r.NodesPointToItems());
    r.items.Empty();
    EXPECT_FALSE(r.NodesPointToItems());  // the tree must be cleared with the items
}

TEST(RecordTree, ExpandingWritesTheSelectionFileUnlessARecordingFillsTheTree) {
    ShownRecord r;
    Fill(r);
    std::vector<std::wstring> written;
    r.writeSelectionFile = [&written](const std::wstring& p) { written.push_back(p); };
    r.currentRecordPath = L"C:\\Records\\Dec 08,2026_001.tolvane";
    RecordNode& group = *r.docs.top()[0];
    r.TVDocsExpanded(group);
    EXPECT_TRUE(r.items.At(group.data.itemIndex).expanded);
    EXPECT_EQ(written, std::vector<std::wstring>{L"C:\\Records\\Dec 08,2026_001.tolvanetreesel"});
    r.recording = true;
    r.TVDocsCollapsed(group);
    EXPECT_FALSE(r.items.At(group.data.itemIndex).expanded);
    EXPECT_EQ(written.size(), 1u);
}

TEST(RecordTree, SelectionFileNameReplacesOnlyTheLastExtension) {
    EXPECT_EQ(SelectionFilePath(L"C:\\R\\a.b.tolvane"), L"C:\\R\\a.b.tolvanetreesel");
    EXPECT_EQ(SelectionFilePath(L"C:\\R.d\\name"), L"C:\\R.d\\name.tolvanetreesel");
}

namespace {
std::vector<std::wstring> Captions(const std::vector<std::unique_ptr<RecordNode>>& nodes) {
    std::vector<std::wstring> out;
    for (const auto& n : nodes) out.push_back(n->caption);
    return out;
}
}  // namespace

TEST(RecordTreeOrder, NodesTakeTheirPlaceByCaptionWhateverOrderTheyCameIn) {
    RecordTree t;
    t.AddSorted(nullptr, L"Zeta", 0);
    t.AddSorted(nullptr, L"alpha", 1);
    RecordNode* m = t.AddSorted(nullptr, L"Mike", 2);
    t.AddSorted(m, L"b.doc", 3);
    t.AddSorted(m, L"A.doc", 4);
    // Letters first and case aside, unlike a plain code comparison that would put "Zeta" first.
    EXPECT_EQ(Captions(t.top()), (std::vector<std::wstring>{L"alpha", L"Mike", L"Zeta"}));
    EXPECT_EQ(Captions(m->children), (std::vector<std::wstring>{L"A.doc", L"b.doc"}));
    EXPECT_EQ(m->children[0]->parent, m);
    // A second node of the same caption goes after the first, so equal captions keep the order they came in.
    t.AddSorted(nullptr, L"alpha", 5);
    EXPECT_EQ(t.top()[0]->data.itemIndex, 1);
    EXPECT_EQ(t.top()[1]->data.itemIndex, 5);
}

TEST(RecordTreeOrder, SortingOnceAfterABulkChangeGivesTheOrderOfSortingAfterEveryInsert) {
    const std::vector<std::wstring> captions = {L"zulu", L"Alpha", L"alpha", L"10", L"9", L"Écru", L"echo",
                                                L"Bravo", L"_x", L"bravo", L"Charlie", L"co-op", L"coop", L"o'neil",
                                                L"oneil", L"", L"straße", L"strasse", L"a b", L"ab"};
    RecordTree bulk, oneByOne;
    for (size_t i = 0; i < captions.size(); ++i) {
        RecordNode* a = bulk.Add(nullptr, captions[i], static_cast<int>(i));
        RecordNode* b = oneByOne.AddSorted(nullptr, captions[i], static_cast<int>(i));
        for (size_t j = captions.size(); j-- > 0;) {
            bulk.Add(a, captions[j], static_cast<int>(j));
            oneByOne.AddSorted(b, captions[j], static_cast<int>(j));
        }
    }
    bulk.SortByCaption();
    std::vector<std::wstring> x, y;
    bulk.Walk([&](RecordNode& n) { x.push_back(n.caption + L"#" + std::to_wstring(n.data.itemIndex)); });
    oneByOne.Walk([&](RecordNode& n) { y.push_back(n.caption + L"#" + std::to_wstring(n.data.itemIndex)); });
    EXPECT_EQ(x, y);
    // Case decides only between captions that are otherwise equal.
    for (size_t i = 1; i < bulk.top().size(); ++i)
        EXPECT_FALSE(CaptionBefore(bulk.top()[i]->caption, bulk.top()[i - 1]->caption)) << i;
    EXPECT_TRUE(CaptionBefore(L"alpha", L"Bravo"));
    EXPECT_NE(CaptionBefore(L"alpha", L"Alpha"), CaptionBefore(L"Alpha", L"alpha"));
}

TEST(RecordTreeOrder, ATopLevelAlreadyInOrderStillHasItsChildrenSorted) {
    RecordTree t;
    RecordNode* a = t.Add(nullptr, L"alpha", 0);
    t.Add(nullptr, L"alpha", 1);  // equal captions keep their order
    t.Add(nullptr, L"bravo", 2);
    t.Add(a, L"zulu", 3);
    RecordNode* mid = t.Add(a, L"mike", 4);
    t.Add(mid, L"y", 5);
    t.Add(mid, L"x", 6);
    t.SortByCaption();
    std::vector<int> order;
    t.Walk([&](RecordNode& n) { order.push_back(n.data.itemIndex); });
    EXPECT_EQ(order, (std::vector<int>{0, 4, 6, 5, 3, 1, 2}));
}
