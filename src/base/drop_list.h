#pragma once
// The file list of a drop or of the clipboard (CF_HDROP): a DROPFILES header, then the names,
// each ended by a zero, then an empty name.
#include <cstddef>
#include <string>
#include <vector>

namespace tv {

// The names of a file-list block of `size` bytes, in their order, read no further than the
// block: a header or name offset outside it gives no names, and a name whose zero is not inside
// it is left out, since what the block holds of it may be only part of a path. Wide names are
// UTF-16; others are in the ANSI code page.
std::vector<std::wstring> DropListNames(const void* block, size_t size);

}  // namespace tv
