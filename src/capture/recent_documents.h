#pragma once
// The documents of a recording: the shortcuts Windows leaves in the Recent folder, resolved to
// the documents they point to, attached under their programs or recorded on their own.
#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "capture/path_resolution.h"
#include "records/record_tree.h"

namespace tv {

// Document paths kept sorted ignoring case; a text equal to an entry ignoring case adds nothing.
class RecentDocumentList {
public:
    bool Add(const std::wstring& path);
    // Adds only when no entry equals the path after trimming and lower-casing both.
    bool AddKeeping(const std::wstring& path);
    void Clear() {
        entries_.clear();
        keys_.clear();
        ++version_;
    }
    const std::vector<std::wstring>& entries() const { return entries_; }
    // Moves with every change of the entries.
    unsigned long long version() const { return version_; }

private:
    std::vector<std::wstring> entries_;
    std::unordered_set<std::wstring> keys_;  // each entry trimmed and lower-cased
    unsigned long long version_ = 0;
};

struct ListedEntry {
    std::wstring name;
    DWORD attributes = 0;
    // The last-write time as LastWriteDays gives it, when the listing carries it; negative
    // when the file itself must be asked.
    double lastWriteDays = -1;
    // The file's last-write time and size as listed; zero when the listing carries none.
    FILETIME written{};
    ULONGLONG size = 0;
};

// What the shortcuts of the Recent folder pointed to, kept from one Smart Record scan to the
// next: a shortcut file unchanged since (same last-write time and size) points where it did,
// so it is not loaded again. Only the shortcuts of the latest scan are kept.
class ShortcutTargetMemo {
public:
    // The target `machine` reads from the shortcut `link` listed as `entry`, or the one read
    // from the same file by the last scan.
    bool LinkTarget(const std::wstring& link, const ListedEntry& entry, ResolutionMachine& machine,
                    std::wstring& target);
    // Ends a scan: what it did not meet is forgotten.
    void ScanDone();

private:
    struct Known {
        FILETIME written;
        ULONGLONG size;
        std::wstring target;
    };
    std::unordered_map<std::wstring, Known> last_, current_;
};

// What walking the Recent folder asks of the disk.
class RecentFolderReader {
public:
    virtual ~RecentFolderReader() = default;
    // The entries of a folder in the order the file system gives them, "." and ".." included,
    // at most `limit`.
    virtual std::vector<ListedEntry> List(const std::wstring& folder, size_t limit) = 0;
    // A file's last-write time as local time at DOS precision (two seconds), in days; false
    // when the file cannot be opened.
    virtual bool LastWriteDays(const std::wstring& path, double& days) = 0;
    // The current local time in days, on the same scale.
    virtual double NowDays() = 0;
};

class RealRecentFolderReader : public RecentFolderReader {
public:
    std::vector<ListedEntry> List(const std::wstring& folder, size_t limit) override;
    bool LastWriteDays(const std::wstring& path, double& days) override;
    double NowDays() override;
};

// The folder with one backslash to put a name after; network folders too (a redirected
// profile keeps its Recent folder on a share).
std::wstring FolderPrefix(const std::wstring& folder);

// The user's Recent folder; empty when the system cannot tell.
std::wstring RecentFolder();

// The slider position at which every entry is taken, whatever its age.
constexpr int kRecentDaysTakeAll = 60;

struct RecentScanOptions {
    bool recordRecentDocuments = true;  // "Record Recent Documents": the age limit applies
    int ageLimitDays = kRecentDaysTakeAll;
    bool smartRecord = false;           // keep mode: the list grows from scan to scan
    ShortcutTargetMemo* shortcuts = nullptr;  // when given, unchanged shortcuts are not read again
};

using Tick = std::function<void()>;

// Refills `list` from the shortcuts of `folder` and its subfolders. Outside Smart Record the
// list is emptied first. `tick` runs after each entry taken.
void ScanRecentDocuments(const std::wstring& folder, const RecentScanOptions& options,
                         RecentDocumentList& list, RecentFolderReader& reader,
                         ResolutionMachine& machine, const Tick& tick = [] {});

// The display name of a path: its file name without extension, or for a drive root the drive
// ("C:"). `directoryExists` is a plain test, without the drive rules.
std::wstring DisplayNameOfPath(const std::wstring& path,
                               const std::function<bool(const std::wstring&)>& directoryExists);
std::wstring DisplayNameOfPath(const std::wstring& path);

// The paths of the shown record as the record path test compares them, with answers identical
// to comparing against every collected text but without a walk per question.
class RecordPathIndex {
public:
    // `collected` is already resolved, trimmed and lower-cased.
    void Add(const std::wstring& collected);
    // True when the resolved path matches a collected text exactly or up to one trailing
    // backslash on either side; an empty path counts as found.
    bool Found(const std::wstring& path, ResolutionMachine& machine) const;

private:
    std::unordered_set<std::wstring> texts_;
};

// Every node of the main tree, depth first, at most 5000 siblings per level: a node with
// children whose path is an existing folder gives its group key with one trailing backslash,
// every other node its resolved path.
RecordPathIndex CollectRecordPaths(const ShownRecord& record, ResolutionMachine& machine,
                                   const std::function<std::wstring(const std::wstring&)>& groupKey);

// The same index kept up to date while a recording adds to the record: each update reads only
// the nodes added since the last, and starts over when a node it has seen gained or lost
// children or nodes were removed.
class GrowingRecordPathIndex {
public:
    // Unchanged trees cost one walk over the nodes, without a question to the machine.
    const RecordPathIndex& Update(const ShownRecord& record, ResolutionMachine& machine,
                                  const std::function<std::wstring(const std::wstring&)>& groupKey);
    const RecordPathIndex& index() const { return index_; }

private:
    bool Collect(const std::vector<std::unique_ptr<RecordNode>>& nodes, const ShownRecord& record,
                 ResolutionMachine& machine, const std::function<std::wstring(const std::wstring&)>& groupKey);
    // Reads the nodes added since the last update; false when only a whole walk can tell.
    bool TakeAdded(const ShownRecord& record, ResolutionMachine& machine,
                   const std::function<std::wstring(const std::wstring&)>& groupKey);
    RecordPathIndex index_;
    std::unordered_map<const RecordNode*, bool> seen_;  // node -> it had children
    const RecordTree* tree_ = nullptr;                  // the tree last walked whole
    unsigned long long removals_ = 0;                   // its removals then
    size_t taken_ = 0;                                  // its added nodes read
};

// What recording the recent documents needs of the shown record.
class DocumentRecordSink {
public:
    virtual ~DocumentRecordSink() = default;
    virtual bool RecordPathFound(const std::wstring& path) = 0;
    // The running-program presence test, with the program as path and as title.
    virtual bool ProgramAlreadyRecorded(const std::wstring& program) = 0;
    virtual void AddItem(const std::wstring& path, const std::wstring& title) = 0;
    virtual void StepGauge() = 0;
    // A copy of a shortcut in the links folder, or the shortcut itself when copying fails.
    virtual std::wstring CopyIntoLinksFolder(const std::wstring& shortcut) {
        return CopyIntoFolder(shortcut, LinksFolder());
    }
};

// Hands every listed document the record does not hold yet to the add-item operation; true
// when one was added. `tick` runs before each entry.
bool RecordRecentDocuments(const RecentDocumentList& list, DocumentRecordSink& sink,
                           ResolutionMachine& machine, const Tick& tick = [] {});

// A listed document as the walk for a program's documents sees it: the document behind the
// entry and the program that opens it, trimmed and lower-cased.
struct DocumentOpener {
    std::wstring document;
    std::wstring documentKey;  // trimmed and lower-cased
    std::wstring opener;
};
DocumentOpener ResolveDocumentOpener(const std::wstring& entry, ResolutionMachine& machine);

// The listed documents that open with the program (path `programPath`, title `programTitle`),
// in list order; the walk ends at a document that is the program itself.
std::vector<std::wstring> ProgramDocuments(const RecentDocumentList& list, const std::wstring& programTitle,
                                           const std::wstring& programPath, ResolutionMachine& machine);
// The same with each entry resolved by `openerOf`, which may remember its answers: a recording
// asks this once for every program it adds, over the same list.
using OpenerOf = std::function<const DocumentOpener&(const std::wstring& entry)>;
std::vector<std::wstring> ProgramDocuments(const RecentDocumentList& list, const std::wstring& programTitle,
                                           const std::wstring& programPath, const OpenerOf& openerOf);

// The same answers as ProgramDocuments, from an index of the list by opener: a recording that
// adds many programs does not walk the whole list for each. The index is made again whenever
// the list (or the way its entries are resolved) changes.
class ProgramDocumentIndex {
public:
    std::vector<std::wstring> Documents(const RecentDocumentList& list, const std::wstring& programTitle,
                                        const std::wstring& programPath, const OpenerOf& openerOf);
    void Forget() { list_ = nullptr; }

private:
    const RecentDocumentList* list_ = nullptr;
    unsigned long long version_ = 0;
    std::unordered_map<std::wstring, std::vector<size_t>> byOpener_;  // list positions, ascending
    std::unordered_map<std::wstring, size_t> firstDocument_;         // by document key
};

// Today as a record item's date: "yyyy-mm-dd".
std::wstring TodayText();

// Attaches each document under the program's node of the main tree and of the program tree,
// with a new item each. The nodes take the document's icon when it exists, else the program's.
void AttachProgramDocuments(ShownRecord& record, RecordNode* docsNode, RecordNode* appNode,
                            const std::vector<std::wstring>& documents, const std::wstring& programPath,
                            ResolutionMachine& machine,
                            const std::function<int(const std::wstring&)>& iconIndex);

}  // namespace tv
