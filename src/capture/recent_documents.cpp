#include "capture/recent_documents.h"

#include <shlobj.h>

#include <algorithm>
#include <optional>

#include "base/constants.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "capture/program_records.h"
#include "capture/shell_windows.h"

namespace tv {

namespace {
std::wstring Key(const std::wstring& s) { return ToLower(Trim(s)); }

// The list's order: the user's locale order, ignoring case.
int CompareNoCase(const std::wstring& a, const std::wstring& b) {
    int r = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                           static_cast<int>(b.size()));
    return r == 0 ? a.compare(b) : r - CSTR_EQUAL;
}

// Days between 1601-01-01 and a FILETIME.
double FileTimeDays(const FILETIME& ft) {
    ULARGE_INTEGER u;
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    return static_cast<double>(u.QuadPart) / 864000000000.0;
}

// A last-write time in local time at DOS precision (two seconds), in days.
bool LocalDosDays(const FILETIME& written, double& days) {
    FILETIME local, dosTime;
    WORD dosDate = 0, dosClock = 0;
    if (!FileTimeToLocalFileTime(&written, &local) || !FileTimeToDosDateTime(&local, &dosDate, &dosClock) ||
        !DosDateTimeToFileTime(dosDate, dosClock, &dosTime))
        return false;
    days = FileTimeDays(dosTime);
    return true;
}

// A Recent folder nested deeper than this is not a Recent folder any more but a loop of links.
constexpr int kMaxDepth = 32;

const double kAlwaysTakenDays = 0.1;  // documents of the last 2.4 hours, whatever the option

// The scan's machine, reading each shortcut through the memo with its listing entry.
class ListedLinks : public ForwardingMachine {
public:
    ListedLinks(ResolutionMachine& machine, ShortcutTargetMemo& memo) : ForwardingMachine(machine), memo_(memo) {}
    const ListedEntry* entry = nullptr;  // the entry of the shortcut being resolved
    bool LinkTarget(const std::wstring& link, std::wstring& target) override {
        return entry ? memo_.LinkTarget(link, *entry, machine_, target) : machine_.LinkTarget(link, target);
    }

private:
    ShortcutTargetMemo& memo_;
};

struct Walk {
    const RecentScanOptions& options;
    bool keepMode;
    bool takeAll;
    RecentDocumentList& list;
    RecentFolderReader& reader;
    ResolutionMachine& machine;
    const Tick& tick;
    double now;
    ListedLinks* links;

    bool YoungEnough(const std::wstring& path, const ListedEntry& entry) {
        double limit = options.recordRecentDocuments ? options.ageLimitDays : kAlwaysTakenDays;
        if (options.recordRecentDocuments && takeAll) return true;
        double written = entry.lastWriteDays;
        if (written < 0 && !reader.LastWriteDays(path, written)) return false;
        return limit > now - written;
    }

    void Folder(const std::wstring& folder, int depth) {
        std::wstring prefix = FolderPrefix(folder);
        for (const ListedEntry& entry : reader.List(folder, kMaxWalk + 1)) {
            if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (entry.name == L"." || entry.name == L"..") continue;
                // A junction could lead back up the tree; the Recent folder holds real folders.
                if (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
                if (depth < kMaxDepth) Folder(prefix + entry.name, depth + 1);
                continue;
            }
            const DWORD hiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
            if ((entry.attributes & hiddenSystem) == hiddenSystem) continue;
            try {
                std::wstring p = prefix + entry.name;
                if (!YoungEnough(p, entry)) continue;
                if (links) links->entry = &entry;
                p = ExpandEnvironment(ShortcutTarget(p, machine), machine);
                if (links) links->entry = nullptr;
                if (!machine.FolderExists(p) && !machine.FileExists(p)) continue;
                if (keepMode) list.AddKeeping(p);
                else list.Add(p);
                tick();
            } catch (...) {
                // A failure inside one entry skips only that entry.
            }
        }
    }
};
}  // namespace

std::wstring FolderPrefix(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' ? folder : folder + L'\\';
}

bool RecentDocumentList::Add(const std::wstring& path) {
    auto at = std::lower_bound(entries_.begin(), entries_.end(), path, [](const std::wstring& e, const std::wstring& p) {
        return CompareNoCase(e, p) < 0;
    });
    if (at != entries_.end() && EqualsNoCase(*at, path)) return false;
    entries_.insert(at, path);
    keys_.insert(Key(path));
    ++version_;
    return true;
}

bool RecentDocumentList::AddKeeping(const std::wstring& path) {
    if (keys_.count(Key(path))) return false;
    return Add(path);
}

std::vector<ListedEntry> RealRecentFolderReader::List(const std::wstring& folder, size_t limit) {
    std::vector<ListedEntry> entries;
    WIN32_FIND_DATAW fd;
    std::wstring pattern = FolderPrefix(folder) + L"*.*";
    // A folder path past the classic length limit is listed through its long form.
    if (pattern.size() >= MAX_PATH && pattern.size() > 2 && pattern[1] == L':') pattern = L"\\\\?\\" + pattern;
    HANDLE find = FindFirstFileW(pattern.c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return entries;
    do {
        // The listing carries each file's last-write time: no need to open every shortcut.
        double written = -1;
        if (!LocalDosDays(fd.ftLastWriteTime, written)) written = -1;
        entries.push_back({fd.cFileName, fd.dwFileAttributes, written, fd.ftLastWriteTime,
                           (static_cast<ULONGLONG>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow});
    } while (entries.size() < limit && FindNextFileW(find, &fd));
    FindClose(find);
    return entries;
}

bool RealRecentFolderReader::LastWriteDays(const std::wstring& path, double& days) {
    UniqueHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    FILETIME written;
    return GetFileTime(file.get(), nullptr, nullptr, &written) && LocalDosDays(written, days);
}

double RealRecentFolderReader::NowDays() {
    FILETIME now, local;
    GetSystemTimeAsFileTime(&now);
    FileTimeToLocalFileTime(&now, &local);
    return FileTimeDays(local);
}

std::wstring RecentFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_RECENT, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

void ScanRecentDocuments(const std::wstring& folder, const RecentScanOptions& options, RecentDocumentList& list,
                         RecentFolderReader& reader, ResolutionMachine& machine, const Tick& tick) {
    if (!options.smartRecord) list.Clear();
    std::optional<ListedLinks> links;
    if (options.shortcuts) links.emplace(machine, *options.shortcuts);
    Walk walk{options,
              options.smartRecord,
              options.ageLimitDays >= kRecentDaysTakeAll,
              list,
              reader,
              links ? static_cast<ResolutionMachine&>(*links) : machine,
              tick,
              reader.NowDays(),
              links ? &*links : nullptr};
    if (!Trim(folder).empty()) walk.Folder(folder, 0);
    if (options.shortcuts) options.shortcuts->ScanDone();
}

bool ShortcutTargetMemo::LinkTarget(const std::wstring& link, const ListedEntry& entry, ResolutionMachine& machine,
                                    std::wstring& target) {
    const bool stamped = entry.size != 0 || entry.written.dwLowDateTime != 0 || entry.written.dwHighDateTime != 0;
    if (!stamped) return machine.LinkTarget(link, target);
    auto known = last_.find(link);
    if (known != last_.end() && known->second.size == entry.size &&
        CompareFileTime(&known->second.written, &entry.written) == 0) {
        target = known->second.target;
        current_[link] = known->second;
        return true;
    }
    // A shortcut that could not be read is read again next time: it may have been half-written.
    if (!machine.LinkTarget(link, target)) return false;
    current_[link] = {entry.written, entry.size, target};
    return true;
}

void ShortcutTargetMemo::ScanDone() {
    last_ = std::move(current_);
    current_.clear();
}

std::wstring DisplayNameOfPath(const std::wstring& path,
                               const std::function<bool(const std::wstring&)>& directoryExists) {
    if (!Trim(FileNameOf(path)).empty()) return PathDisplayName(path);
    std::wstring s = path;
    if (StartsWithNoCase(s, L"file:///")) s = ReplaceAll(ReplaceAll(s.substr(8), L"%20", L" "), L"/", L"\\");
    s = ReplaceAll(Trim(s), L"%20", L" ");
    if (!directoryExists(s)) return s;
    s = NormaliseFolder(s);
    if (!s.empty() && s.back() == L'\\') s.pop_back();
    size_t last = s.find_last_of(L'\\');
    return last == std::wstring::npos ? s : s.substr(last + 1);
}

std::wstring DisplayNameOfPath(const std::wstring& path) {
    return DisplayNameOfPath(path, [](const std::wstring& p) { return DirectoryExists(p); });
}

void RecordPathIndex::Add(const std::wstring& collected) { texts_.insert(collected); }

bool RecordPathIndex::Found(const std::wstring& path, ResolutionMachine& machine) const {
    std::wstring d = Key(ShortcutTarget(path, machine));
    if (d.empty()) return true;
    if (texts_.count(d) || texts_.count(d + L'\\')) return true;
    return d.back() == L'\\' && texts_.count(d.substr(0, d.size() - 1)) > 0;
}

namespace {
// The text the record path test compares a node by.
std::wstring NodeText(const RecordNode& node, const ShownRecord& record, ResolutionMachine& machine,
                      const std::function<std::wstring(const std::wstring&)>& groupKey) {
    std::wstring resolved = Key(ShortcutTarget(record.items.At(node.data.itemIndex).path, machine));
    if (!node.children.empty() && machine.FolderExists(resolved)) return Key(NormaliseFolder(groupKey(resolved)));
    return resolved;
}

void CollectLevel(const std::vector<std::unique_ptr<RecordNode>>& nodes, const ShownRecord& record,
                  ResolutionMachine& machine, const std::function<std::wstring(const std::wstring&)>& groupKey,
                  RecordPathIndex& index) {
    int visited = 0;
    for (const auto& node : nodes) {
        if (++visited > kMaxWalk) break;
        if (record.items.Valid(node->data.itemIndex)) index.Add(NodeText(*node, record, machine, groupKey));
        CollectLevel(node->children, record, machine, groupKey, index);
    }
}
}  // namespace

bool GrowingRecordPathIndex::Collect(const std::vector<std::unique_ptr<RecordNode>>& nodes, const ShownRecord& record,
                                     ResolutionMachine& machine,
                                     const std::function<std::wstring(const std::wstring&)>& groupKey) {
    int visited = 0;
    for (const auto& node : nodes) {
        if (++visited > kMaxWalk) break;
        const bool hasChildren = !node->children.empty();
        auto seen = seen_.find(node.get());
        if (seen == seen_.end()) {
            seen_.emplace(node.get(), hasChildren);
            if (record.items.Valid(node->data.itemIndex)) index_.Add(NodeText(*node, record, machine, groupKey));
        } else if (seen->second != hasChildren) {
            return false;  // its text may have changed
        }
        if (!Collect(node->children, record, machine, groupKey)) return false;
    }
    return true;
}

bool GrowingRecordPathIndex::TakeAdded(const ShownRecord& record, ResolutionMachine& machine,
                                       const std::function<std::wstring(const std::wstring&)>& groupKey) {
    const RecordTree& tree = record.docs;
    const std::vector<const RecordNode*>& added = tree.added();
    if (tree_ != &tree || removals_ != tree.removals() || taken_ > added.size()) return false;
    for (; taken_ < added.size(); ++taken_) {
        const RecordNode* node = added[taken_];
        // A parent seen without children has another text now.
        if (node->parent) {
            auto parent = seen_.find(node->parent);
            if (parent != seen_.end() && !parent->second) return false;
        }
        // Beyond the walk's limit on some level, only the walk knows what it reaches.
        for (const RecordNode* n = node; n; n = n->parent)
            if ((n->parent ? n->parent->children : tree.top()).size() > static_cast<size_t>(kMaxWalk)) return false;
        if (!seen_.emplace(node, !node->children.empty()).second) continue;
        if (record.items.Valid(node->data.itemIndex)) index_.Add(NodeText(*node, record, machine, groupKey));
    }
    return true;
}

const RecordPathIndex& GrowingRecordPathIndex::Update(const ShownRecord& record, ResolutionMachine& machine,
                                                      const std::function<std::wstring(const std::wstring&)>& groupKey) {
    if (TakeAdded(record, machine, groupKey)) return index_;
    // Removed nodes leave their texts behind: after a removal the walk starts over.
    const bool removed = tree_ != &record.docs || removals_ != record.docs.removals();
    if (removed || !Collect(record.docs.top(), record, machine, groupKey)) {
        index_ = RecordPathIndex();
        seen_.clear();
        Collect(record.docs.top(), record, machine, groupKey);
    }
    tree_ = &record.docs;
    removals_ = record.docs.removals();
    taken_ = record.docs.added().size();
    return index_;
}

RecordPathIndex CollectRecordPaths(const ShownRecord& record, ResolutionMachine& machine,
                                   const std::function<std::wstring(const std::wstring&)>& groupKey) {
    RecordPathIndex index;
    CollectLevel(record.docs.top(), record, machine, groupKey, index);
    return index;
}

bool RecordRecentDocuments(const RecentDocumentList& list, DocumentRecordSink& sink, ResolutionMachine& machine,
                           const Tick& tick) {
    bool added = false;
    auto named = [&](const std::wstring& p) { return machine.DirectoryExists(p); };
    for (const std::wstring& entry : list.entries()) {
        try {
            tick();
            std::wstring t = ShortcutTarget(entry, machine);
            if (Key(ExtensionOf(t)) == L".lnk") t = sink.CopyIntoLinksFolder(t);
            if (IsSkippedDocument(t, machine)) continue;
            if (machine.FolderExists(t)) {
                t = NormaliseFolder(t);
                if (!sink.RecordPathFound(t)) {
                    sink.AddItem(t, DisplayNameOfPath(t, named));
                    added = true;
                }
                sink.StepGauge();
                continue;
            }
            std::wstring opener = ProgramPathOfCommand(AssociatedProgram(t, machine), machine);
            if (opener.empty()) opener = t;
            const std::wstring program = Key(opener);
            if (sink.RecordPathFound(t)) continue;
            added = true;
            std::wstring path;
            if (sink.ProgramAlreadyRecorded(program)) path = t;
            // The disk is asked in the path's own case (a case-sensitive file system underneath
            // would search the folder for a lowered name).
            else if (machine.FolderExists(Trim(opener))) path = ProgramPathOfCommand(program, machine);
            else path = ProgramPathOfCommand(t, machine);
            sink.AddItem(path, DisplayNameOfPath(path, named));
            sink.StepGauge();
        } catch (...) {
            // A failure inside one entry skips only that entry.
        }
    }
    return added;
}

DocumentOpener ResolveDocumentOpener(const std::wstring& entry, ResolutionMachine& machine) {
    DocumentOpener resolved;
    resolved.document = ShortcutTarget(entry, machine);
    resolved.documentKey = Key(resolved.document);
    resolved.opener = Key(AssociatedProgram(resolved.document, machine));
    return resolved;
}

std::vector<std::wstring> ProgramDocuments(const RecentDocumentList& list, const std::wstring& programTitle,
                                           const std::wstring& programPath, ResolutionMachine& machine) {
    DocumentOpener resolved;
    return ProgramDocuments(list, programTitle, programPath, [&](const std::wstring& entry) -> const DocumentOpener& {
        resolved = ResolveDocumentOpener(entry, machine);
        return resolved;
    });
}

std::vector<std::wstring> ProgramDocuments(const RecentDocumentList& list, const std::wstring& programTitle,
                                           const std::wstring& programPath, const OpenerOf& openerOf) {
    const wchar_t kViewer[] = L"windows photo viewer";
    std::wstring program = Key(programPath);
    if (programTitle == L"picture and fax viewer" || programTitle == L"photo viewer" ||
        programTitle == L"Windows Photo Viewer")
        program = kViewer;
    const std::wstring title = Key(programTitle);
    std::vector<std::wstring> documents;
    for (const std::wstring& entry : list.entries()) {
        const DocumentOpener& d = openerOf(entry);
        if (title != kViewer) {
            if (d.documentKey == program) break;
            if (d.opener == program) documents.push_back(d.document);
        } else if (IsPhotoViewer(d.opener)) {
            documents.push_back(d.document);
        }
    }
    return documents;
}

std::vector<std::wstring> ProgramDocumentIndex::Documents(const RecentDocumentList& list,
                                                          const std::wstring& programTitle,
                                                          const std::wstring& programPath, const OpenerOf& openerOf) {
    const wchar_t kViewer[] = L"windows photo viewer";
    // The viewer's documents are those of any of its openers: the plain walk finds them.
    if (Key(programTitle) == kViewer) return ProgramDocuments(list, programTitle, programPath, openerOf);
    if (list_ != &list || version_ != list.version()) {
        byOpener_.clear();
        firstDocument_.clear();
        const std::vector<std::wstring>& entries = list.entries();
        for (size_t i = 0; i < entries.size(); ++i) {
            const DocumentOpener& d = openerOf(entries[i]);
            byOpener_[d.opener].push_back(i);
            firstDocument_.emplace(d.documentKey, i);
        }
        list_ = &list;
        version_ = list.version();
    }
    std::wstring program = Key(programPath);
    if (programTitle == L"picture and fax viewer" || programTitle == L"photo viewer" ||
        programTitle == L"Windows Photo Viewer")
        program = kViewer;
    std::vector<std::wstring> documents;
    auto opened = byOpener_.find(program);
    if (opened == byOpener_.end()) return documents;
    // The walk ends at the first entry that is the program itself.
    auto self = firstDocument_.find(program);
    const size_t end = self == firstDocument_.end() ? list.entries().size() : self->second;
    for (size_t i : opened->second) {
        if (i >= end) break;
        documents.push_back(openerOf(list.entries()[i]).document);
    }
    return documents;
}

std::wstring TodayText() {
    SYSTEMTIME today;
    GetLocalTime(&today);
    return Format(L"%04u-%02u-%02u", today.wYear, today.wMonth, today.wDay);
}

void AttachProgramDocuments(ShownRecord& record, RecordNode* docsNode, RecordNode* appNode,
                            const std::vector<std::wstring>& documents, const std::wstring& programPath,
                            ResolutionMachine& machine, const std::function<int(const std::wstring&)>& iconIndex) {
    const std::wstring date = TodayText();
    for (const std::wstring& d : documents) {
        TMyDoc item;
        item.path = d;
        item.title = FileNameOf(d);
        item.groupKey = docsNode && record.items.Valid(docsNode->data.itemIndex)
                            ? record.items.At(docsNode->data.itemIndex).groupKey
                            : d;
        item.kind = kProgramOrDocument;
        item.date = date;
        item.expanded = true;
        item.imageIndex = iconIndex(machine.FileExists(d) ? d : programPath);
        int index = record.items.Append(item);
        for (RecordTree* tree : {&record.docs, &record.apps}) {
            RecordNode* parent = tree == &record.docs ? docsNode : appNode;
            if (!parent) continue;  // a document is attached under its program or not at all
            RecordNode* node = tree->AddSorted(parent, item.title, index);
            node->imageIndex = node->selectedImageIndex = item.imageIndex;
        }
    }
}

}  // namespace tv
