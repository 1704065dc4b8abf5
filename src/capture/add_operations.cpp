#include "capture/add_operations.h"

#include <shlobj.h>

#include <algorithm>

#include "base/constants.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "base/xml_text.h"
#include "capture/program_records.h"
#include "capture/shell_windows.h"

namespace tv {

namespace {
const wchar_t kPhotoViewer[] = L"Windows Photo Viewer";
const wchar_t kFileScheme[] = L"file:///";

bool IsProgramFile(const std::wstring& path) {
    const std::wstring ext = ToLower(ExtensionOf(path));
    return ext == L".exe" || ext == L".com" || ext == L".lnk" || EqualsNoCase(Trim(path), kPhotoViewer);
}

std::wstring Key(const std::wstring& s) { return ToLower(Trim(s)); }

// Appends the paths of `more` that `list` does not hold yet (ignoring case and blanks at the ends).
void AppendMissing(std::vector<std::wstring>& list, const std::vector<std::wstring>& more) {
    for (const std::wstring& path : more)
        if (std::none_of(list.begin(), list.end(), [&path](const std::wstring& p) { return Key(p) == Key(path); }))
            list.push_back(path);
}
bool Has(const std::wstring& s, const wchar_t* part) { return s.find(part) != std::wstring::npos; }
bool Starts(const std::wstring& s, const std::wstring& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

// "///", "//" and "/" each become one backslash.
std::wstring Backslashes(std::wstring s) {
    s = ReplaceAll(s, L"///", L"\\");
    s = ReplaceAll(s, L"//", L"\\");
    return ReplaceAll(s, L"/", L"\\");
}

std::wstring UpToBackslash(const std::wstring& s) {
    size_t at = s.find(L'\\');
    return at == std::wstring::npos ? s : s.substr(0, at);
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// "C:" for a drive path, "\\server\share" for a network path, otherwise empty.
std::wstring DriveOf(const std::wstring& p) {
    if (p.size() >= 2 && p[1] == L':') return p.substr(0, 2);
    if (p.size() >= 2 && IsSeparator(p[0]) && IsSeparator(p[1])) {
        size_t server = p.find_first_of(L"\\/", 2);
        if (server == std::wstring::npos) return p;
        size_t share = p.find_first_of(L"\\/", server + 1);
        return share == std::wstring::npos ? p : p.substr(0, share);
    }
    return L"";
}

bool IsWebPath(const std::wstring& lower) { return Has(lower, L"http://") || Has(lower, L"https://"); }

// The text after the scheme of a web address ("http://" or "https://"), or empty.
std::wstring AfterWebScheme(const std::wstring& p) {
    std::wstring l = ToLower(p);
    for (const wchar_t* scheme : {L"http://", L"https://"}) {
        size_t at = l.find(scheme);
        if (at != std::wstring::npos) return p.substr(at + wcslen(scheme));
    }
    return L"";
}

std::wstring WithoutTrailingBackslash(std::wstring s) {
    if (!s.empty() && s.back() == L'\\') s.pop_back();
    return s;
}

RecordTree& TreeOf(ShownRecord& record, int page) {
    RecordTree ShownRecord::*const models[] = {&ShownRecord::docs, &ShownRecord::apps, &ShownRecord::paths,
                                              &ShownRecord::pages};
    return record.*models[page < 0 || page > 3 ? 0 : page];
}
}  // namespace

std::wstring GroupKey(const std::wstring& path, const std::wstring& myDocuments) {
    const std::wstring l = Key(path), documents = Key(myDocuments);
    size_t scheme = l.find(kFileScheme);
    if (scheme != std::wstring::npos) {
        std::wstring after = path.substr(scheme + 8);
        if (!documents.empty() && Starts(Backslashes(l.substr(scheme + 8)), documents)) return myDocuments;
        std::wstring rest = path.size() > 11 ? Backslashes(path.substr(11)) : L"";
        return DriveOf(after) + L"\\" + UpToBackslash(rest);
    }
    if (Starts(path, L"\\\\")) return path;
    if (!documents.empty() && Starts(l, documents)) return myDocuments;
    size_t host = path.find(L"://");
    if (host != std::wstring::npos) {
        std::wstring after = path.substr(host + 3);
        return after.substr(0, after.find(L'/'));
    }
    if (path.find_first_of(L"\\/") == std::wstring::npos) return path;
    std::wstring drive = DriveOf(path);
    if (drive.empty()) return path;
    std::wstring rest = path.size() > 3 ? Backslashes(path.substr(3)) : L"";
    return drive + L"\\" + UpToBackslash(rest);
}

bool IsFolderLike(const std::wstring& path, ResolutionMachine& machine) {
    std::wstring l = ToLower(path);
    if (machine.FileExists(path) || IsWebPath(l)) return false;
    if (Starts(l, kFileScheme) || Starts(path, L"\\\\")) return true;
    std::wstring u = ToUpper(Trim(path));
    return u.size() >= 2 && u[0] >= L'A' && u[0] <= L'Z' && u[1] == L':';
}

int TypeImage(const std::wstring& text, ResolutionMachine& machine) {
    if (machine.FolderExists(text)) return 0;
    const std::wstring s = Key(text), x = ExtensionOf(s);
    auto among = [&x](std::initializer_list<const wchar_t*> list) {
        for (const wchar_t* e : list)
            if (x == e) return true;
        return false;
    };
    if (Has(s, L"http://")) return 2;
    if (Has(s, L"winrar.exe") || among({L".rar", L".zip", L".tar"})) return 9;
    if (among({L".html", L".htm", L".jsp", L".aspx", L".asp", L".php"})) return 2;
    if (among({L".bmp", L".jpg", L".png", L".jpeg", L".gif", L".ico", L".wmf", L".emf"})) return 3;
    return 12;
}

// ---- installed-program names ----------------------------------------------------------------

std::vector<FoundPath> PathsBelow(const std::vector<std::wstring>& folders, RecentFolderReader& reader) {
    // A junction or link can lead back up the tree, and a tree can be deeper than anything
    // installed needs: neither is walked, so every walk ends.
    constexpr int kMaxFolderDepth = 32;
    std::vector<FoundPath> found;
    std::vector<std::pair<std::wstring, int>> pending;
    for (auto f = folders.rbegin(); f != folders.rend(); ++f) pending.emplace_back(*f, 0);
    while (!pending.empty()) {
        auto [folder, depth] = pending.back();
        pending.pop_back();
        if (folder.empty()) continue;
        if (folder.back() != L'\\') folder += L'\\';
        std::vector<std::wstring> below;
        for (const ListedEntry& entry : reader.List(folder, kMaxWalk)) {
            if (entry.name == L"." || entry.name == L"..") continue;
            bool isFolder = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            found.push_back({folder + entry.name, isFolder});
            if (isFolder && !(entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) && depth < kMaxFolderDepth)
                below.push_back(folder + entry.name);
        }
        for (auto b = below.rbegin(); b != below.rend(); ++b) pending.emplace_back(*b, depth + 1);
    }
    return found;
}

void InstalledProgramNames::Load(const std::vector<std::wstring>& folders, RecentFolderReader& reader,
                                 ResolutionMachine& machine) {
    if (loaded_) return;
    loaded_ = true;
    for (const FoundPath& found : PathsBelow(folders, reader)) {
        if (found.isFolder) continue;
        std::wstring target = Key(ProgramPathOfCommand(ShortcutTarget(found.path, machine), machine));
        std::wstring x = ExtensionOf(target);
        if (x == L".exe" || x == L".msi" || x == L".bat") names_.emplace(target, PathDisplayName(found.path));
    }
}

void InstalledProgramNames::Add(const std::wstring& programPath, const std::wstring& name) {
    names_.emplace(Key(programPath), name);
}

std::wstring InstalledProgramNames::NameOf(const std::wstring& path) const {
    auto found = names_.find(Key(path));
    return found == names_.end() ? L"" : found->second;
}

std::vector<std::wstring> StartMenuProgramFolders() {
    std::vector<std::wstring> folders;
    for (int csidl : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS}) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) folders.push_back(path);
    }
    return folders;
}

// ---- the adder ------------------------------------------------------------------------------

RecordAdder::RecordAdder(ShownRecord& record, RecordAddView& view) : record_(record), view_(view) {}

ResolutionMachine& RecordAdder::Machine() const {
    static RealResolutionMachine fallback;
    return machine ? *machine : fallback;
}

std::wstring RecordAdder::DisplayName(const std::wstring& path) const {
    ResolutionMachine& m = Machine();
    return DisplayNameOfPath(path, [&m](const std::wstring& p) { return m.DirectoryExists(p); });
}

void RecordAdder::NoteRecentDocument(const std::wstring& path) {
    if (HasCharacterXmlForbids(path)) {
        view_.Refused(path);
        return;
    }
    if (onlyMatches) searchDocuments_.AddKeeping(path);
    else if (recentDocuments) recentDocuments->AddKeeping(path);
}

const DocumentOpener& RecordAdder::OpenerOf(const std::wstring& entry) {
    ResolutionMachine& m = Machine();
    if (openersMachine_ != &m) {
        openers_.clear();
        programDocuments_.Forget();
        openersMachine_ = &m;
    }
    auto known = openers_.find(entry);
    if (known == openers_.end()) known = openers_.emplace(entry, ResolveDocumentOpener(entry, m)).first;
    return known->second;
}

bool RecordAdder::AddItem(std::wstring p, std::wstring t) {
    view_.Step();
    ResolutionMachine& m = Machine();
    p = Trim(ShortcutTarget(ReplaceAll(p, L"%20", L" "), m));
    std::wstring a = Key(AssociatedProgram(p, m));
    const std::wstring l = Key(p);

    if (IsPhotoViewer(p)) {
        if (!HoldsProgram(kPhotoViewer, kPhotoViewer)) {
            lastAdded_ = p;
            AddEntry(kPhotoViewer, kPhotoViewer);
        }
        return false;
    }
    if (Has(l, L"http:") || Has(l, L"https:")) {
        t = row ? row->title : !t.empty() ? t : p;
        lastAdded_ = p;
        AddEntry(p, t);
        return false;
    }
    if (m.FolderExists(p)) {
        p = NormaliseFolder(p);
        if (t.empty()) t = row ? row->title : DisplayName(p);
        lastAdded_ = p;
        AddEntry(p, t);
        return false;
    }
    if (!a.empty() && a != l) {
        const std::wstring programTitle = Key(FileNameOf(a)) == L"explorer.exe" ? L"Windows Explorer" : a;
        auto programOf = [&m](const std::wstring& opener) {
            return IsPhotoViewer(opener) ? std::wstring(kPhotoViewer) : ProgramPathOfCommand(opener, m);
        };
        if (HoldsProgram(a, programTitle)) {
            a = programOf(a);
            AttachDocument(p, a);
            lastAdded_ = p;
            NoteRecentDocument(p);
            return true;
        }
        view_.Step();
        a = programOf(a);
        if (a == kPhotoViewer || m.FileExists(a)) {
            std::wstring title = programTitle == L"Windows Explorer" ? programTitle
                                 : programNames && !programNames->NameOf(a).empty() ? programNames->NameOf(a)
                                                                                    : FileNameOf(a);
            lastAdded_ = p;
            NoteRecentDocument(p);
            AddEntry(a, title);
            return false;
        }
        lastAdded_ = p;
        AddEntry(p, FileNameOf(p));
        return false;
    }
    std::wstring installed = programNames ? programNames->NameOf(p) : L"";
    if (ExtensionOf(l) == L".lnk") {
        if (!installed.empty()) t = installed;
        else if (t.empty()) t = row ? row->title : DisplayName(p);
    } else {
        if (!installed.empty()) t = installed;
        else if (t.empty()) t = row ? row->programName : FileNameOf(p);
    }
    lastAdded_ = p;
    AddEntry(p, t);
    return false;
}

void RecordAdder::AddEntry(std::wstring p, const std::wstring& t) {
    ResolutionMachine& m = Machine();
    p = ReplaceAll(p, L"%20", L" ");
    bool isProgram = m.FolderExists(p) ? false : m.ValidDrivePath(p) ? true : Key(p) == L"windows photo viewer";
    AddEntryCore(p, t, L"", isProgram);
}

void RecordAdder::AttachDocument(const std::wstring& document, const std::wstring& program) {
    if (HasCharacterXmlForbids(document)) {
        view_.Refused(document);
        return;
    }
    Sync();
    TMyDoc item;
    item.path = document;
    item.title = FileNameOf(document);
    item.kind = kProgramOrDocument;
    item.expanded = true;
    item.date = TodayText();
    const std::wstring key = Key(program);
    const bool shell = Key(FileNameOf(program)) == L"explorer.exe";
    RecordNode* parent = nullptr;
    auto range = topNodesByPath_.equal_range(key);
    for (auto it = range.first; it != range.second && !parent; ++it)
        if (!shell || Key(it->second->caption) == L"windows explorer") parent = it->second;
    if (parent && record_.items.Valid(parent->data.itemIndex))
        item.groupKey = record_.items.At(parent->data.itemIndex).groupKey;
    int index = record_.items.Append(item);
    IndexItem(item);
    indexedItems_ = record_.items.Count();
    if (parent) {
        ++added_.documents;
        RecordNode* child = AddNode(0, parent, item.title, index, iconIndex(document, L""));
        IndexChild(*child);
        Stamp();
        view_.NodeAdded(0, *child);
    }
    Stamp();
}

RecordNode* RecordAdder::AddNode(int page, RecordNode* parent, const std::wstring& caption, int itemIndex,
                                 int image) {
    RecordNode* node = TreeOf(record_, page).AddSorted(parent, caption, itemIndex);
    node->imageIndex = node->selectedImageIndex = image;
    node->expanded = true;
    IndexCaption(page, *node);
    return node;
}

RecordNode* RecordAdder::FindCaption(int page, const std::wstring& caption) {
    std::wstring upper = ToUpper(caption);
    for (auto* index : {&captions_[page], &childCaptions_[page]}) {
        auto found = index->find(upper);
        if (found != index->end()) return found->second;
    }
    return nullptr;
}

void RecordAdder::AddEntryCore(std::wstring p, std::wstring t, const std::wstring& date, bool isProgram) {
    ResolutionMachine& m = Machine();
    Sync();
    p = Trim(p);
    t = Trim(WithoutXmlForbidden(t));
    if (p.empty()) return;
    // Every later save of the record would fail on such a path, and with it all else added.
    if (HasCharacterXmlForbids(p)) {
        view_.Refused(p);
        return;
    }
    if (t.empty()) t = DisplayName(p);
    p = ReplaceAll(p, L"%20", L" ");

    // Nothing from the browser's own resource pages, and nothing the record holds already
    // (shell places kept as they are may stand side by side).
    if (Has(Key(p), L"res://")) return;
    {
        std::wstring title = t, path = p;
        if (ShellWindowTable(title, path, ShellTableMode::Capture) != 1) {
            std::wstring q = p;
            if (StartsWithNoCase(q, kFileScheme)) q = q.substr(8);
            if (IndexedItemPath(Key(ReplaceAll(q, L"/", L"\\")))) return;
        }
    }
    std::wstring k = Trim(GroupKey(p, myDocuments));
    if (!isProgram && k.empty()) return;
    // A group known only from its items (a program filed under its own caption) has no node to
    // take the entry: it starts its nodes now rather than leave the entry without one.
    RecordNode* groupNode = isProgram || NewGroup(k) ? nullptr : FindCaption(0, k);
    const bool newGroup = !groupNode;

    TMyDoc n;
    const bool folderLike = IsFolderLike(p, m);
    if (folderLike) {
        n.kind = kFolderOrLocation;
        std::wstring path = p;
        if (StartsWithNoCase(path, kFileScheme)) path = path.substr(8);
        n.path = Backslashes(path);
        n.title = t.empty() ? n.path : t;
    } else {
        // A secure address is a web page like a plain one.
        std::wstring l = ToLower(p);
        n.kind = isProgram ? kProgramOrDocument
                 : Starts(l, L"http://") || Starts(l, L"https://") ? kWebPage
                                                                  : kProgramOrDocument;
        n.title = t;
        n.path = p;
    }
    n.groupKey = k;
    n.expanded = true;
    Count(n, isProgram);
    n.date = date.empty() ? TodayText() : date;
    const std::wstring entryPath = n.path;

    // Whether the entry needs a node of its own below its group, and that node's text.
    bool needsChild = false;
    std::wstring childText;
    if (!isProgram) {
        std::wstring cp = p, ck = k;
        if (n.kind == kFolderOrLocation) {
            cp = WithoutTrailingBackslash(ReplaceAll(cp, L"/", L"\\"));
            ck = WithoutTrailingBackslash(ck);
            needsChild = !(L"file:\\\\\\" + ck == cp || ck == cp);
        } else if (n.kind == kWebPage) {
            std::wstring host = AfterWebScheme(cp);
            needsChild = !(host == ck || host == ck + L"/");
        } else {
            needsChild = true;
        }
        if (needsChild) {
            if (folderLike) {
                std::wstring r = cp;
                size_t scheme = r.find(L"file:\\\\\\");
                if (scheme != std::wstring::npos) r = r.substr(8);
                childText = r.size() > ck.size() + 1 ? r.substr(ck.size() + 1) : L"";
            } else if (n.kind == kWebPage || IsWebPath(ToLower(cp))) {
                childText = AfterWebScheme(cp);
            }
            childText = Trim(childText);
        }
    }

    const bool split = needsChild && newGroup;
    if (split) n.path = k;
    const int groupIndex = record_.items.Append(n);
    IndexItem(n);
    int entryIndex = groupIndex;
    if (split) {
        TMyDoc second = n;
        second.path = entryPath;
        second.expanded = false;
        entryIndex = record_.items.Append(second);
        IndexItem(second);
    }
    indexedItems_ = record_.items.Count();

    // Group nodes: new ones, or those the group already has.
    std::vector<std::pair<int, RecordNode*>> added;
    RecordNode* docsNode = nullptr;
    RecordNode* kindNode = nullptr;
    const int kindPage = n.kind == kWebPage ? 3 : n.kind == kFolderOrLocation ? 2 : 1;
    if (newGroup) {
        std::wstring caption = isProgram ? t : k.size() > 3 ? k : t;
        int image = isProgram ? iconIndex(p, t) : TypeImage(caption, m);
        if (n.kind == kWebPage) image = 1;
        if (n.kind == kFolderOrLocation) image = 0;
        docsNode = AddNode(0, nullptr, caption, groupIndex, image);
        kindNode = AddNode(kindPage, nullptr, caption, groupIndex, image);
        added = {{0, docsNode}, {kindPage, kindNode}};
        if (n.kind == kWebPage) view_.ShowWebPageTab();
    } else {
        docsNode = groupNode;
        if (n.kind != kProgramOrDocument) kindNode = FindCaption(kindPage, k);
    }

    if (isProgram) {
        const RecentDocumentList* list = onlyMatches ? &searchDocuments_ : recentDocuments;
        if (list || moreDocuments) {
            RecordNode* appNode = kindPage == 1 ? kindNode : nullptr;
            auto openerOf = [this](const std::wstring& entry) -> const DocumentOpener& { return OpenerOf(entry); };
            std::vector<std::wstring> documents;
            if (list) documents = programDocuments_.Documents(*list, t, p, openerOf);
            if (moreDocuments) AppendMissing(documents, *moreDocuments);
            documents.erase(std::remove_if(documents.begin(), documents.end(),
                                           [this](const std::wstring& d) {
                                               if (!HasCharacterXmlForbids(d)) return false;
                                               view_.Refused(d);
                                               return true;
                                           }),
                            documents.end());
            added_.documents += static_cast<int>(documents.size());
            AttachProgramDocuments(record_, docsNode, appNode, documents, p, m,
                                   [this](const std::wstring& path) { return iconIndex(path, L""); });
        }
    } else if (needsChild && !childText.empty()) {
        const int image = n.kind == kWebPage ? 1 : n.kind == kFolderOrLocation ? 0 : TypeImage(childText, m);
        const std::wstring& caption = n.kind == kWebPage ? t : childText;
        if (docsNode) {
            RecordNode* child = AddNode(0, docsNode, caption, entryIndex, image);
            if (!newGroup) added.push_back({0, child});
            IndexChild(*child);
        }
        if (kindNode && n.kind != kProgramOrDocument) {
            RecordNode* child = AddNode(kindPage, kindNode, caption, entryIndex, image);
            if (!newGroup) added.push_back({kindPage, child});
        }
    }
    if (docsNode && !docsNode->parent) IndexTopNode(*docsNode, newGroup);
    Stamp();
    for (auto [page, node] : added) view_.NodeAdded(page, *node);
}

void RecordAdder::Count(const TMyDoc& entry, bool fileEntry) {
    if (entry.kind == kWebPage) ++added_.pages;
    else if (entry.kind == kFolderOrLocation) ++added_.folders;
    // A file of its own is a program when it starts one; any other file is a document.
    else if (fileEntry && IsProgramFile(entry.path)) ++added_.programs;
    else ++added_.documents;
}

bool RecordAdder::NewGroup(const std::wstring& key) const {
    std::wstring k = Key(key);
    if (groupKeys_.count(k) || groupKeys_.count(k + L'\\')) return false;
    return !(!k.empty() && k.back() == L'\\' && groupKeys_.count(k.substr(0, k.size() - 1)));
}

bool RecordAdder::InTree(const std::wstring& path) {
    Sync();
    const std::wstring key = Key(path);
    if (treePaths_.count(key)) return true;
    auto range = folderGroups_.equal_range(key);
    for (auto it = range.first; it != range.second; ++it)
        if (Machine().FolderExists(it->second)) return true;
    return false;
}

bool RecordAdder::HoldsProgram(const std::wstring& path, const std::wstring& title) {
    if (Trim(path).empty()) return true;
    Sync();
    std::wstring normal = CommandLineProgramPath(path);
    if (IsPhotoViewer(normal)) normal = kPhotoViewer;
    auto range = topNodesByPath_.equal_range(Key(normal));
    for (auto it = range.first; it != range.second; ++it) {
        if (Key(FileNameOf(it->first)) == L"explorer.exe" && Key(it->second->caption) != Key(title)) continue;
        return true;
    }
    return false;
}

// ---- indexes --------------------------------------------------------------------------------

void RecordAdder::IndexItem(const TMyDoc& item) {
    itemPaths_.insert(Key(item.path));
    groupKeys_.insert(Key(item.groupKey));
}

void RecordAdder::IndexCaption(int page, RecordNode& node) {
    (node.parent ? childCaptions_ : captions_)[page].emplace(ToUpper(node.caption), &node);
}

void RecordAdder::IndexChild(const RecordNode& child) {
    if (!child.parent || child.parent->parent || !record_.items.Valid(child.data.itemIndex)) return;
    treePaths_.insert(Key(record_.items.At(child.data.itemIndex).path));
    if (child.parent->children.size() == 1) IndexTopNode(*child.parent, false);  // it has children now
}

void RecordAdder::IndexTopNode(const RecordNode& node, bool withChildren) {
    if (!record_.items.Valid(node.data.itemIndex)) return;
    const std::wstring& path = record_.items.At(node.data.itemIndex).path;
    const std::wstring key = Key(path);
    if (treePaths_.insert(key).second) topNodesByPath_.emplace(key, const_cast<RecordNode*>(&node));
    if (!node.children.empty()) {
        std::wstring group = Key(GroupKey(path, myDocuments));
        bool known = false;
        auto range = folderGroups_.equal_range(group);
        for (auto it = range.first; it != range.second && !known; ++it) known = it->second == path;
        if (!known) folderGroups_.emplace(group, path);
    }
    if (!withChildren) return;
    for (const auto& child : node.children)
        if (record_.items.Valid(child->data.itemIndex)) treePaths_.insert(Key(record_.items.At(child->data.itemIndex).path));
}

void RecordAdder::Stamp() {
    for (int page = 0; page < 4; ++page) versions_[page] = TreeOf(record_, page).version();
}

void RecordAdder::Sync() {
    const ItemArray& items = record_.items;
    if (items.Count() < indexedItems_ || items.emptied() != itemsEmptied_) {
        itemPaths_.clear();
        groupKeys_.clear();
        indexedItems_ = 0;
        itemsEmptied_ = items.emptied();
    }
    for (; indexedItems_ < items.Count(); ++indexedItems_) IndexItem(items.At(indexedItems_));

    bool changed = false;
    for (int page = 0; page < 4; ++page) changed |= versions_[page] != TreeOf(record_, page).version();
    if (!changed) return;
    treePaths_.clear();
    folderGroups_.clear();
    topNodesByPath_.clear();
    for (int page = 0; page < 4; ++page) {
        captions_[page].clear();
        childCaptions_[page].clear();
        TreeOf(record_, page).Walk([this, page](RecordNode& node) { IndexCaption(page, node); });
    }
    int visited = 0;
    for (const auto& node : record_.docs.top()) {
        if (++visited > kMaxWalk) break;
        IndexTopNode(*node, true);
    }
    Stamp();
}

}  // namespace tv
