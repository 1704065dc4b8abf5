#include "records/record_items.h"

#include <gtest/gtest.h>

using namespace tv;

TEST(ItemArray, IndexesStayStableAndEmptyingStartsAgain) {
    ItemArray items;
    TMyDoc a;
    a.path = L"C:\\a.txt";
    EXPECT_EQ(items.Append(a), 0);
    a.path = L"C:\\b.txt";
    EXPECT_EQ(items.Append(a), 1);
    EXPECT_EQ(items.At(0).path, L"C:\\a.txt");
    EXPECT_TRUE(items.Valid(1));
    EXPECT_FALSE(items.Valid(2));
    EXPECT_FALSE(items.Valid(-1));
    items.Empty();
    EXPECT_EQ(items.Count(), 0);
    EXPECT_EQ(items.Append(a), 0);
}

TEST(ItemArray, PathOfShowsEachPathInTheHint) {
    ItemArray items;
    std::vector<std::wstring> shown;
    items.SetPathHint([&shown](const std::wstring& p) { shown.push_back(p); });
    TMyDoc d;
    d.path = L"C:\\x";
    items.Append(d);
    EXPECT_EQ(items.PathOf(0), L"C:\\x");
    EXPECT_EQ(shown, std::vector<std::wstring>{L"C:\\x"});
}

TEST(ItemArray, AGroupedEntryBecomesAGroupItemAndAChildItem) {
    ItemArray items;
    TMyDoc e;
    e.groupKey = L"C:\\";
    e.path = L"C:\\Data\\report.doc";
    e.title = L"report";
    e.kind = kProgramOrDocument;
    e.date = L"2026-12-09";
    e.expanded = true;
    auto [group, child] = items.AppendGrouped(e);
    EXPECT_EQ(items.At(group).path, L"C:\\");
    EXPECT_TRUE(items.At(group).expanded);
    const TMyDoc& c = items.At(child);
    EXPECT_EQ(c.path, L"C:\\Data\\report.doc");
    EXPECT_EQ(c.groupKey, L"C:\\");
    EXPECT_EQ(c.title, L"report");
    EXPECT_EQ(c.date, L"2026-12-09");
    EXPECT_FALSE(c.expanded);
}
