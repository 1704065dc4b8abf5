#pragma once
// Names and limits the capture steps share.

namespace tv {

// The program's folder inside My Documents; the links folder lives in it.
constexpr wchar_t kDataFolderName[] = L"TolVane";

// Folder listings, node walks and item lists of a capture stop after this many entries.
constexpr int kCaptureWalkLimit = 5000;

}  // namespace tv
