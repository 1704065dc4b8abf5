#pragma once
// A quick look through a record file for the search: the path and text of every item, read
// straight from the bytes the program itself writes (UTF-8 XML of elements and attributes). A
// file in any other shape is declined, and the caller reads it with the XML library instead, so
// the answer is always the library's.
#include <functional>
#include <string>

namespace tv {

using ItemVisit = std::function<void(const std::wstring& path, const std::wstring& text)>;

// Calls `visit` for every item below the document element, in file order; false (and no call)
// when the bytes are not plain enough to be read this way.
bool ScanRecordItems(const std::string& bytes, const ItemVisit& visit);

}  // namespace tv
