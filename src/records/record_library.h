#pragma once
// The record folder: which records it holds and in what order, the names of new records, and
// the moves and deletions that keep a record's three files together. Every path test here
// works on network folders ("\\server\share\...") as well as on drives.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tv {

constexpr int kMaxListedEntries = 5000;  // folder entries examined by one listing
constexpr wchar_t kRecordExtension[] = L".tolvane";

// Folder + name with exactly one backslash between them (works for "C:\x", "C:\x\", "C:\x\\",
// "\\server\share\"). An empty folder gives the name alone.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// Sort key of a record path: year, month number, day and sequence taken from the places a dated
// name ("Dec 08,2026_003.tolvane") has them. Other names give whatever text stands there.
std::wstring RecordSortKey(const std::wstring& recordPath);

// The name a record is listed under: the file name of its path without its last extension.
std::wstring RecordName(const std::wstring& recordPath);

// The record names of a folder in list order: file names without their last extension.
std::vector<std::wstring> ListRecordNames(const std::wstring& folder);

// One entry of a folder listing.
struct FolderEntry {
    std::wstring name;
    bool folder = false;
};
// Fills in the next entry of a listing; false when there is none.
using NextFolderEntry = std::function<bool(FolderEntry&)>;
// The listing rule over the entries `next` gives (at most kMaxListedEntries are asked for);
// ListRecordNames(folder) feeds it the folder's real listing.
std::vector<std::wstring> ListRecordNames(const std::wstring& folder, const NextFolderEntry& next);

// The file name of a new record for the given date: "<folder>\Mmm dd,yyyy_NNN.tolvane", NNN the
// first number from 001 on for which `exists` answers false (past 999 it grows a digit: _1000,
// _1001...). Never a taken name: empty when the folder is empty or every number is taken.
std::wstring NewRecordName(const std::wstring& folder, const SYSTEMTIME& date,
                           const std::function<bool(const std::wstring&)>& exists);
// The same with today's local date and the real file test; creates the folder with all missing
// parents first, and answers empty when that fails.
std::wstring NewRecordName(const std::wstring& folder);

// Where a rename goes: folder + newName, and unless newName's extension lower-cased is
// ".tolvane", `extension` appended.
std::wstring RenameTarget(const std::wstring& folder, const std::wstring& newName, const std::wstring& extension);

// Moves a record file and its two companion files (selection file, icon file) from `source` to
// `target`, replacing files of the target's names; where the source has no such companion, the
// target's old one is deleted, since it belonged to the record replaced. Stops
// at the first failure (files already moved stay moved); false then. source == target (case
// ignored) does nothing and answers true.
bool MoveRecordFiles(const std::wstring& source, const std::wstring& target);

// Moves one file to the Recycle Bin. False when that failed or the file is still there.
bool RecycleFile(const std::wstring& path);
// The record file, then its selection file and its icon file, each only when it exists. Stops at
// the first file that will not go, so a record never loses its companions while it stays.
bool RecycleRecordFiles(const std::wstring& recordPath);

}  // namespace tv
