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
    TVDocs = CreateTree(parent, strip, true, kIdTVDocs);
    TVApp = CreateTree(parent, strip, false, kIdTVApp);
    TVPath = CreateTree(parent, strip, false, kIdTVPath);
    TVDoc = CreateTree(parent, strip, false, kIdTVDoc);
    return TVDocs && TVApp && TVPath && TVDoc;
}

HWND RecordViews::Tree(int page) const {
    switch (page) {
        case 1: return TVApp;
        case 2: return TVPath;
        case 3: return TVDoc;
        default: return TVDocs;
    }
}

void RecordViews::Show(const ShownRecord& record) {
    FillTreeView(TVDocs, record.docs);
    FillTreeView(TVApp, record.apps);
    FillTreeView(TVPath, record.paths);
    FillTreeView(TVDoc, record.pages);
}

}  // namespace tv
