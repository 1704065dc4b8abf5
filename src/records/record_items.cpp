#include "records/record_items.h"

namespace tv {

int ItemArray::Append(const TMyDoc& item) {
    items_.push_back(item);
    return Count() - 1;
}

int ItemArray::Append(TMyDoc&& item) {
    items_.push_back(std::move(item));
    return Count() - 1;
}

const std::wstring& ItemArray::PathOf(int index) const {
    const std::wstring& path = At(index).path;
    if (hint_) hint_(path);
    return path;
}

std::pair<int, int> ItemArray::AppendGrouped(const TMyDoc& entry) {
    TMyDoc group = entry;
    group.path = entry.groupKey;
    int groupIndex = Append(group);
    TMyDoc child;
    child.groupKey = entry.groupKey;
    child.title = entry.title;
    child.kind = entry.kind;
    child.date = entry.date;
    child.path = entry.path;
    child.expanded = false;
    int childIndex = Append(child);
    return {groupIndex, childIndex};
}

}  // namespace tv
