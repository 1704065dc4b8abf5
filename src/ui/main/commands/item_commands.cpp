#include "ui/main/commands/item_commands.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <set>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "base/debug_log.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "base/path_rules.h"
#include "base/redraw.h"
#include "base/strings.h"
#include "capture/add_operations.h"
#include "capture/path_resolution.h"
#include "capture/recent_documents.h"
#include "capture/shell_windows.h"
#include "records/record_library.h"
#include "replay/item_launcher.h"
#include "base/constants.h"
#include "replay/run_as_admin.h"
#include "ui/dialogs/prompter.h"
#include "ui/main/menus/main_menus.h"

namespace tv {

// ---- rules -----------------------------------------------------------------------------------

std::wstring FolderPartOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(0, slash + 1);
}

std::wstring LocationToOpen(const std::wstring& path, bool isFolder) { return isFolder ? path : FolderPartOf(path); }

std::wstring LocationToCopy(const std::wstring& path, bool isFolder, bool hasChildren, const std::wstring& groupKey) {
    if (!isFolder) return FolderPartOf(path);
    return hasChildren ? groupKey : path;
}

std::wstring PasteDestination(const std::wstring& folder, const std::wstring& source) {
    std::wstring to = folder;
    if (to.empty() || to.back() != L'\\') to += L'\\';
    return to + FileNameOf(source);
}

bool RecentEntryLeadsTo(const std::wstring& target, const std::wstring& path, const std::wstring& linksFolder) {
    if (target.empty() || path.empty()) return false;
    if (target == path || target == path + L'\\' || target + L'\\' == path) return true;
    return ExtensionOf(target) == L".lnk" && ToLower(Trim(linksFolder + FileNameOf(target))) == path;
}

std::vector<BYTE> FileListBlock(const std::vector<std::wstring>& paths) {
    std::wstring names;
    for (const std::wstring& path : paths) names += path + L'\0';
    names += L'\0';
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;  // wide names carry any path; every reader of the list takes both kinds
    std::vector<BYTE> block(sizeof(header) + names.size() * sizeof(wchar_t));
    memcpy(block.data(), &header, sizeof(header));
    memcpy(block.data() + sizeof(header), names.data(), names.size() * sizeof(wchar_t));
    return block;
}

OpeningItems OpeningItemsFor(const std::wstring& extension, bool elevated) {
    if (extension.empty()) return {};
    if (extension == L".exe") return {!elevated, false, false, false};
    for (const wchar_t* script : {L".bat", L".cmd", L".cpl", L".msc"})
        if (extension == script) return {true, true, false, !elevated};
    return {false, true, !elevated, !elevated};
}

// ---- the commands ----------------------------------------------------------------------------

namespace {

constexpr wchar_t kRemoveSelectedQuestion[] = L"Are you sure you want to remove selected item of current record?";
constexpr wchar_t kRemoveAllQuestion[] = L"Are you sure you want to remove all items of current record?";
constexpr size_t kMaxEntries = 5000;

// The files directly in `folder` that are neither folders nor hidden.
std::vector<std::wstring> PlainFilesIn(const std::wstring& folder) {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found{};
    FindOwner find = FindOwnerOf(FindFirstFileW(JoinPath(folder, L"*").c_str(), &found));
    if (!find) return files;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN)) continue;
        files.push_back(JoinPath(folder, found.cFileName));
    } while (files.size() < kMaxEntries && FindNextFileW(find.get(), &found));
    return files;
}

// Removes from `tree` every node that shows one of `items`, with its children.
void RemoveNodesOf(RecordTree& tree, const std::set<int>& items) {
    std::vector<RecordNode*> doomed;
    tree.Walk([&](RecordNode& node) {
        for (RecordNode* up = node.parent; up; up = up->parent)
            if (items.count(up->data.itemIndex)) return;  // goes with its parent
        if (items.count(node.data.itemIndex)) doomed.push_back(&node);
    });
    for (RecordNode* node : doomed) tree.Remove(node);
}

// The files of the clipboard's file list, in order; none when it holds no list.
std::vector<std::wstring> ClipboardFiles(HWND owner) {
    std::vector<std::wstring> files;
    ClipboardScope clipboard(owner);
    if (!clipboard.open()) return files;
    HDROP list = static_cast<HDROP>(GetClipboardData(CF_HDROP));
    if (!list) return files;
    const UINT count = DragQueryFileW(list, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count && i < kMaxEntries; ++i) {
        wchar_t name[1025] = {};
        if (DragQueryFileW(list, i, name, 1024)) files.push_back(name);
    }
    return files;
}

// The clipboard's Unicode text; empty when it holds none.
std::wstring ClipboardText(HWND owner) {
    ClipboardScope clipboard(owner);
    HANDLE data = clipboard.open() ? GetClipboardData(CF_UNICODETEXT) : nullptr;
    LockedGlobal text(data);
    if (!text.bytes()) return {};
    // Bounded by the block, whether or not its text ends in a NUL.
    const wchar_t* chars = reinterpret_cast<const wchar_t*>(text.bytes());
    const size_t most = text.size() / sizeof(wchar_t);
    size_t length = 0;
    while (length < most && chars[length]) ++length;
    return std::wstring(chars, length);
}

// Puts `bytes` on the clipboard as `format`, replacing what it held.
bool SetClipboardBlock(HWND owner, UINT format, const void* bytes, size_t size) {
    GlobalOwner block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    if (!block) return false;
    if (void* at = GlobalLock(block.get())) {
        memcpy(at, bytes, size);
        GlobalUnlock(block.get());
    } else {
        return false;
    }
    ClipboardScope clipboard(owner);
    if (!clipboard.open() || !EmptyClipboard()) return false;
    if (!SetClipboardData(format, block.get())) return false;
    block.release();  // the clipboard owns it now
    return true;
}

}  // namespace

bool ShellCopy(HWND owner, const std::wstring& source, const std::wstring& destination) {
    const std::wstring from = source + L'\0', to = destination + L'\0';
    SHFILEOPSTRUCTW op{};
    op.hwnd = owner;
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_CONFIRMMOUSE;
    return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

std::vector<SelectedItem> SelectedItemsOf(RecordPages& pages, const ShownRecord& record) {
    std::vector<SelectedItem> out;
    for (RecordNode* node : pages.views().SelectedNodes(pages.activePage())) {
        if (!record.items.Valid(node->data.itemIndex)) continue;
        out.push_back({record.items.At(node->data.itemIndex).path, node->caption, !node->children.empty(),
                       node->data.itemIndex});
        if (out.size() >= kMaxEntries) break;
    }
    return out;
}

void AddQuietCommand(CommandTable& table, UINT id, std::function<void()> handler, const wchar_t* what) {
    table.Add(id, [handler = std::move(handler), what](UINT) {
        try {
            handler();
        } catch (...) {
            LogSwallowed(what);
        }
    });
}

void ItemCommands::AddCommands(CommandTable& table) {
    auto row = [this, &table](UINT id, void (ItemCommands::*handler)()) {
        AddQuietCommand(table, id, [this, handler] { (this->*handler)(); }, L"an item command");
    };
    row(kCmdOpenLocation, &ItemCommands::MnOpenDIr22Click);
    row(kCmdOpenWith, &ItemCommands::OpenWith2Click);
    row(kCmdRunItemAsAdmin, &ItemCommands::Runasadministrator322Click);
    row(kCmdOpenAsAdmin, &ItemCommands::OpenAsAdmin1Click);
    row(kCmdOpenWithAdmin, &ItemCommands::OpenWithasadmin2Click);
    row(kCmdFullExpand, &ItemCommands::MnExpandAllClick);
    row(kCmdFullCollapse, &ItemCommands::CollapseAll1Click);
    row(kCmdDeleteSelected, &ItemCommands::MnDeleteSelectedClick);
    row(kCmdDeleteAll, &ItemCommands::MnDeleteAllClick);
    row(kCmdCopyFile, &ItemCommands::CopyFile1Click);
    row(kCmdCopyFileName, &ItemCommands::CopyFileName1Click);
    row(kCmdCopyFileLocation, &ItemCommands::CopyContainingFolder1Click);
    row(kCmdPaste, &ItemCommands::PasteFile1Click);
    row(kCmdPasteShortcut, &ItemCommands::CopyFile2Click);
    row(kCmdOpenAfterPaste, &ItemCommands::Openfilelocationafterpaste1Click);
    table_ = &table;
}

bool ItemCommands::TreeKeyDown(HWND tree, UINT key) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    auto run = [this](UINT id) {
        // Through the window, which refuses commands while a long operation runs.
        SendMessageW(p_.window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return true;
    };
    if (key == VK_ESCAPE) {
        if (HWND all = p_.pages.views().TVDocs) DeselectAll(all);
        return true;
    }
    if (key == VK_DELETE) return run(kCmdDeleteSelected);
    if (shift && !ctrl && key == 'W') return run(kCmdOpenWithAdmin);
    if (!ctrl || shift) return false;
    switch (key) {
        case 'A': SelectTopAndChildren(tree); return true;
        case 'O': return run(kCmdOpen);
        case 'L': return run(kCmdOpenLocation);
        case 'W': return run(kCmdOpenWith);
        case 'C': return run(kCmdCopyFile);
        case 'V': return run(kCmdPasteShortcut);
        default: return false;
    }
}

bool ItemCommands::FocusedItem(Selected& item) const {
    HWND tree = p_.pages.views().Existing(p_.pages.activePage());
    HTREEITEM focused = tree ? TreeView_GetSelection(tree) : nullptr;
    RecordNode* node = focused ? NodeOf(tree, focused) : nullptr;
    const ShownRecord& record = p_.session.record();
    if (!node || !record.items.Valid(node->data.itemIndex)) return false;
    item = {record.items.At(node->data.itemIndex).path, node->caption, !node->children.empty(), node->data.itemIndex};
    return true;
}

void ItemCommands::MnOpenDIr22Click() {
    ItemLauncher& launcher = p_.launcher();
    for (const Selected& item : SelectedItems())
        launcher.OpenPathOrAddress(LocationToOpen(item.path, DirectoryExists(item.path)));
}

void ItemCommands::OpenWith2Click() {
    Selected item;
    if (FocusedItem(item)) p_.launcher().OpenWithDialog(item.path);
}

void ItemCommands::OpenWithasadmin2Click() {
    Selected item;
    if (FocusedItem(item)) OpenThroughAdminHelper(p_.launcher(), item.path);
}

void ItemCommands::OpenThroughAdminHelper(ItemLauncher& launcher, const std::wstring& path) {
    // The path is one argument, whatever blanks it holds.
    launcher.OpenDocument(JoinPath(FolderOf(ModulePath()), kElevationProgram), QuotedArgument(path),
                          !launcher.context().startupReplay);
}

void ItemCommands::Runasadministrator322Click() {
    ItemLauncher& launcher = p_.launcher();
    TRunAsAdmin admin(p_.shell());
    for (const Selected& item : SelectedItems()) {
        std::wstring title = item.title, path = item.path;
        // A shell place is opened by the table itself, normally.
        if (ShellWindowTable(title, path, ShellTableMode::Launch, &launcher) == 1) continue;
        admin.ElevatedLaunch(p_.window, path, L"");
    }
}

void ItemCommands::OpenAsAdmin1Click() {
    ItemLauncher& launcher = p_.launcher();
    TRunAsAdmin admin(p_.shell());
    RealResolutionMachine machine;
    for (const Selected& item : SelectedItems()) {
        const std::wstring& p = item.path;
        const std::wstring e = ToLower(Trim(ExtensionOf(p)));
        const bool runsItself = e == L".exe" || e == L".bat" || e == L".msi";
        const std::wstring a = CommandLineProgramPath(runsItself ? p : AssociatedProgram(p, machine));
        if (IsPhotoViewer(a)) {
            admin.ElevatedLaunch(p_.window, L"rundll32.exe",
                                 ExpandEnvironment(L"%SystemRoot%\\system32\\shimgvw.dll,ImageView_Fullscreen", machine) +
                                     L" " + QuotedArgument(p));
        } else if (!a.empty()) {
            admin.ElevatedLaunch(p_.window, a, QuotedArgument(p));
        } else {
            OpenThroughAdminHelper(launcher, p);
        }
    }
}

void ItemCommands::ExpandAll(UINT how) {
    for (int page = 0; page < 4; ++page) {
        HWND tree = p_.pages.views().Existing(page);
        if (!tree) continue;
        RedrawSuspender quiet(tree);
        ForEachItem(tree, [tree, how](HTREEITEM item) {
            if (TreeView_GetChild(tree, item)) TreeView_Expand(tree, item, how);
        });
    }
}

void ItemCommands::MnDeleteSelectedClick() {
    if (!p_.prompter->Ask(p_.window, kRemoveSelectedQuestion)) return;
    // What the user sees selected: the active tree's nodes, never a hidden selection elsewhere.
    const std::vector<Selected> selected = SelectedItems();
    if (!selected.empty()) {
        RealResolutionMachine machine;
        const std::vector<std::wstring> recent = PlainFilesIn(RecentFolder());
        const std::wstring links = ToLower(LinksFolder());
        std::set<int> items;
        for (const Selected& item : selected) {
            items.insert(item.itemIndex);
            // Its entries in the Windows Recent folder go too, so a later recording does not bring it back.
            const std::wstring p = ToLower(Trim(item.path));
            for (const std::wstring& r : recent)
                if (RecentEntryLeadsTo(ToLower(Trim(ShortcutTarget(r, machine))), p, links)) DeleteFileW(r.c_str());
        }
        p_.pages.ClearTrees();  // the controls point into the model
        ShownRecord& record = p_.session.record();
        for (RecordTree* tree : {&record.docs, &record.apps, &record.paths, &record.pages}) RemoveNodesOf(*tree, items);
    }
    SaveAndShowAgain();
}

void ItemCommands::MnDeleteAllClick() {
    if (!p_.prompter->Ask(p_.window, kRemoveAllQuestion)) return;
    p_.session.Clear();
    SaveAndShowAgain();
}

void ItemCommands::SaveAndShowAgain() {
    if (p_.records.SelectedIndex() < 0) {
        p_.pages.ShowRecord(p_.session.record());
        return;
    }
    // With no record folder to write into nothing is saved; the record is shown again all the same.
    if (DirectoryExists(p_.session.RecordFolder()) || CreateFolderTree(p_.session.RecordFolder()))
        p_.session.SaveCurrentRecord();
    p_.showSelectedRecord();
}

bool ItemCommands::SetClipboardText(const std::wstring& text) {
    return SetClipboardBlock(p_.window, CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

void ItemCommands::CopyFile1Click() {
    std::vector<std::wstring> paths;
    for (const Selected& item : SelectedItems()) paths.push_back(item.path);
    if (paths.empty()) return;
    const std::vector<BYTE> block = FileListBlock(paths);
    SetClipboardBlock(p_.window, CF_HDROP, block.data(), block.size());
}

void ItemCommands::CopyFileName1Click() {
    // One after the other: with several items the last one stays.
    for (const Selected& item : SelectedItems()) SetClipboardText(item.path);
}

void ItemCommands::CopyContainingFolder1Click() {
    const std::wstring myDocuments = p_.launcher().context().myDocuments;
    for (const Selected& item : SelectedItems())
        SetClipboardText(LocationToCopy(item.path, DirectoryExists(item.path), item.hasChildren,
                                        GroupKey(item.path, myDocuments)));
}

void ItemCommands::PasteFile1Click() {
    const std::vector<Selected> selected = SelectedItems();
    const std::vector<std::wstring> files = ClipboardFiles(p_.window);
    ItemLauncher& launcher = p_.launcher();
    for (const Selected& item : selected) {
        std::wstring title = item.title, path = item.path;
        // Files go into folder items only: a file item's path is no place to copy to.
        if (!DirectoryExists(item.path)) continue;
        if (ShellWindowTable(title, path, ShellTableMode::Capture, &launcher) == 1) continue;
        for (const std::wstring& file : files) {
            const std::wstring source = CommandLineProgramPath(file);
            if (!source.empty()) ShellCopy(p_.window, source, PasteDestination(item.path, source));
        }
    }
    if (p_.checks.openFolderAfterPaste && !selected.empty()) launcher.OpenPathOrAddress(selected.back().path);
}

void ItemCommands::CopyFile2Click() {
    bool added = false;
    auto add = [this, &added](const std::wstring& x) {
        if (x.empty()) return;
        if (p_.session.Contains(x)) {
            p_.session.NoteExisting(x);
            return;
        }
        const std::wstring lower = ToLower(x);
        const bool page = lower.find(L"http://") != std::wstring::npos || lower.find(L"https://") != std::wstring::npos;
        p_.session.AddItem(x, page && p_.pageTitle ? p_.pageTitle(x) : std::wstring());
        added = true;
    };
    add(CommandLineProgramPath(ClipboardText(p_.window)));
    for (const std::wstring& file : ClipboardFiles(p_.window)) add(CommandLineProgramPath(file));
    if (added) p_.session.SaveCurrentRecord();
    p_.session.ShowAllPageAndLastAdded();
}

void ItemCommands::Openfilelocationafterpaste1Click() {
    p_.checks.openFolderAfterPaste = !p_.checks.openFolderAfterPaste;
    p_.user.WriteBool(keys::kDefault, keys::kOpenFolderAfterPaste, p_.checks.openFolderAfterPaste);
    CheckMenuItem(p_.menus.PmDocTree, kCmdOpenAfterPaste,
                  MF_BYCOMMAND | (p_.checks.openFolderAfterPaste ? MF_CHECKED : MF_UNCHECKED));
}

void ItemCommands::PmDocTreePopup() {
    Selected focused;
    const bool hasFocused = FocusedItem(focused);
    const OpeningItems opening =
        hasFocused ? OpeningItemsFor(ToLower(Trim(ExtensionOf(focused.path))), p_.elevated()) : OpeningItems{true, true, true, true};
    const bool folder = hasFocused && DirectoryExists(focused.path);
    const bool allPage = p_.pages.activePage() == 0;
    FillTreeMenu(p_.menus.PmDocTree, [&](UINT id) {
        switch (id) {
            case kCmdRunItemAsAdmin: return opening.runAsAdmin;
            case kCmdOpenWith: return opening.openWith;
            case kCmdOpenAsAdmin: return opening.openAsAdmin;
            case kCmdOpenWithAdmin: return opening.openWithAdmin;
            case kCmdPaste: case kCmdOpenAfterPaste: return folder;
            case kCmdDeleteSelected: case kCmdDeleteAll: return allPage;
            default: return true;
        }
    });
    CheckMenuItem(p_.menus.PmDocTree, kCmdOpenAfterPaste,
                  MF_BYCOMMAND | (p_.checks.openFolderAfterPaste ? MF_CHECKED : MF_UNCHECKED));
    recent_.clear();
    if (hasFocused) AddRecentMenu(focused);
}

std::vector<RecentEntry> ItemCommands::RecentEntriesFor(const Selected& focused) const {
    std::vector<RecentEntry> entries;
    std::wstring f = focused.path;
    if (focused.hasChildren && DirectoryExists(f)) f = GroupKey(f, p_.launcher().context().myDocuments);
    if (!DirectoryExists(f)) return entries;
    // One trailing backslash more or less names the same folder.
    const std::wstring folder = NormaliseFolder(ToLower(Trim(f)));
    const ShownRecord& record = p_.session.record();
    RealResolutionMachine machine;
    auto consider = [&](const RecordNode& node) {
        if (!record.items.Valid(node.data.itemIndex)) return;
        const std::wstring t = ShortcutTarget(record.items.At(node.data.itemIndex).path, machine);
        if (t.empty() || DirectoryExists(t)) return;  // files only
        if (NormaliseFolder(ToLower(Trim(FolderPartOf(t)))) == folder) entries.push_back({node.caption, t, node.imageIndex});
    };
    size_t walked = 0;
    for (const auto& top : record.docs.top()) {
        if (++walked > kMaxEntries) break;
        if (top->children.empty()) consider(*top);
        for (const auto& child : top->children) consider(*child);
    }
    return entries;
}

bool ItemCommands::MeasureRecentImage(MEASUREITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU || item.itemID < kCmdRecentFirst || item.itemID - kCmdRecentFirst >= recent_.size())
        return false;
    int w = 16, h = 16;
    if (HIMAGELIST strip = p_.session.strip()) ImageList_GetIconSize(strip, &w, &h);
    item.itemWidth = static_cast<UINT>(w);
    item.itemHeight = static_cast<UINT>(h);
    return true;
}

bool ItemCommands::DrawRecentImage(const DRAWITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU || item.itemID < kCmdRecentFirst || item.itemID - kCmdRecentFirst >= recent_.size())
        return false;
    if (HIMAGELIST strip = p_.session.strip())
        ImageList_Draw(strip, recent_[item.itemID - kCmdRecentFirst].image, item.hDC, item.rcItem.left, item.rcItem.top,
                       ILD_TRANSPARENT);
    return true;
}

void ItemCommands::AddRecentMenu(const Selected& focused) {
    recent_ = RecentEntriesFor(focused);
    if (recent_.empty() || !table_) return;
    HMENU submenu = CreatePopupMenu();
    for (size_t i = 0; i < recent_.size() && i < kMaxEntries; ++i) {
        const UINT id = kCmdRecentFirst + static_cast<UINT>(i);
        AppendMenuW(submenu, MF_STRING, id, recent_[i].caption.c_str());
        MENUITEMINFOW image{};
        image.cbSize = sizeof(image);
        image.fMask = MIIM_BITMAP;
        image.hbmpItem = HBMMENU_CALLBACK;  // drawn from the icon strip as the entry shows
        SetMenuItemInfoW(submenu, id, FALSE, &image);
        table_->Add(id, [this, i](UINT) {
            if (i < recent_.size()) p_.launcher().OpenPathOrAddress(recent_[i].target);
        });
    }
    InsertMenuW(p_.menus.PmDocTree, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), L"Recent");
}

}  // namespace tv
