#include "records/record_tree.h"

#include <windows.h>

#include <algorithm>

namespace tv {

namespace {
void WalkNodes(const std::vector<std::unique_ptr<RecordNode>>& nodes,
               const std::function<void(RecordNode&)>& visit) {
    for (const auto& n : nodes) {
        visit(*n);
        WalkNodes(n->children, visit);
    }
}
void SortNodes(std::vector<std::unique_ptr<RecordNode>>& nodes) {
    auto before = [](const std::unique_ptr<RecordNode>& a, const std::unique_ptr<RecordNode>& b) {
        return CaptionBefore(a->caption, b->caption);
    };
    // Records the program wrote, and trees copied from a sorted one, are in order already: one
    // pass of comparisons tells, where sorting would cost a locale comparison many times over.
    // A stable sort leaves such a range as it is, so skipping it changes nothing.
    if (!std::is_sorted(nodes.begin(), nodes.end(), before)) std::stable_sort(nodes.begin(), nodes.end(), before);
    for (auto& n : nodes) SortNodes(n->children);
}

std::unique_ptr<RecordNode> NewNode(RecordNode* parent, const std::wstring& caption, int itemIndex) {
    auto node = std::make_unique<RecordNode>();
    node->caption = caption;
    node->data.itemIndex = itemIndex;
    node->parent = parent;
    return node;
}
}  // namespace

bool CaptionBefore(const std::wstring& a, const std::wstring& b) { return lstrcmpW(a.c_str(), b.c_str()) < 0; }

RecordNode* RecordTree::AddSorted(RecordNode* parent, const std::wstring& caption, int itemIndex) {
    ++version_;
    auto node = NewNode(parent, caption, itemIndex);
    auto& siblings = parent ? parent->children : top_;
    auto at = std::upper_bound(siblings.begin(), siblings.end(), caption,
                               [](const std::wstring& c, const std::unique_ptr<RecordNode>& n) { return CaptionBefore(c, n->caption); });
    RecordNode* added = siblings.insert(at, std::move(node))->get();
    added_.push_back(added);
    return added;
}

void RecordTree::SortByCaption() { SortNodes(top_); }

RecordNode* RecordTree::Add(RecordNode* parent, const std::wstring& caption, int itemIndex) {
    ++version_;
    auto& siblings = parent ? parent->children : top_;
    siblings.push_back(NewNode(parent, caption, itemIndex));
    added_.push_back(siblings.back().get());
    return siblings.back().get();
}

void RecordTree::Remove(RecordNode* node) {
    if (!node) return;
    Reshaped();
    auto& siblings = node->parent ? node->parent->children : top_;
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(),
                                  [node](const std::unique_ptr<RecordNode>& n) { return n.get() == node; }),
                   siblings.end());
}

size_t RecordTree::NodeCount() const {
    size_t count = 0;
    Walk([&count](RecordNode&) { ++count; });
    return count;
}

void RecordTree::Walk(const std::function<void(RecordNode&)>& visit) const { WalkNodes(top_, visit); }

bool ShownRecord::NodesPointToItems() const {
    bool ok = true;
    docs.Walk([&](RecordNode& n) { ok = ok && items.Valid(n.data.itemIndex); });
    return ok;
}

void ShownRecord::SetExpanded(RecordNode& node, bool expanded) {
    node.expanded = expanded;
    if (items.Valid(node.data.itemIndex)) items.At(node.data.itemIndex).expanded = expanded;
    if (!recording && writeSelectionFile && !currentRecordPath.empty())
        writeSelectionFile(SelectionFilePath(currentRecordPath));
}

std::wstring SelectionFilePath(const std::wstring& recordPath) {
    size_t slash = recordPath.find_last_of(L"\\/:");
    size_t dot = recordPath.rfind(L'.');
    std::wstring base = (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
                            ? recordPath
                            : recordPath.substr(0, dot);
    return base + L".tolvanetreesel";
}

}  // namespace tv
