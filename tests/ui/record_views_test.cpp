#include "ui/main/views/record_views.h"

#include <gtest/gtest.h>

#include <string>

#include "records/record_file.h"
#include "support/test_support.h"

using namespace tv;

namespace {
std::wstring Text(HWND tree, HTREEITEM item) { return tvtest::ItemText(tree, item); }
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

namespace {
// A visible host window with the four trees over it.
struct Views : RecordViewsHost {
    HWND host = nullptr;
    RecordViews views;
    std::vector<std::wstring> hovered;
    Views() {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 400, nullptr, nullptr,
                               nullptr, nullptr);
        views.Create(host, nullptr, this);
        views.SetBounds(RECT{0, 0, 380, 360});
    }
    ~Views() { DestroyWindow(host); }
    void NodeHovered(HWND, RecordNode& node) override { hovered.push_back(node.caption); }
};

RecordNode* Entry(ShownRecord& r, RecordNode* parent, const std::wstring& caption, const std::wstring& path,
                  const std::wstring& groupKey = L"") {
    TMyDoc d;
    d.path = path;
    d.groupKey = groupKey.empty() ? path : groupKey;
    d.title = caption;
    return r.docs.AddSorted(parent, caption, r.items.Append(d));
}

HTREEITEM ItemOf(HWND tree, const std::wstring& caption) { return SearchByCaption(tree, caption, false); }

std::vector<std::wstring> SelectedCaptions(HWND tree) {
    std::vector<std::wstring> out;
    for (HTREEITEM item : SelectedItems(tree)) out.push_back(Text(tree, item));
    return out;
}

LPARAM At(HWND tree, HTREEITEM item) {
    RECT r{};
    TreeView_GetItemRect(tree, item, &r, TRUE);
    return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// A click as the mouse makes it: the button comes up again right away.
void Click(HWND tree, HTREEITEM item, WPARAM keys = 0) {
    PostMessageW(tree, WM_LBUTTONUP, keys, At(tree, item));
    SendMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON | keys, At(tree, item));
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}
}  // namespace

TEST(RecordViews, PathsMatchAllowsOneTrailingBackslashOnEitherSideOnly) {
    EXPECT_TRUE(PathsMatch(L"c:\\a", L"c:\\a"));
    EXPECT_TRUE(PathsMatch(L"c:\\a\\", L"c:\\a"));
    EXPECT_TRUE(PathsMatch(L"c:\\a", L"c:\\a\\"));
    EXPECT_TRUE(PathsMatch(L"", L""));
    EXPECT_TRUE(PathsMatch(L"\\", L""));
    EXPECT_FALSE(PathsMatch(L"c:\\a\\\\", L"c:\\a"));
    EXPECT_FALSE(PathsMatch(L"c:\\ab", L"c:\\a"));
    EXPECT_FALSE(PathsMatch(L"c:\\a/", L"c:\\a"));
    EXPECT_FALSE(PathsMatch(L"c:\\b\\", L"c:\\a"));
    EXPECT_FALSE(PathsMatch(L"c:\\a", L""));
}

TEST(RecordViews, SelectByPathMatchesGroupKeysChildrenAndTakesTheLastMatch) {
    Views v;
    ShownRecord r;
    // A drive whose node gathers two documents, a program, and the same document twice.
    RecordNode* drive = Entry(r, nullptr, L"Local Disk (D:)", L"D:\\Work\\report.doc", L"D:\\");
    RecordNode* report = Entry(r, drive, L"report.doc", L"D:\\Work\\report.doc");
    Entry(r, report, L"deep.txt", L"D:\\Work\\deep.txt");  // a level below the children
    Entry(r, drive, L"plan.txt", L"D:\\Work\\plan.txt");
    RecordNode* program = Entry(r, nullptr, L"Editor", L"C:\\Apps\\editor.exe");
    Entry(r, program, L"notes.txt", L"C:\\Notes\\notes.txt");
    Entry(r, nullptr, L"Notes again", L"c:\\notes\\NOTES.TXT");
    Entry(r, nullptr, L"Padded", L"  C:\\Padded\\p.txt  ");  // blanks around the recorded path
    v.views.Show(r);
    HWND tree = v.views.TVDocs;
    PathQueries q;
    q.folderExists = [](const std::wstring& p) { return p == L"D:\\Work\\report.doc"; };  // the drive node's item

    // A folder node with children is found through its group key, with or without the backslash.
    EXPECT_EQ(SelectByPath(tree, r.items, L"  d  ", q), nullptr);
    EXPECT_EQ(SelectByPath(tree, r.items, L"  d:  ", q), ItemOf(tree, L"Local Disk (D:)"));  // key "d:\" = "d:" + "\"
    EXPECT_EQ(SelectByPath(tree, r.items, L"D:\\\\", q), ItemOf(tree, L"Local Disk (D:)"));  // key + "\" = "d:\\"
    EXPECT_EQ(SelectedCaptions(tree), (std::vector<std::wstring>{L"Local Disk (D:)"}));
    // A child matching exactly is selected alone and its parent is expanded.
    EXPECT_FALSE(TreeView_GetItemState(tree, ItemOf(tree, L"Local Disk (D:)"), TVIS_EXPANDED) & TVIS_EXPANDED);
    HTREEITEM plan = SelectByPath(tree, r.items, L" d:\\work\\PLAN.txt ", q);
    EXPECT_EQ(plan, ItemOf(tree, L"plan.txt"));
    EXPECT_TRUE(TreeView_GetItemState(tree, ItemOf(tree, L"Local Disk (D:)"), TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(SelectedCaptions(tree), (std::vector<std::wstring>{L"plan.txt"}));
    // Two nodes with the path: the later one in tree order wins ("Notes again" comes after "Editor").
    EXPECT_EQ(SelectByPath(tree, r.items, L"C:\\Notes\\notes.txt", q), ItemOf(tree, L"Notes again"));
    EXPECT_EQ(SelectedCaptions(tree), (std::vector<std::wstring>{L"Notes again"}));
    EXPECT_EQ(TreeView_GetSelection(tree), ItemOf(tree, L"Notes again"));
    EXPECT_EQ(SelectByPath(tree, r.items, L"c:\\padded\\P.TXT\\", q), ItemOf(tree, L"Padded"));
    // A shortcut is matched through its target; no match leaves nothing selected.
    q.shortcutTarget = [](const std::wstring& p) { return p == L"C:\\link.lnk" ? L"C:\\Apps\\editor.exe" : p; };
    EXPECT_EQ(SelectByPath(tree, r.items, L"C:\\link.lnk", q), ItemOf(tree, L"Editor"));
    EXPECT_EQ(SelectByPath(tree, r.items, L"C:\\nowhere", q), nullptr);
    EXPECT_TRUE(SelectedItems(tree).empty());
    EXPECT_EQ(SelectByPath(tree, r.items, L"   ", q), nullptr);
    // Whatever the user had selected, at any level, gives way to the match alone.
    for (const wchar_t* caption : {L"Local Disk (D:)", L"report.doc", L"deep.txt", L"notes.txt", L"Notes again"})
        TreeView_SetItemState(tree, ItemOf(tree, caption), TVIS_SELECTED, TVIS_SELECTED);
    TreeView_SelectItem(tree, ItemOf(tree, L"report.doc"));
    EXPECT_EQ(SelectByPath(tree, r.items, L"C:\\Apps\\editor.exe", q), ItemOf(tree, L"Editor"));
    EXPECT_EQ(SelectedCaptions(tree), (std::vector<std::wstring>{L"Editor"}));
    EXPECT_EQ(TreeView_GetSelection(tree), ItemOf(tree, L"Editor"));
    TreeView_SetItemState(tree, ItemOf(tree, L"plan.txt"), TVIS_SELECTED, TVIS_SELECTED);
    EXPECT_EQ(SelectByPath(tree, r.items, L"C:\\nowhere", q), nullptr);
    EXPECT_TRUE(SelectedItems(tree).empty());
    EXPECT_EQ(TreeView_GetSelection(tree), nullptr);

    // The disk is asked about a group node only when its path and its group key answer apart.
    int asked = 0;
    q.folderExists = [&asked](const std::wstring& p) {
        ++asked;
        return p == L"D:\\Work\\report.doc";
    };
    EXPECT_EQ(SelectByPath(tree, r.items, L"C:\\nowhere", q), nullptr);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(SelectByPath(tree, r.items, L"D:\\", q), ItemOf(tree, L"Local Disk (D:)"));
    EXPECT_EQ(asked, 1);
}

TEST(RecordViews, SearchByCaptionIgnoresCaseAndWalksChildrenBeforeTheNextSibling) {
    Views v;
    ShownRecord r;
    RecordNode* a = Entry(r, nullptr, L"Alpha", L"C:\\a");
    Entry(r, a, L"Same", L"C:\\a\\same");
    Entry(r, nullptr, L"same", L"C:\\same");
    v.views.Show(r);
    HWND tree = v.views.TVDocs;
    HTREEITEM found = SearchByCaption(tree, L"SAME", true);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(TreeView_GetParent(tree, found), ItemOf(tree, L"Alpha"));
    EXPECT_EQ(SearchByCaption(tree, L"Sam", false), nullptr);
}

TEST(RecordViews, NodesAddedLaterTakeTheirSortedPlaceInTheControl) {
    Views v;
    ShownRecord r;
    v.views.Show(r);
    HWND tree = v.views.TVDocs;
    for (const wchar_t* caption : {L"Zeta", L"alpha", L"Mike"}) v.views.Insert(0, *Entry(r, nullptr, caption, caption));
    RecordNode* mike = r.docs.top()[1].get();
    v.views.Insert(0, *Entry(r, mike, L"b", L"b"));
    v.views.Insert(0, *Entry(r, mike, L"A", L"A"));
    std::vector<std::wstring> shown;
    ForEachItem(tree, [&](HTREEITEM item) { shown.push_back(Text(tree, item)); });
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"alpha", L"Mike", L"A", L"b", L"Zeta"}));
    // Every control node still shows its own model node.
    ForEachItem(tree, [&](HTREEITEM item) { EXPECT_EQ(NodeOf(tree, item)->caption, Text(tree, item)); });
}

TEST(RecordViews, ClicksSelectLikeAMultiSelectionTreeAndHoveringReportsLabelsOnly) {
    Views v;
    ShownRecord r;
    RecordNode* a = Entry(r, nullptr, L"a", L"C:\\a");
    Entry(r, a, L"a1", L"C:\\a\\1");
    Entry(r, nullptr, L"b", L"C:\\b");
    Entry(r, nullptr, L"c", L"C:\\c");
    Entry(r, nullptr, L"d", L"C:\\d");
    v.views.Show(r);
    HWND tree = v.views.TVDocs;
    Click(tree, ItemOf(tree, L"b"));
    EXPECT_EQ(SelectedCaptions(tree), (std::vector<std::wstring>{L"b"}));
    Click(tree, ItemOf(tree, L"d"), MK_CONTROL);
    EXPECT_EQ(SelectedCaptions(tree), (std::vector<std::wstring>{L"b", L"d"}));
    Click(tree, ItemOf(tree, L"b"), MK_CONTROL);  // Ctrl on a selected node takes it out
    EXPECT_EQ(SelectedCaptions(tree), (std::vector<std::wstring>{L"d"}));
    // Shift selects the shown nodes from the last clicked node (b) to this one; a's child is folded away.
    Click(tree, ItemOf(tree, L"d"), MK_SHIFT);
    EXPECT_EQ(SelectedCaptions(tree), (std::vector<std::wstring>{L"b", L"c", L"d"}));
    Click(tree, ItemOf(tree, L"a"), MK_SHIFT);
    EXPECT_EQ(SelectedCaptions(tree), (std::vector<std::wstring>{L"a", L"b"}));
    Click(tree, ItemOf(tree, L"c"));              // a plain click leaves only its node
    EXPECT_EQ(SelectedCaptions(tree), (std::vector<std::wstring>{L"c"}));
    // A right click outside the selection selects that node.
    // The button-up goes first: the tree waits for it inside its button-down handling.
    PostMessageW(tree, WM_RBUTTONUP, 0, At(tree, ItemOf(tree, L"b")));
    SendMessageW(tree, WM_RBUTTONDOWN, MK_RBUTTON, At(tree, ItemOf(tree, L"b")));
    EXPECT_EQ(SelectedCaptions(tree), (std::vector<std::wstring>{L"b"}));
    DeselectAll(tree);
    EXPECT_TRUE(SelectedItems(tree).empty());

    // Hover: the label reports its node once; the expand button reports nothing.
    SendMessageW(tree, WM_MOUSEMOVE, 0, At(tree, ItemOf(tree, L"c")));
    SendMessageW(tree, WM_MOUSEMOVE, 0, At(tree, ItemOf(tree, L"c")));
    RECT row{};
    TreeView_GetItemRect(tree, ItemOf(tree, L"a"), &row, TRUE);
    TVHITTESTINFO hit{};
    // The expand button sits somewhere left of the label; find it as the mouse would.
    for (int x = 0; x < row.left && !(hit.flags & TVHT_ONITEMBUTTON); ++x) {
        hit.pt = {x, (row.top + row.bottom) / 2};
        TreeView_HitTest(tree, &hit);
    }
    EXPECT_TRUE(hit.flags & TVHT_ONITEMBUTTON);
    SendMessageW(tree, WM_MOUSEMOVE, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
    EXPECT_EQ(v.hovered, (std::vector<std::wstring>{L"c"}));
}
