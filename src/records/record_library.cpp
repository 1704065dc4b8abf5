#include "records/record_library.h"

#include <shellapi.h>

#include <algorithm>

#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "records/record_file.h"
#include "records/record_tree.h"

namespace tv {

namespace {

constexpr wchar_t kMonths[12][4] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                    L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
// A day's numbers go on past 999 with one more digit; a folder would hold a million records of
// one day before the search gives up (and the save is refused rather than replacing one).
constexpr int kMaxSequence = 1000000;
// Silent, unasked, and undoable: the file goes to the Recycle Bin, never straight away.
constexpr FILEOP_FLAGS kRecycleFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;
static_assert(kRecycleFlags == 0x54, "the Recycle Bin flags changed");

// Characters `first`..`last` (1-based) of s, as many of them as exist.
std::wstring Chars(const std::wstring& s, size_t first, size_t last) {
    if (first > s.size()) return L"";
    return s.substr(first - 1, last - first + 1);
}

// The text from the last dot of the file name on; empty when it has none.
std::wstring ExtensionOf(const std::wstring& fileName) {
    size_t dot = fileName.rfind(L'.');
    return dot == std::wstring::npos ? L"" : fileName.substr(dot);
}

bool IsRecordFileName(const std::wstring& fileName) { return EqualsNoCase(ExtensionOf(fileName), kRecordExtension); }

bool PathPresent(const std::wstring& path) { return FileExists(path) || DirectoryExists(path); }

bool MoveReplacing(const std::wstring& from, const std::wstring& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return name;
    size_t end = folder.find_last_not_of(L'\\');
    size_t start = name.find_first_not_of(L'\\');
    std::wstring head = end == std::wstring::npos ? L"" : folder.substr(0, end + 1);
    std::wstring tail = start == std::wstring::npos ? L"" : name.substr(start);
    return head + L'\\' + tail;
}

std::wstring RecordSortKey(const std::wstring& recordPath) {
    std::wstring n = FileNameOf(recordPath);
    const size_t extLength = wcslen(kRecordExtension);
    n.resize(n.size() > extLength ? n.size() - extLength : 0);
    std::wstring m = ToLower(Chars(n, 1, 3));
    const std::wstring d = Chars(n, 5, 6), y = Chars(n, 8, 11);
    std::wstring s = Chars(n, 13, 15);
    // A number of four digits or more (the 1000th record of a day and on) sorts after every
    // three-digit one of that day, and by its value among its kind.
    const size_t digits = n.size() > 12 ? n.find_first_not_of(L"0123456789", 12) : std::wstring::npos;
    const size_t runLength = n.size() <= 12 ? 0 : (digits == std::wstring::npos ? n.size() : digits) - 12;
    if (runLength > 3) s = L"999" + std::wstring(runLength < 10 ? 10 - runLength : 0, L'0') + n.substr(12, runLength);
    for (int i = 0; i < 12; ++i) {
        if (m == ToLower(kMonths[i])) {
            m = Format(L"%02d", i + 1);
            break;
        }
    }
    return y + m + d + s;
}

std::wstring RecordName(const std::wstring& recordPath) {
    const std::wstring name = FileNameOf(recordPath);
    return name.substr(0, name.rfind(L'.'));
}

std::vector<std::wstring> ListRecordNames(const std::wstring& folder, const NextFolderEntry& next) {
    const std::wstring base = JoinPath(folder, L"");
    std::vector<std::pair<std::wstring, std::wstring>> keyed;  // sort key, name
    FolderEntry entry;
    for (int seen = 0; seen < kMaxListedEntries && next(entry); ++seen) {
        // "." and ".." are folders too; a folder is never a record, whatever its name.
        if (entry.folder || entry.name == L"." || !IsRecordFileName(entry.name)) continue;
        keyed.emplace_back(RecordSortKey(base + entry.name), RecordName(entry.name));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::wstring> names;
    names.reserve(keyed.size());
    for (auto& k : keyed) names.push_back(std::move(k.second));
    return names;
}

std::vector<std::wstring> ListRecordNames(const std::wstring& folder) {
    if (folder.empty()) return {};  // never the current drive's root
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(JoinPath(folder, L"*.*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return {};
    bool first = true;
    std::vector<std::wstring> names = ListRecordNames(folder, [&](FolderEntry& entry) {
        if (!first && !FindNextFileW(find, &fd)) return false;
        first = false;
        entry.name = fd.cFileName;
        entry.folder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        return true;
    });
    FindClose(find);
    return names;
}

std::wstring NewRecordName(const std::wstring& folder, const SYSTEMTIME& date,
                           const std::function<bool(const std::wstring&)>& exists) {
    if (folder.empty()) return L"";
    const int month = std::min(std::max(static_cast<int>(date.wMonth), 1), 12);
    const std::wstring stem = Format(L"%s %02d,%04d", kMonths[month - 1], date.wDay, date.wYear);
    auto candidate = [&](int n) { return JoinPath(folder, stem + Format(L"_%.3d", n) + kRecordExtension); };
    for (int n = 1; n <= kMaxSequence; ++n) {
        std::wstring path = candidate(n);
        if (!exists(path)) return path;
    }
    return L"";  // never a name that is taken: that record would be replaced
}

std::wstring NewRecordName(const std::wstring& folder) {
    if (folder.empty() || !CreateFolderTree(folder)) return L"";
    SYSTEMTIME today;
    GetLocalTime(&today);
    return NewRecordName(folder, today, [](const std::wstring& path) { return FileExists(path); });
}

std::wstring RenameTarget(const std::wstring& folder, const std::wstring& newName, const std::wstring& extension) {
    std::wstring target = JoinPath(folder, newName);
    if (!IsRecordFileName(newName)) target += extension;
    return target;
}

bool MoveRecordFiles(const std::wstring& source, const std::wstring& target) {
    if (EqualsNoCase(source, target)) return true;
    if (!MoveReplacing(source, target)) return false;
    const std::pair<std::wstring, std::wstring> companions[] = {
        {SelectionFilePath(source), SelectionFilePath(target)},
        {IconFilePath(source), IconFilePath(target)},
    };
    for (const auto& c : companions) {
        if (FileExists(c.first)) {
            if (!MoveReplacing(c.first, c.second)) return false;
        } else if (FileExists(c.second) && !DeleteFileW(c.second.c_str())) {
            // A replaced record's own icons or expansion would not fit the record now there.
            return false;
        }
    }
    return true;
}

bool RecycleFile(const std::wstring& path) {
    if (path.empty()) return false;
    const std::wstring from = path + L'\0';  // the list ends with two zeros; c_str() adds the second
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = kRecycleFlags;
    const int result = SHFileOperationW(&op);
    return result == 0 && !op.fAnyOperationsAborted && !PathPresent(path);
}

bool RecycleRecordFiles(const std::wstring& recordPath) {
    for (const std::wstring& path : {recordPath, SelectionFilePath(recordPath), IconFilePath(recordPath)}) {
        if (FileExists(path) && !RecycleFile(path)) return false;
    }
    return true;
}

}  // namespace tv
