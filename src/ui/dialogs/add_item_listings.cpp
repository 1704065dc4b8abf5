#include "ui/dialogs/add_item_listings.h"

#include <commctrl.h>

#include <algorithm>

#include "base/constants.h"
#include "base/path_rules.h"
#include "base/redraw.h"
#include "base/strings.h"

namespace tv {

namespace {
// The walks of folder listings stop after this many entries.
constexpr size_t kMaxListed = 5000;

bool IsListedProgram(const std::wstring& target) {
    static const wchar_t* const kKinds[] = {L".exe", L".msi", L".bat", L".cmd", L".cpl", L".msc"};
    static const wchar_t* const kOwn[] = {kExeName, L"tolvanesetup.exe", L"tolvaneuninstall.exe"};
    const std::wstring name = ToLower(FileNameOf(target));
    const std::wstring ext = ToLower(ExtensionOf(target));
    bool kind = false;
    for (const wchar_t* k : kKinds) kind = kind || ext == k;
    for (const wchar_t* own : kOwn)
        if (name == own) return false;
    return kind;
}
}  // namespace

std::vector<ListRow> InstalledProgramRows(const std::vector<std::wstring>& collected, ResolutionMachine& machine,
                                          const RowIcon& icon, const RowHint& hint, const std::function<bool()>& stop) {
    std::vector<ListRow> rows;
    for (const std::wstring& entry : collected) {
        if (stop()) break;
        try {
            const std::wstring target = ProgramPathOfCommand(ShortcutTarget(entry, machine), machine);
            hint(target);
            if (!IsListedProgram(target)) continue;
            rows.push_back({DisplayNameOfPath(entry), target, icon(target)});
        } catch (...) {
            // An entry that cannot be resolved gives no row; the others still do.
        }
    }
    return rows;
}

std::vector<ListedEntry> RecentFolderEntries(const std::wstring& recentFolder, RecentFolderReader& reader) {
    return reader.List(FolderPrefix(recentFolder), kMaxListed);
}

RecentRows RecentFolderRows(const std::wstring& recentFolder, const std::vector<ListedEntry>& entries,
                            ResolutionMachine& machine, const RowIcon& icon, const RowHint& hint,
                            const std::function<bool()>& stop) {
    RecentRows rows;
    const std::wstring prefix = FolderPrefix(recentFolder);
    for (const ListedEntry& entry : entries) {
        if (stop()) break;
        if (entry.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN)) continue;
        try {
            const std::wstring target = ProgramPathOfCommand(ShortcutTarget(prefix + entry.name, machine), machine);
            if (target.empty() || IsSkippedDocument(target, machine)) continue;
            hint(target);
            const bool folder = machine.DirectoryExists(target);
            const int image = folder && ToLower(ExtensionOf(target)) != L".lnk" ? 0 : icon(target);
            (folder ? rows.folders : rows.documents).push_back({DisplayNameOfPath(target), target, image});
        } catch (...) {
            // An entry that cannot be read gives no row.
        }
    }
    return rows;
}

void AppendListRows(HWND listView, const std::vector<ListRow>& unsorted) {
    // A sorting list view looks for each new row's place from its first row, which makes a long
    // listing cost the square of its length. Into an empty list the rows go already in order,
    // with the list's sorting off meanwhile.
    std::vector<ListRow> rows = unsorted;
    std::stable_sort(rows.begin(), rows.end(),
                     [](const ListRow& a, const ListRow& b) { return lstrcmpiW(a.caption.c_str(), b.caption.c_str()) < 0; });
    const LONG_PTR style = GetWindowLongPtrW(listView, GWL_STYLE);
    const bool bulk = SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0) == 0 && (style & LVS_SORTASCENDING);
    RedrawSuspender quiet(bulk ? listView : nullptr);
    if (bulk) {
        SetWindowLongPtrW(listView, GWL_STYLE, style & ~LVS_SORTASCENDING);
        SendMessageW(listView, LVM_SETITEMCOUNT, rows.size(), 0);
    }
    for (const ListRow& r : rows) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = const_cast<wchar_t*>(r.caption.c_str());
        item.iImage = r.image;
        const int row = static_cast<int>(SendMessageW(listView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (row < 0) continue;
        LVITEMW sub{};
        sub.iSubItem = 1;
        sub.pszText = const_cast<wchar_t*>(r.path.c_str());
        SendMessageW(listView, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
    }
    if (bulk) SetWindowLongPtrW(listView, GWL_STYLE, style);
}

}  // namespace tv
