#include "records/record_tree.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>

namespace tv {

namespace {
void WalkNodes(const std::vector<std::unique_ptr<RecordNode>>& nodes,
               const std::function<void(RecordNode&)>& visit) {
    for (const auto& n : nodes) {
        visit(*n);
        WalkNodes(n->children, visit);
    }
}
// The caption's sort key: keys compared byte by byte order as the captions compare.
std::string SortKey(const std::wstring& caption) {
    std::string key(caption.size() * 8 + 16, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        int made = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, caption.data(), static_cast<int>(caption.size()),
                                reinterpret_cast<wchar_t*>(&key[0]), static_cast<int>(key.size()));
        if (made > 0) {
            key.resize(static_cast<size_t>(made));
            return key;
        }
        made = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, caption.data(), static_cast<int>(caption.size()),
                            nullptr, 0);
        if (made <= 0) break;
        key.assign(static_cast<size_t>(made), '\0');
    }
    return std::string();
}

void SortNodes(std::vector<std::unique_ptr<RecordNode>>& nodes) {
    auto before = [](const std::unique_ptr<RecordNode>& a, const std::unique_ptr<RecordNode>& b) {
        return CaptionBefore(a->caption, b->caption);
    };
    if (nodes.size() < 3) {
        // A comparison costs about what one sort key does.
        if (!std::is_sorted(nodes.begin(), nodes.end(), before)) std::stable_sort(nodes.begin(), nodes.end(), before);
    } else {
        // A locale comparison costs a microsecond; sorting thousands of captions asks for it many
        // times over, where each caption's key is made once and keys compare as bytes. Records
        // the program wrote are in order already, and a stable sort leaves such a range as it is.
        std::vector<std::pair<std::string, size_t>> keys(nodes.size());
        for (size_t i = 0; i < nodes.size(); ++i) keys[i] = {SortKey(nodes[i]->caption), i};
        auto keyBefore = [](const std::pair<std::string, size_t>& a, const std::pair<std::string, size_t>& b) {
            return a.first < b.first;
        };
        if (!std::is_sorted(keys.begin(), keys.end(), keyBefore)) {
            std::stable_sort(keys.begin(), keys.end(), keyBefore);
            std::vector<std::unique_ptr<RecordNode>> sorted(nodes.size());
            for (size_t i = 0; i < keys.size(); ++i) sorted[i] = std::move(nodes[keys[i].second]);
            nodes.swap(sorted);
        }
    }
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

bool CaptionBefore(const std::wstring& a, const std::wstring& b) {
    // The locale the sort keys are made in.
    return CompareStringW(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

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
