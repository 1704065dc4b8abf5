// views/: what shows records: the record list and its hint, the record pages with their trees,
// the record the list selects, the search panel and the start-up filter list.

#pragma once
// The four record trees: "All" (TVDocs) and one per kind of item, as tree-view controls that
// display the shown record.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/handles.h"
#include "records/record_tree.h"
#include "ui/window_text.h"

namespace tv {

// Where each model node stands in a control, so a node added later finds its place without a
// walk over the control (one message per node, and a round trip to the window server under Wine).
using NodeItems = std::unordered_map<const RecordNode*, HTREEITEM>;

// Replaces the control's nodes by the model's, in one pass with repainting off. Each node's
// lParam is its model node; expansion is set directly, without expand notifications.
void FillTreeView(HWND tree, const RecordTree& model, NodeItems* placed = nullptr);

// Appends one model node (and its children) under `parent` of the control.
HTREEITEM AppendNode(HWND tree, HTREEITEM parent, const RecordNode& node, NodeItems* placed = nullptr);
// The same, placed after the control node `after` (or TVI_FIRST, TVI_LAST).
HTREEITEM InsertNode(HWND tree, HTREEITEM parent, HTREEITEM after, const RecordNode& node,
                     NodeItems* placed = nullptr);

// The model node a control node shows.
RecordNode* NodeOf(HWND tree, HTREEITEM item);

// Control identifiers of the four trees.
enum RecordViewId : int { kIdTVDocs = 1001, kIdTVApp, kIdTVPath, kIdTVDoc };
// Other controls of the main window that tests and tools find by identifier.
enum MainControlId : int {
    kIdRecordList = 1010, kIdStatusBar, kIdPageControl, kIdSearchBox, kIdSearchButton, kIdStopButton, kIdHint,
    kIdGauge
};

// Several nodes can be selected at once: a node is selected when its TVIS_SELECTED state is on.
std::vector<HTREEITEM> SelectedItems(HWND tree);
void DeselectAll(HWND tree);
// Makes `item` the only selected node and the focused one.
void SelectAlone(HWND tree, HTREEITEM item);
// Selects every top-level node and every direct child of one, beside what is selected already.
void SelectTopAndChildren(HWND tree);
// Every node in tree order: each node, then its children, then its next sibling.
void ForEachItem(HWND tree, const std::function<void(HTREEITEM)>& visit);
// The same, with each node's depth (0 for the top level).
void ForEachItemAt(HWND tree, const std::function<void(HTREEITEM, int depth)>& visit);

// The first node, in tree order, whose caption equals `caption` ignoring case; scrolled into
// view when `makeVisible`. Null when there is none.
HTREEITEM SearchByCaption(HWND tree, const std::wstring& caption, bool makeVisible);

// Paths compared for select by path, both already lower-cased and trimmed: equal, or equal but
// for one trailing backslash on either side.
bool PathsMatch(const std::wstring& q, const std::wstring& l);

// What select by path asks of the machine.
struct PathQueries {
    std::function<std::wstring(const std::wstring&)> shortcutTarget;  // the path itself when not a shortcut
    std::function<bool(const std::wstring&)> folderExists;
};
// Selects, in the "All" tree, the node whose item has the path `path` (matched through the group
// key for a folder node with children); a matching child is selected with its parent expanded.
// The last match in tree order wins. Answers the selected node, or null.
HTREEITEM SelectByPath(HWND tvDocs, const ItemArray& items, const std::wstring& path, const PathQueries& queries);

// The four sizes of the text size menu, largest first, and the size when none is stored.
constexpr int kTextSizes[] = {15, 12, 10, 9, 8};
constexpr int kDefaultTextSize = 9;

// What the trees tell the main window.
class RecordViewsHost {
public:
    virtual ~RecordViewsHost() = default;
    // The mouse came onto a node's label or icon.
    virtual void NodeHovered(HWND tree, RecordNode& node) = 0;
    // Enter or Space on the selected node.
    virtual void NodeActivated(HWND tree, RecordNode& node) {}
    // Any other key pressed in a tree; true when it was acted on.
    virtual bool KeyPressed(HWND tree, UINT key) { return false; }
};

class RecordViews {
public:
    RecordViews() = default;
    ~RecordViews();
    RecordViews(const RecordViews&) = delete;
    RecordViews& operator=(const RecordViews&) = delete;

    // Creates the "All" tree as a child of `parent`; the trees of the other pages are created
    // when first needed, so they cost nothing on the way to the first paint.
    bool Create(HWND parent, HIMAGELIST strip, RecordViewsHost* host = nullptr);
    // Shows the record in every tree that exists; a tree created later shows it too.
    void Show(const ShownRecord& record);
    // Empties every tree (the model is emptied by its owner).
    void Clear();
    // The tree of a page (0 "All", 1 "Application", 2 "File Folder", 3 "Web Page"), created on demand.
    HWND Tree(int page);
    // The tree of a page when it exists, else null.
    HWND Existing(int page) const { return trees_[page < 0 || page > 3 ? 0 : page]; }
    // Puts a node just added to the model (with its children) into the control of `page`, at the
    // place the model gives it among its siblings. Nothing when that tree is not made yet.
    HTREEITEM Insert(int page, const RecordNode& node);
    // The selected nodes of a page's tree from top to bottom, the focused one when none is marked.
    std::vector<RecordNode*> SelectedNodes(int page) const;
    // Where the trees lie; applied to trees created later as well.
    void SetBounds(const RECT& bounds);
    // The trees' text in points ("Times New Roman"), for every tree, now and later.
    void SetTextSize(int points);
    int textSize() const { return textSize_; }
    // The record the trees show, null before the first.
    const ShownRecord* shown() const { return shown_; }
    // A new working icon strip for every tree (the caller owns it).
    void SetStrip(HIMAGELIST strip);

    HWND TVDocs = nullptr;  // "All"

private:
    LRESULT OnTreeMessage(int page, HWND tree, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND MakeTree(int page, bool visible);
    void ApplyFont(HWND tree);

    HWND parent_ = nullptr;
    RecordViewsHost* host_ = nullptr;
    HIMAGELIST strip_ = nullptr;
    GdiOwner<HFONT> font_;
    int textSize_ = 0;  // 0: the trees' starting font, 12 pixels high
    RECT bounds_{};
    const ShownRecord* shown_ = nullptr;
    HWND trees_[4] = {};
    NodeItems placed_[4];
    ControlHook hooks_[4];
    HTREEITEM hovered_ = nullptr;
    HTREEITEM anchor_ = nullptr;  // where a Shift+click range starts
    bool keyActedOn_ = false;     // the last key-down was one of the host's keys
};

}  // namespace tv
