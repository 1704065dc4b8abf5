#pragma once
// The shape of the shown record: a tree of nodes, each pointing to one item of the item
// array. The record tree controls display it.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "records/record_items.h"

namespace tv {

struct RecordNode {
    std::wstring caption;
    TNodeData data;  // owned by the node
    int imageIndex = 0;
    int selectedImageIndex = 0;
    int stateIndex = -1;  // none
    bool expanded = false;
    RecordNode* parent = nullptr;
    std::vector<std::unique_ptr<RecordNode>> children;
};

class RecordTree {
public:
    RecordTree() = default;
    RecordTree(const RecordTree&) = delete;
    RecordTree& operator=(const RecordTree&) = delete;

    // Appends a node under `parent` (a top-level node when null).
    RecordNode* Add(RecordNode* parent, const std::wstring& caption, int itemIndex);
    // Inserts a node among its siblings at its place in caption order, after equal captions.
    RecordNode* AddSorted(RecordNode* parent, const std::wstring& caption, int itemIndex);
    // Orders the top-level nodes and the children of every node by caption; equal captions keep
    // their order. One pass after a bulk change gives the order that sorting after every insert would.
    void SortByCaption();
    // Removes a node with its children; their items stay in the array.
    void Remove(RecordNode* node);
    void Clear() {
        top_.clear();
        Reshaped();
    }
    const std::vector<std::unique_ptr<RecordNode>>& top() const { return top_; }
    // Changes with every node added or removed, so an index kept beside the tree can tell when
    // someone else changed it.
    unsigned long long version() const { return version_; }
    size_t NodeCount() const;
    // The nodes added since the last removal, in the order they were added, and how many times
    // nodes were removed: an index that grows with the tree reads only what is new.
    const std::vector<const RecordNode*>& added() const { return added_; }
    unsigned long long removals() const { return removals_; }

    // Calls `visit` for every node, parents before children, in order.
    void Walk(const std::function<void(RecordNode&)>& visit) const;

private:
    void Reshaped() {
        ++version_;
        ++removals_;
        added_.clear();
    }
    std::vector<std::unique_ptr<RecordNode>> top_;
    unsigned long long version_ = 0;
    unsigned long long removals_ = 0;
    std::vector<const RecordNode*> added_;
};

// The shown record: its items, its main tree, and the expansion handlers of that tree.
class ShownRecord {
public:
    ItemArray items;
    RecordTree docs;  // the "All" tree
    RecordTree apps;  // "Application": programs and documents
    RecordTree paths; // "File Folder": folders and other locations
    RecordTree pages; // "Web Page"
    bool recording = false;  // a recording or a load is filling the trees
    std::wstring currentRecordPath;
    // Writes the selection file; the record files code provides it.
    std::function<void(const std::wstring& selectionPath)> writeSelectionFile;

    void TVDocsExpanded(RecordNode& node) { SetExpanded(node, true); }
    void TVDocsCollapsed(RecordNode& node) { SetExpanded(node, false); }

    // Every node has node data pointing to a valid item.
    bool NodesPointToItems() const;

private:
    void SetExpanded(RecordNode& node, bool expanded);
};

// The trees' caption order: the user's locale order, case deciding only between captions that
// are otherwise equal.
bool CaptionBefore(const std::wstring& a, const std::wstring& b);

// The record path with its extension replaced by ".tolvanetreesel".
std::wstring SelectionFilePath(const std::wstring& recordPath);

}  // namespace tv
