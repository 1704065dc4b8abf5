#pragma once
// The three files of a record: the record file (XML), the icon file and the selection file.
#include <windows.h>
#include <objidl.h>  // before commctrl.h, which declares the image list stream calls after it
#include <commctrl.h>

#include <functional>
#include <string>

#include "base/tick.h"
#include "records/record_scan.h"
#include "records/record_tree.h"

namespace tv {

constexpr int kMaxRecordDepth = 256;  // deeper elements of a hostile file are not read

std::wstring IconFilePath(const std::wstring& recordPath);       // ".dat"
std::wstring WithExtension(const std::wstring& path, const std::wstring& extension);

// Called with the temporary file just before it replaces the real one (a seam for tests
// that stop a writer there).
using BeforeReplace = std::function<void(const std::wstring& tempPath)>;

// Writes the record file from the "All" tree, every node of it: the reader reads every item
// the writer writes (it keeps only the file size and nesting depth limits against hostile files).
// Refuses (false, the old file untouched) when a caption or path holds a character XML 1.0
// cannot carry, since such a file could not be read back.
bool WriteRecordFile(const ShownRecord& record, const std::wstring& path, const std::wstring& appPath,
                     const BeforeReplace& beforeReplace = nullptr);

// Whether a record was read whole. Only Complete and Missing let the file be written over:
// saving any other one over its file would lose what was not read.
enum class ReadOutcome {
    Missing,      // no such file
    Complete,     // every item of the file was read
    Stopped,      // an item without text or path ended the reading; the items before it were read
    NotLoaded,    // no readable XML (cut short, a wrong encoding declaration...): nothing was read
    DepthCut,     // levels below kMaxRecordDepth were left out
};
inline bool MayWriteOver(ReadOutcome outcome) {
    return outcome == ReadOutcome::Complete || outcome == ReadOutcome::Missing;
}
// Why a record was not read whole, in the user's words ("damaged after item 3");
// empty for a record that was. `itemsRead` counts the items read before the reading stopped.
std::wstring PartialReadReason(ReadOutcome outcome, int itemsRead);

// Reads a record file into the shown record (items and the "All" tree are emptied first),
// then builds the per-kind trees. A bad number or a missing docType, imageIndex or extand is
// read as its default. Only an item without text or path stops the reading there: what was
// read stays and the per-kind trees are not built. Left-out levels or top-level items are
// reported, the rest is read normally. `onWebPage` runs for every web page read; `tick`
// between items, so the caller can keep its window painted.
ReadOutcome ReadRecordFile(ShownRecord& record, const std::wstring& path,
                           const std::function<void()>& onWebPage = nullptr, const Tick& tick = nullptr);

// The same from the bytes of a record file.
ReadOutcome ReadRecordBytes(ShownRecord& record, const std::string& bytes,
                            const std::function<void()>& onWebPage = nullptr, const Tick& tick = nullptr);
// The bytes WriteRecordFile puts into the file; false (and no bytes) where it would refuse.
// Calls `visit` with the path and text of every item of a record file, in file order, without
// building a record. False when the file could not be read as a record.
bool VisitRecordItems(const std::wstring& path, const ItemVisit& visit);
// The same over a file's bytes, always through the XML library.
bool VisitRecordBytes(const std::string& bytes, const ItemVisit& visit);

bool RecordFileBytes(const ShownRecord& record, const std::wstring& appPath, std::string& bytes);

// Top-level nodes of the "All" tree copied into the tree of their kind, with their direct children,
// keeping its order: the "All" tree is sorted by caption first.
void BuildKindTrees(ShownRecord& record, const Tick& tick = nullptr);

// One line per top-level node: "1" expanded with children, "0" otherwise.
bool WriteSelectionFile(const ShownRecord& record, const std::wstring& path);
void ReadSelectionFile(ShownRecord& record, const std::wstring& path);

// The whole icon strip, in index order.
bool WriteIconFile(HIMAGELIST strip, const std::wstring& path);
// A new strip from the file; null when the file is missing or unreadable.
HIMAGELIST ReadIconFile(const std::wstring& path);

// True when some caption or item path of the "All" tree holds a character XML 1.0 forbids.
bool HasUnwritableText(const ShownRecord& record);

// Record file, icon file and selection file, each replaced whole; false at the first failure
// (files written before it stay), which `failure` then describes.
// Why a record could not be written: the error of the call that failed, or, where no call of
// the system failed (the record itself cannot be written), the reason in the program's words.
struct WriteFailure {
    DWORD error = 0;
    std::wstring reason;
    // What to tell the user: the reason, or the system's text for the error.
    std::wstring Text() const;
};

bool WriteRecord(const ShownRecord& record, HIMAGELIST strip, const std::wstring& recordPath,
                 const std::wstring& appPath, WriteFailure* failure = nullptr);

}  // namespace tv
