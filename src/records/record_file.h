#pragma once
// The three files of a record: the record file (XML), the icon file and the selection file.
#include <windows.h>
#include <objidl.h>  // before commctrl.h, which declares the image list stream calls after it
#include <commctrl.h>

#include <functional>
#include <string>

#include "base/tick.h"
#include "records/record_tree.h"

namespace tv {

constexpr int kMaxRecordDepth = 256;  // deeper elements of a hostile file are not read

std::wstring IconFilePath(const std::wstring& recordPath);       // ".dat"
std::wstring WithExtension(const std::wstring& path, const std::wstring& extension);

// Called with the temporary file just before it replaces the real one (a seam for tests
// that stop a writer there).
using BeforeReplace = std::function<void(const std::wstring& tempPath)>;

// Writes the record file from the "All" tree: at most 5000 top-level nodes, children never cut.
bool WriteRecordFile(const ShownRecord& record, const std::wstring& path, const std::wstring& appPath,
                     const BeforeReplace& beforeReplace = nullptr);

enum class ReadOutcome { Missing, Complete, Stopped };
// Reads a record file into the shown record (items and the "All" tree are emptied first),
// then builds the per-kind trees. A failure stops the reading where it happened: what was read
// stays and the per-kind trees are not built. `onWebPage` runs for every web page read; `tick`
// between items, so the caller can keep its window painted.
ReadOutcome ReadRecordFile(ShownRecord& record, const std::wstring& path,
                           const std::function<void()>& onWebPage = nullptr, const Tick& tick = nullptr);

// Top-level nodes of the "All" tree copied into the tree of their kind, with their direct children.
void BuildKindTrees(ShownRecord& record, const Tick& tick = nullptr);

// One line per top-level node: "1" expanded with children, "0" otherwise.
bool WriteSelectionFile(const ShownRecord& record, const std::wstring& path);
void ReadSelectionFile(ShownRecord& record, const std::wstring& path);

// The whole icon strip, in index order.
bool WriteIconFile(HIMAGELIST strip, const std::wstring& path);
// A new strip from the file; null when the file is missing or unreadable.
HIMAGELIST ReadIconFile(const std::wstring& path);

// Record file, icon file and selection file, each replaced whole; false at the first failure
// (files written before it stay).
bool WriteRecord(const ShownRecord& record, HIMAGELIST strip, const std::wstring& recordPath,
                 const std::wstring& appPath);

}  // namespace tv
