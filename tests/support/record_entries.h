#pragma once
// Building records in memory for tests: one call per node, item and node together.
#include <string>

#include "records/record_tree.h"

namespace tvtest {

// A node under `parent` (null: top level) with a new item of that path, kind and picture.
inline tv::RecordNode* AddEntry(tv::ShownRecord& r, tv::RecordNode* parent, const std::wstring& caption,
                                const std::wstring& path, int kind, int image) {
    tv::TMyDoc d;
    d.path = d.groupKey = path;
    d.title = caption;
    d.kind = kind;
    d.imageIndex = image;
    tv::RecordNode* n = r.docs.Add(parent, caption, r.items.Append(d));
    n->imageIndex = n->selectedImageIndex = image;
    return n;
}

}  // namespace tvtest
