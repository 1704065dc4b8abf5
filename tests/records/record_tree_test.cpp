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
