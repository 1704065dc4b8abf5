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
    // Creates the four controls as children of `parent`, sharing the image list `strip`.
    bool Create(HWND parent, HIMAGELIST strip);
    void Show(const ShownRecord& record);
    HWND Tree(int page) const;  // 0 "All", 1 "Application", 2 "File Folder", 3 "Web Page"

    HWND TVDocs = nullptr;  // "All"
    HWND TVApp = nullptr;   // "Application"
    HWND TVPath = nullptr;  // "File Folder"
    HWND TVDoc = nullptr;   // "Web Page"
};

}  // namespace tv
