#include "ui/main/record_views.h"

#include <gtest/gtest.h>

#include <string>

#include "records/record_file.h"

using namespace tv;

namespace {
std::wstring Text(HWND tree, HTREEITEM item) {
    wchar_t buf[256] = {};
    TVITEMW tvi{};
    tvi.mask = TVIF_TEXT;
    tvi.hItem = item;
    tvi.pszText = buf;
    tvi.cchTextMax = 256;
    TreeView_GetItem(tree, &tvi);
    return buf;
}
}  // namespace

TEST(RecordViews, TheTreesShowTheModelWithItsExpansionAndNodeLinks) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300, nullptr,
                                nullptr, nullptr, nullptr);
    RecordViews views;
    ASSERT_TRUE(views.Create(host, nullptr));

    ShownRecord r;
    TMyDoc d;
    d.kind = kProgramOrDocument;
    RecordNode* program = r.docs.Add(nullptr, L"Writer", r.items.Append(d));
    r.docs.Add(program, L"a.doc", r.items.Append(d));
    r.docs.Add(program, L"b.doc", r.items.Append(d));
    program->expanded = true;
    RecordNode* folder = r.docs.Add(nullptr, L"C:\\", r.items.Append(d));
    r.docs.Add(folder, L"Temp", r.items.Append(d));
    views.Show(r);

    EXPECT_EQ(TreeView_GetCount(views.TVDocs), 5u);
    HTREEITEM first = TreeView_GetRoot(views.TVDocs);
    EXPECT_EQ(Text(views.TVDocs, first), L"Writer");
    EXPECT_TRUE(TreeView_GetItemState(views.TVDocs, first, TVIS_EXPANDED) & TVIS_EXPANDED);
    HTREEITEM second = TreeView_GetNextSibling(views.TVDocs, first);
    EXPECT_FALSE(TreeView_GetItemState(views.TVDocs, second, TVIS_EXPANDED) & TVIS_EXPANDED);
    TVITEMW tvi{};
    tvi.mask = TVIF_PARAM;
    tvi.hItem = TreeView_GetChild(views.TVDocs, first);
    TreeView_GetItem(views.TVDocs, &tvi);
    EXPECT_EQ(reinterpret_cast<RecordNode*>(tvi.lParam), program->children[0].get());

    // A second fill replaces the nodes instead of adding to them, and repainting is back on.
    views.Show(r);
    EXPECT_EQ(TreeView_GetCount(views.TVDocs), 5u);
    EXPECT_TRUE(IsWindowVisible(views.TVDocs));
    // A page's tree is made when first asked for, showing the record shown before.
    EXPECT_EQ(views.Existing(1), nullptr);
    HWND apps = views.Tree(1);
    ASSERT_NE(apps, nullptr);
    EXPECT_EQ(TreeView_GetCount(apps), 0u);  // the per-kind trees are built by the reader
    BuildKindTrees(r);
    views.Show(r);
    EXPECT_EQ(TreeView_GetCount(apps), 5u);
    EXPECT_EQ(TreeView_GetCount(views.Tree(2)), 0u);
    DestroyWindow(host);
}
