#pragma once
// The items of the shown record. The record's shape (groups, order, expansion) lives in the
// record trees; each node of those trees points to one item here by its index.
#include <functional>
#include <string>
#include <vector>

#include "records/window_place.h"

namespace tv {

enum DocKind : int { kWebPage = 1, kProgramOrDocument = 2, kFolderOrLocation = 3 };

struct TMyDoc {
    std::wstring groupKey;  // the group the entry belongs to; its path when read from a file
    std::wstring path;      // "path" in the record file
    std::wstring title;     // the node's caption, "text" in the record file
    int kind = kProgramOrDocument;  // "docType"
    std::wstring date;      // "yyyy-mm-dd" when captured, empty when read from a file
    int imageIndex = 0;     // in the working icon strip
    bool expanded = false;
    WindowPlace place;      // the window that showed it, when one did
};

// Attached to every node of the record trees; the node owns it.
struct TNodeData {
    int itemIndex = -1;
};

// One growable array for the whole program. Items are only appended; an index stays valid
// until the array is emptied.
class ItemArray {
public:
    int Append(const TMyDoc& item);
    int Append(TMyDoc&& item);
    void Empty() {
        items_.clear();
        ++emptied_;
    }
    // Changes each time the array is emptied, so an index kept beside it can tell a refilled
    // array from one that only grew.
    unsigned long long emptied() const { return emptied_; }
    int Count() const { return static_cast<int>(items_.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    TMyDoc& At(int index) { return items_.at(static_cast<size_t>(index)); }
    const TMyDoc& At(int index) const { return items_.at(static_cast<size_t>(index)); }

    // The item's path; a walk over the items shows each path in the hint strip.
    const std::wstring& PathOf(int index) const;
    void SetPathHint(std::function<void(const std::wstring&)> hint) { hint_ = std::move(hint); }

    // An entry that opens a new group: the first item becomes the group (its path is the group
    // key), the second carries the entry's real path for the child node. Returns both indexes.
    std::pair<int, int> AppendGrouped(const TMyDoc& entry);

private:
    std::vector<TMyDoc> items_;
    std::function<void(const std::wstring&)> hint_;
    unsigned long long emptied_ = 0;
};

}  // namespace tv
