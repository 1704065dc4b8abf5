#include "ui/main/views/record_views.h"

#include <utility>

#include <windowsx.h>

#include "base/redraw.h"
#include "base/strings.h"

namespace tv {

namespace {
constexpr COLORREF kTreeBackground = 16710389;
constexpr int kIndent = 19;
constexpr int kStartingFontPixels = 12;
// The model each page's tree shows.
const RecordTree ShownRecord::*const kModels[] = {&ShownRecord::docs, &ShownRecord::apps, &ShownRecord::paths,
                                                  &ShownRecord::pages};

void InsertChildren(HWND tree, HTREEITEM parent, const std::vector<std::unique_ptr<RecordNode>>& nodes,
                    NodeItems* placed) {
    for (const auto& node : nodes) AppendNode(tree, parent, *node, placed);
}

void SetSelectedState(HWND tree, HTREEITEM item, bool selected) {
    TreeView_SetItemState(tree, item, selected ? TVIS_SELECTED : 0, TVIS_SELECTED);
}

bool IsSelected(HWND tree, HTREEITEM item) { return (TreeView_GetItemState(tree, item, TVIS_SELECTED) & TVIS_SELECTED) != 0; }

HTREEITEM HitTest(HWND tree, LPARAM lParam, UINT* flags = nullptr) {
    TVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    HTREEITEM item = TreeView_HitTest(tree, &hit);
    if (flags) *flags = hit.flags;
    return item;
}

// The key of a node's item for select by path: its path, or for a folder node with children the
// group key that gathered them.
std::wstring NodeKey(const RecordNode& node, const ItemArray& items, const PathQueries& queries) {
    if (!items.Valid(node.data.itemIndex)) return L"";
    const TMyDoc& item = items.At(node.data.itemIndex);
    std::wstring q = item.path;
    if (!node.children.empty() && queries.folderExists && queries.folderExists(q)) q = item.groupKey;
    return ToLower(Trim(q));
}

// Whether `text`, trimmed and lowered, matches the lowered `l`. Lowering keeps the length, so a
// trimmed length too far from `l`'s answers no without building the lowered copy: a walk asks
// this for every node of the record.
bool LoweredMatches(const std::wstring& text, const std::wstring& l) {
    size_t b = 0, e = text.size();
    while (b < e && text[b] <= L' ') ++b;
    while (e > b && text[e - 1] <= L' ') --e;
    if (e - b + 1 < l.size() || l.size() + 1 < e - b) return false;
    return PathsMatch(ToLower(Trim(text)), l);
}

// Whether a group node's key matches `l`; the disk is asked whether its path is a folder only when
// the answer depends on it (a walk over a large record would otherwise ask for every group).
bool GroupNodeMatches(const RecordNode& node, const ItemArray& items, const PathQueries& queries,
                      const std::wstring& l) {
    if (items.Valid(node.data.itemIndex)) {
        const TMyDoc& item = items.At(node.data.itemIndex);
        const bool asPath = LoweredMatches(item.path, l);
        if (asPath == LoweredMatches(item.groupKey, l)) return asPath;
    }
    return PathsMatch(NodeKey(node, items, queries), l);
}

// Whether a child node's item path matches `l`; a node without an item has the empty key.
bool ChildMatches(const RecordNode& node, const ItemArray& items, const std::wstring& l) {
    if (!items.Valid(node.data.itemIndex)) return PathsMatch(std::wstring(), l);
    return LoweredMatches(items.At(node.data.itemIndex).path, l);
}
}  // namespace

HTREEITEM AppendNode(HWND tree, HTREEITEM parent, const RecordNode& node, NodeItems* placed) {
    return InsertNode(tree, parent, TVI_LAST, node, placed);
}

HTREEITEM InsertNode(HWND tree, HTREEITEM parent, HTREEITEM after, const RecordNode& node, NodeItems* placed) {
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
    ins.item.pszText = const_cast<wchar_t*>(node.caption.c_str());
    ins.item.iImage = node.imageIndex;
    ins.item.iSelectedImage = node.selectedImageIndex;
    ins.item.lParam = reinterpret_cast<LPARAM>(&node);
    ins.item.stateMask = TVIS_EXPANDED;
    ins.item.state = node.expanded && !node.children.empty() ? TVIS_EXPANDED : 0;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    if (!item) return nullptr;
    if (placed) (*placed)[&node] = item;
    InsertChildren(tree, item, node.children, placed);
    return item;
}

RecordNode* NodeOf(HWND tree, HTREEITEM item) {
    if (!item) return nullptr;
    TVITEMW tvi{};
    tvi.mask = TVIF_PARAM;
    tvi.hItem = item;
    return TreeView_GetItem(tree, &tvi) ? reinterpret_cast<RecordNode*>(tvi.lParam) : nullptr;
}

void FillTreeView(HWND tree, const RecordTree& model, NodeItems* placed) {
    RedrawSuspender quiet(tree);
    TreeView_DeleteAllItems(tree);
    if (placed) placed->clear();
    InsertChildren(tree, TVI_ROOT, model.top(), placed);
}

void ForEachItemAt(HWND tree, const std::function<void(HTREEITEM, int)>& visit) {
    HTREEITEM item = TreeView_GetRoot(tree);
    int depth = 0;
    while (item) {
        visit(item, depth);
        HTREEITEM next = TreeView_GetChild(tree, item);
        if (next) ++depth;
        while (!next && item) {
            next = TreeView_GetNextSibling(tree, item);
            if (!next) {
                item = TreeView_GetParent(tree, item);
                --depth;
            }
        }
        item = next;
    }
}

void ForEachItem(HWND tree, const std::function<void(HTREEITEM)>& visit) {
    ForEachItemAt(tree, [&visit](HTREEITEM item, int) { visit(item); });
}

std::vector<HTREEITEM> SelectedItems(HWND tree) {
    std::vector<HTREEITEM> selected;
    ForEachItem(tree, [&](HTREEITEM item) {
        if (IsSelected(tree, item)) selected.push_back(item);
    });
    return selected;
}

void DeselectAll(HWND tree) {
    for (HTREEITEM item : SelectedItems(tree)) SetSelectedState(tree, item, false);
    TreeView_SelectItem(tree, nullptr);
}

void SelectAlone(HWND tree, HTREEITEM item) {
    DeselectAll(tree);
    if (!item) return;
    TreeView_SelectItem(tree, item);
    SetSelectedState(tree, item, true);
}

void SelectTopAndChildren(HWND tree) {
    for (HTREEITEM top = TreeView_GetRoot(tree); top; top = TreeView_GetNextSibling(tree, top)) {
        SetSelectedState(tree, top, true);
        for (HTREEITEM child = TreeView_GetChild(tree, top); child; child = TreeView_GetNextSibling(tree, child))
            SetSelectedState(tree, child, true);
    }
}

HTREEITEM SearchByCaption(HWND tree, const std::wstring& caption, bool makeVisible) {
    std::wstring wanted = ToUpper(caption);
    HTREEITEM found = nullptr;
    ForEachItem(tree, [&](HTREEITEM item) {
        RecordNode* node = found ? nullptr : NodeOf(tree, item);
        if (node && ToUpper(node->caption) == wanted) found = item;
    });
    if (found && makeVisible) TreeView_EnsureVisible(tree, found);
    return found;
}

// Equal, or equal but for one trailing backslash on either side. Asked for every node of a
// walk: no string is built.
bool PathsMatch(const std::wstring& q, const std::wstring& l) {
    auto onePlusSlash = [](const std::wstring& longer, const std::wstring& shorter) {
        return longer.size() == shorter.size() + 1 && longer.back() == L'\\' &&
               longer.compare(0, shorter.size(), shorter) == 0;
    };
    return q == l || onePlusSlash(q, l) || onePlusSlash(l, q);
}

HTREEITEM SelectByPath(HWND tvDocs, const ItemArray& items, const std::wstring& path, const PathQueries& queries) {
    std::wstring p = Trim(path);
    if (p.empty() || !tvDocs) return nullptr;
    try {
        if (IsWindowVisible(tvDocs)) SetFocus(tvDocs);
        if (HTREEITEM first = TreeView_GetRoot(tvDocs)) TreeView_EnsureVisible(tvDocs, first);
        TreeView_SelectItem(tvDocs, nullptr);
        std::wstring l = ToLower(queries.shortcutTarget ? queries.shortcutTarget(p) : p);
        HTREEITEM selected = nullptr;
        auto select = [&](HTREEITEM item) {
            if (selected) SetSelectedState(tvDocs, selected, false);
            TreeView_SelectItem(tvDocs, item);
            SetSelectedState(tvDocs, item, true);
            selected = item;
        };
        // One walk over every level clears what was selected; the top level and its children
        // are matched on the way, in tree order, so the last match wins.
        HTREEITEM top = nullptr;
        const RecordNode* topNode = nullptr;
        ForEachItemAt(tvDocs, [&](HTREEITEM item, int depth) {
            TVITEMW tvi{};
            tvi.mask = TVIF_STATE | TVIF_PARAM;
            tvi.stateMask = TVIS_SELECTED;
            tvi.hItem = item;
            if (!TreeView_GetItem(tvDocs, &tvi)) return;
            if (tvi.state & TVIS_SELECTED) SetSelectedState(tvDocs, item, false);
            const RecordNode* node = reinterpret_cast<const RecordNode*>(tvi.lParam);
            if (depth == 0) top = item, topNode = node;
            if (node && depth == 0 && GroupNodeMatches(*node, items, queries, l)) select(item);
            if (node && topNode && depth == 1 && ChildMatches(*node, items, l)) {
                TreeView_Expand(tvDocs, top, TVE_EXPAND);
                select(item);
            }
        });
        if (selected) {
            TreeView_EnsureVisible(tvDocs, selected);
            if (IsWindowVisible(tvDocs)) SetFocus(tvDocs);
        }
        return selected;
    } catch (...) {
        return nullptr;
    }
}

RecordViews::~RecordViews() {
    for (ControlHook& hook : hooks_) hook.Unhook();
}

HWND RecordViews::MakeTree(int page, bool visible) {
    // "Web Page" alone does not keep its selection shown when it loses the focus. Clipped by
    // its siblings: the progress strip may lie over its foot.
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                  TVS_INFOTIP | (page == 3 ? 0 : TVS_SHOWSELALWAYS) | (visible ? WS_VISIBLE : 0);
    HWND tree = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"", style, bounds_.left, bounds_.top,
                                bounds_.right - bounds_.left, bounds_.bottom - bounds_.top, parent_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdTVDocs + page)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!tree) return nullptr;
    if (strip_) TreeView_SetImageList(tree, strip_, TVSIL_NORMAL);
    // Painted through a buffer, so filling and scrolling do not flicker.
    SendMessageW(tree, TVM_SETEXTENDEDSTYLE, TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER);
    TreeView_SetBkColor(tree, kTreeBackground);
    TreeView_SetIndent(tree, ScaleToDpi(kIndent, ScreenDpi()));
    hooks_[page].Hook(tree, [this, page](HWND t, UINT msg, WPARAM wParam, LPARAM lParam) {
        return OnTreeMessage(page, t, msg, wParam, lParam);
    });
    trees_[page] = tree;
    ApplyFont(tree);
    return tree;
}

bool RecordViews::Create(HWND parent, HIMAGELIST strip, RecordViewsHost* host) {
    parent_ = parent;
    strip_ = strip;
    host_ = host;
    TVDocs = MakeTree(0, true);
    return TVDocs != nullptr;
}

HWND RecordViews::Tree(int page) {
    if (page < 0 || page > 3) page = 0;
    if (!trees_[page] && parent_) {
        HWND tree = MakeTree(page, false);
        if (!tree) return nullptr;
        SetWindowPos(tree, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (shown_) FillTreeView(tree, shown_->*kModels[page], &placed_[page]);
    }
    return trees_[page];
}

HTREEITEM RecordViews::Insert(int page, const RecordNode& node) {
    if (page < 0 || page > 3 || !trees_[page]) return nullptr;
    HWND tree = trees_[page];
    if (!node.parent && !shown_) return nullptr;
    const auto& siblings = node.parent ? node.parent->children : (shown_->*kModels[page]).top();
    NodeItems& placed = placed_[page];
    HTREEITEM parent = TVI_ROOT;
    if (node.parent) {
        auto found = placed.find(node.parent);
        if (found == placed.end()) return nullptr;
        parent = found->second;
    }
    // The control node of the model sibling just before it, if any.
    const RecordNode* before = nullptr;
    for (const auto& s : siblings) {
        if (s.get() == &node) break;
        before = s.get();
    }
    HTREEITEM after = TVI_FIRST;
    if (before) {
        auto found = placed.find(before);
        if (found != placed.end()) after = found->second;
    }
    return InsertNode(tree, parent, after, node, &placed);
}

void RecordViews::SetBounds(const RECT& bounds) {
    // Every tree already has these bounds: moving a full tree in place still costs it a recount.
    if (EqualRect(&bounds, &bounds_)) return;
    bounds_ = bounds;
    for (HWND tree : trees_)
        if (tree) MoveWindow(tree, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
}

void RecordViews::SetTextSize(int points) {
    textSize_ = points;
    int dpi = ScreenDpi();
    // The trees keep drawing with the old font until each has the new one.
    GdiOwner<HFONT> old(font_.release());
    int height = points > 0 ? -MulDiv(points, dpi, 72) : -MulDiv(kStartingFontPixels, dpi, 96);
    font_.reset(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_ROMAN, L"Times New Roman"));
    for (HWND tree : trees_)
        if (tree) ApplyFont(tree);
}

void RecordViews::ApplyFont(HWND tree) {
    if (!font_) SetTextSize(textSize_);
    SendMessageW(tree, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

void RecordViews::SetStrip(HIMAGELIST strip) {
    strip_ = strip;
    for (HWND tree : trees_)
        if (tree) TreeView_SetImageList(tree, strip, TVSIL_NORMAL);
}

void RecordViews::Show(const ShownRecord& record) {
    shown_ = &record;
    hovered_ = anchor_ = nullptr;
    const RecordTree* models[] = {&record.docs, &record.apps, &record.paths, &record.pages};
    for (int i = 0; i < 4; ++i)
        if (trees_[i]) FillTreeView(trees_[i], *models[i], &placed_[i]);
}

void RecordViews::Clear() {
    hovered_ = anchor_ = nullptr;
    for (NodeItems& placed : placed_) placed.clear();
    for (HWND tree : trees_)
        if (tree) {
            RedrawSuspender quiet(tree);
            TreeView_DeleteAllItems(tree);
        }
}

std::vector<RecordNode*> RecordViews::SelectedNodes(int page) const {
    std::vector<RecordNode*> nodes;
    HWND tree = Existing(page);
    if (!tree) return nodes;
    std::vector<HTREEITEM> pending{TreeView_GetRoot(tree)};
    // Depth first, in the order the tree shows its nodes.
    while (!pending.empty()) {
        HTREEITEM item = pending.back();
        pending.pop_back();
        if (!item) continue;
        pending.push_back(TreeView_GetNextSibling(tree, item));
        pending.push_back(TreeView_GetChild(tree, item));
        if (IsSelected(tree, item))
            if (RecordNode* node = NodeOf(tree, item)) nodes.push_back(node);
    }
    if (nodes.empty())
        if (HTREEITEM focused = TreeView_GetSelection(tree))
            if (RecordNode* node = NodeOf(tree, focused)) nodes.push_back(node);
    return nodes;
}

LRESULT RecordViews::OnTreeMessage(int page, HWND tree, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_LBUTTONDOWN: {
            UINT flags = 0;
            HTREEITEM item = HitTest(tree, lParam, &flags);
            if (!item || !(flags & TVHT_ONITEM)) break;  // buttons and empty space behave as usual
            bool ctrl = (wParam & MK_CONTROL) != 0, shift = (wParam & MK_SHIFT) != 0;
            if (ctrl) {
                // Ctrl adds a node to the selection or takes it out, leaving the others alone.
                SetFocus(tree);
                SetSelectedState(tree, item, !IsSelected(tree, item));
                anchor_ = item;
                return 0;
            }
            if (shift && anchor_) {
                // Shift selects the visible nodes from the last clicked one to this one.
                SetFocus(tree);
                DeselectAll(tree);
                RECT a{}, b{};
                TreeView_GetItemRect(tree, anchor_, &a, FALSE);
                TreeView_GetItemRect(tree, item, &b, FALSE);
                HTREEITEM from = a.top <= b.top ? anchor_ : item, to = from == anchor_ ? item : anchor_;
                for (HTREEITEM it = from; it; it = TreeView_GetNextVisible(tree, it)) {
                    SetSelectedState(tree, it, true);
                    if (it == to) break;
                }
                TreeView_SelectItem(tree, item);
                SetSelectedState(tree, item, true);
                return 0;
            }
            if (GetKeyState(VK_MENU) >= 0) DeselectAll(tree);
            LRESULT result = hooks_[page].CallNext(tree, msg, wParam, lParam);
            if (IsWindow(tree)) {
                TreeView_SelectItem(tree, item);
                SetSelectedState(tree, item, true);
                anchor_ = item;
            }
            return result;
        }
        case WM_RBUTTONDOWN: {
            HTREEITEM item = HitTest(tree, lParam);
            // On empty space the tree would take the focus and with it select its first node;
            // the menu opens from the button-up all the same.
            if (!item) return 0;
            // A right click on a node outside the selection selects it; inside, the menu acts on all.
            if (item && !IsSelected(tree, item)) SelectAlone(tree, item);
            break;
        }
        case WM_MOUSEMOVE: {
            UINT flags = 0;
            HTREEITEM item = HitTest(tree, lParam, &flags);
            if (item == hovered_) break;
            if (HWND tips = TreeView_GetToolTips(tree)) SendMessageW(tips, TTM_POP, 0, 0);
            if (item && (flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON | TVHT_ONITEMSTATEICON))) {
                hovered_ = item;
                if (RecordNode* node = NodeOf(tree, item); node && host_) host_->NodeHovered(tree, *node);
            }
            break;
        }
        case WM_KEYDOWN:
            keyActedOn_ = false;
            if (host_ && host_->KeyPressed(tree, static_cast<UINT>(wParam))) {
                keyActedOn_ = true;  // its character, if any, must not start a caption search
                return 0;
            }
            if ((wParam == VK_RETURN || wParam == VK_SPACE) && host_) {
                HTREEITEM item = TreeView_GetSelection(tree);
                if (RecordNode* node = item ? NodeOf(tree, item) : nullptr) {
                    host_->NodeActivated(tree, *node);
                    return 0;
                }
            }
            break;
        case WM_CHAR:
            if (std::exchange(keyActedOn_, false)) return 0;
            if (wParam == L'\r' || wParam == L' ') return 0;  // opened on the key-down: no beep, no search
            break;
        case WM_NCDESTROY:
            for (int i = 0; i < 4; ++i)
                if (trees_[i] == tree) {
                    trees_[i] = nullptr;
                    placed_[i].clear();
                }
            if (tree == TVDocs) TVDocs = nullptr;
            break;
        default:
            break;
    }
    return hooks_[page].CallNext(tree, msg, wParam, lParam);
}

}  // namespace tv
