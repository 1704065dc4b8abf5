#pragma once
// The four record trees: "All" (TVDocs) and one per kind of item, as tree-view controls that
// display the shown record.
#include <windows.h>
#include <commctrl.h>

#include "records/record_tree.h"

namespace tv {

// Replaces the control's nodes by the model's, in one pass with repainting off. Each node's
// lParam is its model node; expansion is set directly, without expand notifications.
void FillTreeView(HWND tree, const RecordTree& model);

// Appends one model node (and its children) under `parent` of the control.
HTREEITEM AppendNode(HWND tree, HTREEITEM parent, const RecordNode& node);

// The model node a control node shows.
RecordNode* NodeOf(HWND tree, HTREEITEM item);

// Control identifiers of the four trees.
enum RecordViewId : int { kIdTVDocs = 1001, kIdTVApp, kIdTVPath, kIdTVDoc };
// Other controls of the main window that tests and tools find by identifier.
enum MainControlId : int { kIdRecordList = 1010, kIdStatusBar, kIdPageControl };

class RecordViews {
public:
    // Creates the "All" tree as a child of `parent`; the trees of the other pages are created
    // when first needed, so they cost nothing on the way to the first paint.
    bool Create(HWND parent, HIMAGELIST strip);
    // Shows the record in every tree that exists; a tree created later shows it too.
    void Show(const ShownRecord& record);
    // The tree of a page (0 "All", 1 "Application", 2 "File Folder", 3 "Web Page"), created on demand.
    HWND Tree(int page);
    // The tree of a page when it exists, else null.
    HWND Existing(int page) const { return trees_[page < 0 || page > 3 ? 0 : page]; }
    // Where the trees lie and their font; applied to trees created later as well.
    void SetBounds(const RECT& bounds);
    void SetFont(HFONT font);

    HWND TVDocs = nullptr;  // "All"

private:
    HWND parent_ = nullptr;
    HIMAGELIST strip_ = nullptr;
    HFONT font_ = nullptr;
    RECT bounds_{};
    const ShownRecord* shown_ = nullptr;
    HWND trees_[4] = {};
};

}  // namespace tv
