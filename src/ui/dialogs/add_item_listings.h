#pragma once
// What the add-item dialog lists besides the scans a recording shares: the installed programs
// behind the Start-menu shortcuts and the documents and folders of the Recent folder. Rows are
// worked out as plain values so the rules are tested without a list view.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "capture/path_resolution.h"
#include "capture/recent_documents.h"

namespace tv {

struct ListRow {
    std::wstring caption;
    std::wstring path;
    int image = 0;
};

using RowIcon = std::function<int(const std::wstring& path)>;
using RowHint = std::function<void(const std::wstring& text)>;

// One row per collected Start-menu entry whose program is an .exe, .msi, .bat, .cmd, .cpl or .msc
// other than the program's own; the caption is the entry's display name, the path its program.
std::vector<ListRow> InstalledProgramRows(const std::vector<std::wstring>& collected, ResolutionMachine& machine,
                                          const RowIcon& icon, const RowHint& hint, const std::function<bool()>& stop);

struct RecentRows {
    std::vector<ListRow> documents;
    std::vector<ListRow> folders;
};
// The Recent folder's entries, at most 5000.
std::vector<ListedEntry> RecentFolderEntries(const std::wstring& recentFolder, RecentFolderReader& reader);
// The visible files among `entries` of `recentFolder`, resolved to their targets; targets that
// cannot be read, are hidden or system files, or lie in a recycle bin give no row.
RecentRows RecentFolderRows(const std::wstring& recentFolder, const std::vector<ListedEntry>& entries,
                            ResolutionMachine& machine, const RowIcon& icon, const RowHint& hint,
                            const std::function<bool()>& stop);

// Appends rows to a report list view: the caption, then the path as first sub-item.
void AppendListRows(HWND listView, const std::vector<ListRow>& rows);

}  // namespace tv
