#include "ui/main/record_views.h"

#include "base/redraw.h"

namespace tv {

namespace {
void InsertChildren(HWND tree, HTREEITEM parent, const std::vector<std::unique_ptr<RecordNode>>& nodes) {
    for (const auto& node : nodes) AppendNode(tree, parent, *node);
}

HWND CreateTree(HWND parent, HIMAGELIST strip, bool visible, int id) {
    HWND tree = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                                WS_CHILD | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                    TVS_SHOWSELALWAYS | (visible ? WS_VISIBLE : 0),
                                0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!tree) return nullptr;
    if (strip) TreeView_SetImageList(tree, strip, TVSIL_NORMAL);
    // Painted through a buffer, so filling and scrolling do not flicker.
    SendMessageW(tree, TVM_SETEXTENDEDSTYLE, TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER);
    return tree;
}
}  // namespace

HTREEITEM AppendNode(HWND tree, HTREEITEM parent, const RecordNode& node) {
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
    ins.item.pszText = const_cast<wchar_t*>(node.caption.c_str());
    ins.item.iImage = node.imageIndex;
    ins.item.iSelectedImage = node.selectedImageIndex;
    ins.item.lParam = reinterpret_cast<LPARAM>(&node);
    ins.item.stateMask = TVIS_EXPANDED;
    ins.item.state = node.expanded && !node.children.empty() ? TVIS_EXPANDED : 0;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    if (item) InsertChildren(tree, item, node.children);
    return item;
}

RecordNode* NodeOf(HWND tree, HTREEITEM item) {
    TVITEMW tvi{};
    tvi.mask = TVIF_PARAM;
    tvi.hItem = item;
    return TreeView_GetItem(tree, &tvi) ? reinterpret_cast<RecordNode*>(tvi.lParam) : nullptr;
}

void FillTreeView(HWND tree, const RecordTree& model) {
    RedrawSuspender quiet(tree);
    TreeView_DeleteAllItems(tree);
    InsertChildren(tree, TVI_ROOT, model.top());
}

bool RecordViews::Create(HWND parent, HIMAGELIST strip) {
    parent_ = parent;
    strip_ = strip;
    TVDocs = trees_[0] = CreateTree(parent, strip, true, kIdTVDocs);
    return TVDocs != nullptr;
}

HWND RecordViews::Tree(int page) {
    if (page < 0 || page > 3) page = 0;
    if (!trees_[page] && parent_) {
        static const RecordTree ShownRecord::*const kModels[] = {&ShownRecord::docs, &ShownRecord::apps,
                                                                 &ShownRecord::paths, &ShownRecord::pages};
        HWND tree = CreateTree(parent_, strip_, false, kIdTVDocs + page);
        if (!tree) return nullptr;
        trees_[page] = tree;
        if (font_) SendMessageW(tree, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        SetWindowPos(tree, HWND_TOP, bounds_.left, bounds_.top, bounds_.right - bounds_.left,
                     bounds_.bottom - bounds_.top, SWP_NOACTIVATE);
        if (shown_) FillTreeView(tree, shown_->*kModels[page]);
    }
    return trees_[page];
}

void RecordViews::SetBounds(const RECT& bounds) {
    bounds_ = bounds;
    for (HWND tree : trees_)
        if (tree) MoveWindow(tree, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
}

void RecordViews::SetFont(HFONT font) {
    font_ = font;
    for (HWND tree : trees_)
        if (tree) SendMessageW(tree, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void RecordViews::Show(const ShownRecord& record) {
    shown_ = &record;
    const RecordTree* models[] = {&record.docs, &record.apps, &record.paths, &record.pages};
    for (int i = 0; i < 4; ++i)
        if (trees_[i]) FillTreeView(trees_[i], *models[i]);
}

}  // namespace tv
