#pragma once
// The commands on the items of the shown record: the record trees' menu and keys. They open
// items, put their paths or files on the clipboard, copy files into folder items and remove
// items from the record. The rules they follow are plain functions, tested without a window.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/record_session.h"
#include "ui/main/commands/command_table.h"
#include "ui/main/views/record_list.h"
#include "ui/main/views/record_pages.h"

namespace tv {

class ItemLauncher;
class ShellCalls;
class Prompter;
class SettingsStore;
struct MainMenus;

// ---- rules -----------------------------------------------------------------------------------

// The folder part of a path with its trailing backslash ("C:\a\b.txt" gives "C:\a\"); the path
// itself when it holds no backslash.
std::wstring FolderPartOf(const std::wstring& path);
// What "Open file location" opens: an existing folder itself, anything else its folder part.
std::wstring LocationToOpen(const std::wstring& path, bool isFolder);
// What "Copy file location" puts on the clipboard: a file's folder part; a folder node with
// children stands for its group (`groupKey`); any other folder is itself.
std::wstring LocationToCopy(const std::wstring& path, bool isFolder, bool hasChildren, const std::wstring& groupKey);
// Where "Paste" copies `source` into the folder item `folder`: the folder, a backslash unless it
// ends with one, and the source's file name.
std::wstring PasteDestination(const std::wstring& folder, const std::wstring& source);
// True when a Recent-folder shortcut whose target is `target` leads to the item path `path` (both
// lower-cased and trimmed): the same path, one of them with a trailing backslash, or a shortcut of
// the links folder `linksFolder` (lower-cased) named like the target.
bool RecentEntryLeadsTo(const std::wstring& target, const std::wstring& path, const std::wstring& linksFolder);
// The clipboard file list of `paths`: a DROPFILES header with wide names, each ended by a NUL,
// and one more NUL after the last.
std::vector<BYTE> FileListBlock(const std::vector<std::wstring>& paths);

// Which opening commands the trees' menu offers for an item with extension `extension`
// (lower-cased, trimmed), in an instance that runs elevated or not.
struct OpeningItems {
    bool runAsAdmin = false, openWith = false, openAsAdmin = false, openWithAdmin = false;
};
OpeningItems OpeningItemsFor(const std::wstring& extension, bool elevated);

// A "Recent" entry of the trees' menu: a file of the record that lies in the focused folder.
struct RecentEntry {
    std::wstring caption, target;
    int image = 0;
};

// ---- shared by the item commands -------------------------------------------------------------

// The item behind a selected node: its path, the node's caption, whether the node has children.
struct SelectedItem {
    std::wstring path, title;
    bool hasChildren = false;
    int itemIndex = -1;
};
// The items behind the selected nodes of the active tree, in selection order.
std::vector<SelectedItem> SelectedItemsOf(RecordPages& pages, const ShownRecord& record);
// Copies `source` to `destination` through the shell, which asks its own questions; false when
// the copy failed or the user stopped it.
bool ShellCopy(HWND owner, const std::wstring& source, const std::wstring& destination);

// Adds the row of `id` to `table`: a failure of `handler` ends it where it is, quietly, and
// what it did stays done.
void AddQuietCommand(CommandTable& table, UINT id, std::function<void()> handler, const wchar_t* what);

// ---- the commands ----------------------------------------------------------------------------

class ItemCommands {
public:
    struct Parts {
        HWND& window;
        RecordPages& pages;
        RecordSession& session;
        RecordList& records;
        Prompter*& prompter;
        SettingsStore& user;
        MenuChecks& checks;
        MainMenus& menus;
        std::function<ItemLauncher&()> launcher;
        std::function<ShellCalls&()> shell;      // for the elevated launches
        std::function<bool()> elevated;          // the instance runs as administrator
        std::function<void()> showSelectedRecord;
        std::function<void()> openSelected;      // "&Open"
        std::function<std::wstring(const std::wstring& address)> pageTitle;  // empty when none
    };
    explicit ItemCommands(Parts parts) : p_(std::move(parts)) {}
    const Parts& parts() const { return p_; }

    // The rows of the trees' menu.
    void AddCommands(CommandTable& table);
    // A key pressed in a record tree; true when it was one of the trees' keys and was acted on.
    bool TreeKeyDown(HWND tree, UINT key);
    // Before the trees' menu opens: what it offers for the focused item of the active tree.
    void PmDocTreePopup();

    void MnOpenDIr22Click();
    void OpenWith2Click();
    void Runasadministrator322Click();
    void OpenAsAdmin1Click();
    void OpenWithasadmin2Click();
    void MnExpandAllClick() { ExpandAll(TVE_EXPAND); }
    void CollapseAll1Click() { ExpandAll(TVE_COLLAPSE); }
    void MnDeleteSelectedClick();
    void MnDeleteAllClick();
    void CopyFile1Click();
    void CopyFileName1Click();
    void CopyContainingFolder1Click();
    void PasteFile1Click();
    void CopyFile2Click();
    void Openfilelocationafterpaste1Click();
    // The images of the "Recent" entries, drawn from the record's icon strip; false for any
    // other menu item.
    bool MeasureRecentImage(MEASUREITEMSTRUCT& item) const;
    bool DrawRecentImage(const DRAWITEMSTRUCT& item) const;
    // The "Recent" entries the menu offered when it last opened.
    const std::vector<RecentEntry>& recentEntries() const { return recent_; }

private:
    using Selected = SelectedItem;
    std::vector<Selected> SelectedItems() const { return SelectedItemsOf(p_.pages, p_.session.record()); }
    // Files of the record that lie in the focused folder item `focused`.
    std::vector<RecentEntry> RecentEntriesFor(const Selected& focused) const;
    // Puts the "Recent" submenu first in the trees' menu when it has entries.
    void AddRecentMenu(const Selected& focused);
    // The focused node of the active tree; false when there is none.
    bool FocusedItem(Selected& item) const;
    void ExpandAll(UINT how);
    // Hands `path` to the program's elevation helper, as one argument.
    void OpenThroughAdminHelper(ItemLauncher& launcher, const std::wstring& path);
    // Writes the record after a removal and shows it again.
    void SaveAndShowAgain();
    void SelectAllTopAndChildren(HWND tree);
    bool SetClipboardText(const std::wstring& text);

    Parts p_;
    CommandTable* table_ = nullptr;  // where the "Recent" entries get their rows
    std::vector<RecentEntry> recent_;
};

}  // namespace tv
