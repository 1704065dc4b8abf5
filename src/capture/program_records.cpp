#include "capture/program_records.h"

#include <commctrl.h>

#include <algorithm>

#include "base/constants.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "capture/program_arguments.h"
#include "capture/shell_windows.h"

namespace tv {

namespace {
const wchar_t kPhotoViewer[] = L"Windows Photo Viewer";
std::wstring Key(const std::wstring& s) { return ToLower(Trim(s)); }

std::vector<TopNode> RowsOf(HWND listView) {
    std::vector<TopNode> rows;
    int count = static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) rows.push_back({ListViewText(listView, i, 1), ListViewText(listView, i, 0)});
    return rows;
}
}  // namespace

std::wstring ListViewText(HWND listView, int row, int column) {
    wchar_t buf[1024] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buf;
    item.cchTextMax = 1024;
    SendMessageW(listView, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return buf;
}

bool AlreadyInRecord(const std::wstring& path, const std::wstring& title,
                     const std::vector<TopNode>& topNodes) {
    if (Trim(path).empty()) return true;
    std::wstring normal = CommandLineProgramPath(path);
    if (IsPhotoViewer(normal)) normal = kPhotoViewer;
    const std::wstring key = Key(normal), titleKey = Key(title);
    int visited = 0;
    for (const auto& node : topNodes) {
        if (++visited > kMaxWalk) break;
        if (Key(node.itemPath) != key) continue;
        if (Key(FileNameOf(node.itemPath)) == L"explorer.exe" && Key(node.caption) != titleKey) continue;
        return true;
    }
    return false;
}

std::vector<TopNode> TopNodesOf(const ShownRecord& record) {
    std::vector<TopNode> nodes;
    for (const auto& node : record.docs.top()) {
        if (static_cast<int>(nodes.size()) >= kMaxWalk) break;
        if (record.items.Valid(node->data.itemIndex))
            nodes.push_back({record.items.At(node->data.itemIndex).path, node->caption});
    }
    return nodes;
}

std::wstring PathDisplayName(const std::wstring& path) {
    std::wstring name = FileNameOf(path);
    size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

namespace {
// `name` is a document's file name as Key gives it.
bool TitleNames(const std::wstring& titleKey, const std::wstring& name) {
    return !name.empty() && titleKey.find(name) != std::wstring::npos;
}

bool TitleHolds(const std::wstring& titleKey, const std::wstring& document) {
    return TitleNames(titleKey, Key(FileNameOf(document)));
}

bool Holds(const std::vector<std::wstring>& list, const std::wstring& path) {
    return std::any_of(list.begin(), list.end(), [&path](const std::wstring& p) { return Key(p) == Key(path); });
}
}  // namespace

std::vector<std::wstring> DocumentsOfProgram(const ProgramPair& found, const std::vector<std::wstring>& recent,
                                             const std::function<bool(const std::wstring&)>& exists) {
    std::vector<std::wstring> documents;
    for (const std::wstring& line : found.commandLines)
        for (const std::wstring& d : DocumentArguments(line, found.path, exists))
            if (!Holds(documents, d)) documents.push_back(d);
    if (found.windows.empty()) return documents;
    // Every recent document's name is looked for in every window's title: each is keyed once.
    std::vector<std::wstring> names;
    names.reserve(recent.size());
    for (const std::wstring& d : recent) names.push_back(Key(FileNameOf(d)));
    for (const ProgramWindow& window : found.windows) {
        const std::wstring titleKey = Key(window.title);
        for (size_t i = 0; i < recent.size(); ++i)
            if (TitleNames(titleKey, names[i]) && !Holds(documents, recent[i])) documents.push_back(recent[i]);
    }
    return documents;
}

void PlaceProgramWindows(ShownRecord& record, const std::wstring& path, const std::wstring& title,
                         const std::vector<ProgramWindow>& windows) {
    if (windows.empty()) return;
    RecordNode* program = nullptr;
    for (const auto& node : record.docs.top())
        if (record.items.Valid(node->data.itemIndex) && Key(record.items.At(node->data.itemIndex).path) == Key(path) &&
            Key(node->caption) == Key(title))
            program = node.get();
    if (!program) return;
    record.items.At(program->data.itemIndex).place = windows.front().place;
    for (const ProgramWindow& window : windows) {
        const std::wstring titleKey = Key(window.title);
        TMyDoc* shown = nullptr;
        size_t longest = 0;
        for (const auto& child : program->children) {
            if (!record.items.Valid(child->data.itemIndex)) continue;
            TMyDoc& item = record.items.At(child->data.itemIndex);
            const size_t length = FileNameOf(item.path).size();
            if (length > longest && TitleHolds(titleKey, item.path)) {
                shown = &item;
                longest = length;
            }
        }
        if (shown && !shown->place.known) shown->place = window.place;
    }
}

bool RecordRunningPrograms(const std::vector<ProgramPair>& programs, ProgramRecordSink& sink) {
    bool added = false;
    for (const auto& pair : programs) {
        try {
            std::wstring title = Trim(pair.title), path = pair.path;
            if (sink.AlreadyInRecord(path, title)) continue;
            added = true;
            if (title.empty()) title = PathDisplayName(path);
            if (IsPhotoViewer(path)) path = kPhotoViewer;
            sink.SetLastAdded(path);
            sink.AddProgram(pair, path, title);
            sink.StepGauge();
        } catch (...) {
            // A failure inside one pair skips only that pair.
        }
    }
    return added;
}

bool AppendRunningProgramRows(HWND listView, const std::vector<ProgramPair>& programs,
                              const ProgramRowServices& services) {
    bool added = false;
    for (const auto& pair : programs) {
        if (AlreadyInRecord(pair.path, pair.title, RowsOf(listView))) continue;
        if (services.inStartupFilterList(pair.path)) continue;
        if (Key(FileNameOf(pair.path)) == kExeName) continue;
        services.stepGauge();
        std::wstring caption = pair.title.empty() ? services.displayName(pair.path) : pair.title;
        std::wstring shown = IsPhotoViewer(pair.path) ? kPhotoViewer : pair.path;
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = const_cast<wchar_t*>(caption.c_str());
        item.iImage = services.iconIndex(pair.path);
        int row = static_cast<int>(SendMessageW(listView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (row < 0) continue;
        LVITEMW sub{};
        sub.iSubItem = 1;
        sub.pszText = const_cast<wchar_t*>(shown.c_str());
        SendMessageW(listView, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
        added = true;
    }
    return added;
}

}  // namespace tv
