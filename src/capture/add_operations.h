#pragma once
// Adding paths to the shown record. Every path that enters a record, whether a recording found
// it or the user handed it over, goes through RecordAdder: it decides the item's kind and group,
// whether the record holds it already, and which nodes of the four trees it gets.
#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "capture/path_resolution.h"
#include "capture/recent_documents.h"
#include "records/record_tree.h"

namespace tv {

// The group a path is filed under: a folder near the drive root, a web host, the My Documents
// folder, or the path itself. `myDocuments` is the user's documents folder.
std::wstring GroupKey(const std::wstring& path, const std::wstring& myDocuments);

// A location that is kept as a folder entry: a file address, a network path or a drive path
// that is not an existing file.
bool IsFolderLike(const std::wstring& path, ResolutionMachine& machine);

// The standard image of a caption: folder, web page, archive, picture or plain document.
int TypeImage(const std::wstring& text, ResolutionMachine& machine);

// Every file and folder below `folders`, depth first in listing order; folders end without a
// backslash. `isFolder` tells which is which. Junctions and links to folders are listed but not
// entered, and nothing deeper than 32 folders below a starting folder is entered.
struct FoundPath {
    std::wstring path;
    bool isFolder = false;
};
std::vector<FoundPath> PathsBelow(const std::vector<std::wstring>& folders, RecentFolderReader& reader);

// Friendly names of the installed programs, from the shortcuts of the Start-menu program
// folders: (program path, name) pairs, built once.
class InstalledProgramNames {
public:
    // Walks `folders` (every file at any depth) unless the table is built already.
    void Load(const std::vector<std::wstring>& folders, RecentFolderReader& reader, ResolutionMachine& machine);
    bool loaded() const { return loaded_; }
    void Add(const std::wstring& programPath, const std::wstring& name);
    // The name of the first program whose path equals `path` (ignoring case and blanks at the
    // ends); empty when there is none.
    std::wstring NameOf(const std::wstring& path) const;

private:
    bool loaded_ = false;
    std::unordered_map<std::wstring, std::wstring> names_;
};

// The two Start-menu program folders of this machine (the user's and everyone's).
std::vector<std::wstring> StartMenuProgramFolders();

// A row the add-item dialog passes along with its path.
struct ChosenRow {
    std::wstring title;
    std::wstring programName;
};

// How many entries of each kind adds put into the record: programs, documents, folders and
// web pages. An adder counts from its start; the difference around a run of adds is what that
// run did.
struct AddedCounts {
    int programs = 0;
    int documents = 0;
    int folders = 0;
    int pages = 0;
    AddedCounts operator-(const AddedCounts& o) const {
        return {programs - o.programs, documents - o.documents, folders - o.folders, pages - o.pages};
    }
    bool operator==(const AddedCounts& o) const {
        return programs == o.programs && documents == o.documents && folders == o.folders && pages == o.pages;
    }
};

// What adding tells the window.
class RecordAddView {
public:
    virtual ~RecordAddView() = default;
    // `node` was put into the model tree of `page` (0 all, 1 programs, 2 folders, 3 web pages),
    // with its children; the control should show it.
    virtual void NodeAdded(int page, const RecordNode& node) = 0;
    virtual void ShowWebPageTab() = 0;
    // Between paths: the gauge steps and the window stays live.
    virtual void Step() {}
    // A path that a record file could not carry was not added.
    virtual void Refused(const std::wstring& path) {}
};

class RecordAdder {
public:
    RecordAdder(ShownRecord& record, RecordAddView& view);
    RecordAdder(const RecordAdder&) = delete;
    RecordAdder& operator=(const RecordAdder&) = delete;

    // Set before each run of adds; the machine caches drive types, so each run gets a fresh one.
    ResolutionMachine* machine = nullptr;
    // The icon index rule on the working strip: path and, for shell places, name.
    std::function<int(const std::wstring& path, const std::wstring& name)> iconIndex =
        [](const std::wstring&, const std::wstring&) { return 0; };
    std::wstring myDocuments;
    // Documents a newly added program takes under its node; a recording fills it.
    RecentDocumentList* recentDocuments = nullptr;
    // More documents the next program added takes under its node, filed as those above are
    // (a recording sets them from the program's command lines and window titles).
    const std::vector<std::wstring>* moreDocuments = nullptr;
    const InstalledProgramNames* programNames = nullptr;
    // The add-item dialog's row, while it adds one.
    const ChosenRow* row = nullptr;
    // The search builds a record of matches only: an added program takes no other documents.
    bool onlyMatches = false;

    // Any path; true only when it was filed as a document under a program the record held.
    bool AddItem(std::wstring path, std::wstring title);
    // A path whose kind is decided by what exists on disk.
    void AddEntry(std::wstring path, const std::wstring& title);
    void AddEntryCore(std::wstring path, std::wstring title, const std::wstring& date, bool isProgram);
    // True when the "All" tree holds the path at its top level, as the group of a folder node
    // with children, or just below a top-level node.
    bool InTree(const std::wstring& path);
    // The running-program test: the record holds the program at its top level (for the shell,
    // under the same caption).
    bool HoldsProgram(const std::wstring& path, const std::wstring& title);

    const std::wstring& lastAdded() const { return lastAdded_; }
    const AddedCounts& added() const { return added_; }
    void SetLastAdded(const std::wstring& path) { lastAdded_ = path; }
    // Forgets what the machine said of the listed documents; call with each new machine.
    void ForgetMachineAnswers() {
        openers_.clear();
        programDocuments_.Forget();
    }

private:
    ResolutionMachine& Machine() const;
    std::wstring DisplayName(const std::wstring& path) const;
    void AttachDocument(const std::wstring& document, const std::wstring& program);
    // One more entry of `entry`'s kind; `fileEntry` for a file entered on its own.
    void Count(const TMyDoc& entry, bool fileEntry);
    RecordNode* AddNode(int page, RecordNode* parent, const std::wstring& caption, int itemIndex, int image);
    RecordNode* FindCaption(int page, const std::wstring& caption);
    void NoteRecentDocument(const std::wstring& path);
    // The document behind a listed entry and its program, asked of the machine once per entry.
    const DocumentOpener& OpenerOf(const std::wstring& entry);

    // Indexes over the record, so each add costs the same however large the record is. They
    // are rebuilt when the record changed behind the adder's back.
    void Sync();
    void Stamp();  // the adder's own changes are indexed already
    void IndexItem(const TMyDoc& item);
    // A top-level node's path, its group when it has children, and with `withChildren` theirs.
    void IndexTopNode(const RecordNode& node, bool withChildren);
    void IndexChild(const RecordNode& child);
    void IndexCaption(int page, RecordNode& node);
    bool IndexedItemPath(const std::wstring& key) const { return itemPaths_.count(key) != 0; }
    bool NewGroup(const std::wstring& key) const;

    ShownRecord& record_;
    RecordAddView& view_;
    std::wstring lastAdded_;
    AddedCounts added_;
    int indexedItems_ = 0;
    unsigned long long itemsEmptied_ = 0;
    unsigned long long versions_[4] = {~0ULL, ~0ULL, ~0ULL, ~0ULL};
    std::unordered_set<std::wstring> itemPaths_;   // every item's path, trimmed and lower-cased
    std::unordered_set<std::wstring> groupKeys_;   // every item's group key, the same way
    std::unordered_set<std::wstring> treePaths_;   // top-level nodes' and their children's paths
    std::unordered_multimap<std::wstring, std::wstring> folderGroups_;  // group key -> node path
    std::unordered_multimap<std::wstring, RecordNode*> topNodesByPath_;
    // Nodes by upper-cased caption, the first of each; top-level nodes are looked at first.
    std::unordered_map<std::wstring, RecordNode*> captions_[4];
    std::unordered_map<std::wstring, RecordNode*> childCaptions_[4];
    RecentDocumentList searchDocuments_;
    std::unordered_map<std::wstring, DocumentOpener> openers_;
    ProgramDocumentIndex programDocuments_;  // built from openers_
    const ResolutionMachine* openersMachine_ = nullptr;
};

}  // namespace tv
