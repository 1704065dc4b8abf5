#include "ui/main/views/record_list_hint.h"

#include <commctrl.h>
#include <windowsx.h>

#include "base/debug_log.h"
#include "records/record_file.h"
#include "records/record_library.h"
#include "ui/main/views/record_list.h"
#include "ui/main/frame/window_hints.h"

namespace tv {

namespace {

std::wstring Formatted(int (WINAPI* format)(LCID, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR, int), DWORD flags,
                       const SYSTEMTIME& time) {
    wchar_t text[128] = {};
    return format(LOCALE_USER_DEFAULT, flags, &time, nullptr, text, 128) > 0 ? text : L"";
}

int CountItems(const std::wstring& recordPath) {
    int items = 0;
    if (!VisitRecordItems(recordPath, [&](const std::wstring&, const std::wstring&) { ++items; })) return -1;
    return items;
}

// The hint of one record: its file's date and time in the user's formats and its item count,
// then the list's own hint on a line of its own.
std::wstring EntryHint(const SYSTEMTIME& written, int items, const std::wstring& listHint) {
    return Formatted(GetDateFormatW, DATE_SHORTDATE, written) + L" " +
           Formatted(GetTimeFormatW, TIME_NOSECONDS, written) + L", " + std::to_wstring(items) +
           (items == 1 ? L" item" : L" items") + L"\r\n" + listHint;
}

}  // namespace

RecordListHint::RecordListHint(const RecordList& list, WindowHints& hints, std::wstring listHint,
                               std::function<std::wstring()> folder)
    : list_(list), hints_(hints), listHint_(std::move(listHint)), folder_(std::move(folder)) {}

void RecordListHint::Attach() {
    hints_.Set(list_.hwnd(), listHint_);
    hook_.Hook(list_.hwnd(), [this](HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
        return ListMessage(list, msg, wParam, lParam);
    });
}

void RecordListHint::MouseAt(POINT point) {
    LRESULT hit = SendMessageW(list_.hwnd(), LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    // The high word says the point lies below the last entry.
    int index = HIWORD(hit) ? -1 : static_cast<int>(LOWORD(hit));
    // By name: the list read again may hold another record at the same place.
    std::wstring name = index < 0 ? L"" : list_.Name(index);
    if (name == hovered_) return;
    hovered_ = name;
    hints_.Set(list_.hwnd(), name.empty() ? listHint_ : HintOf(name));
}

std::wstring RecordListHint::HintOf(const std::wstring& name) {
    const std::wstring path = JoinPath(folder_(), name + kRecordExtension);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return listHint_;
    Counted& counted = counted_[path];
    if (CompareFileTime(&counted.written, &data.ftLastWriteTime) != 0) {
        counted.written = data.ftLastWriteTime;
        counted.items = CountItems(path);
    }
    FILETIME local{};
    SYSTEMTIME written{};
    if (counted.items < 0 || !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
        !FileTimeToSystemTime(&local, &written))
        return listHint_;
    return EntryHint(written, counted.items, listHint_);
}

LRESULT RecordListHint::ListMessage(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_MOUSEMOVE) {
        try {
            MouseAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        } catch (...) {
            LogSwallowed(L"the record list's hint");  // the hint shown stays; the list goes on
        }
    }
    return hook_.CallNext(list, msg, wParam, lParam);
}

}  // namespace tv
