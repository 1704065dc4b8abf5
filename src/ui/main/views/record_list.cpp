#include "ui/main/views/record_list.h"

#include "base/path_rules.h"
#include "base/redraw.h"
#include "base/strings.h"
#include "records/record_library.h"

namespace tv {

bool RecordList::Read(const std::wstring& folder, const std::wstring& currentRecordPath) {
    std::vector<std::wstring> names = ListRecordNames(folder);
    std::wstring current = FileNameOf(currentRecordPath);
    int found = -1;
    {
        RedrawSuspender quiet(list_);
        SendMessageW(list_, LB_RESETCONTENT, 0, 0);
        for (size_t i = 0; i < names.size(); ++i) {
            SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i].c_str()));
            if (found < 0 && names[i] + kRecordExtension == current) found = static_cast<int>(i);
        }
    }
    if (found >= 0) Select(found);
    Changed();
    return !names.empty();
}

int RecordList::Count() const { return list_ ? static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0)) : 0; }

std::wstring RecordList::Name(int index) const {
    LRESULT length = SendMessageW(list_, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return L"";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(list_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

int RecordList::SelectedIndex() const {
    if (!list_ || Count() == 0) return -1;
    int caret = static_cast<int>(SendMessageW(list_, LB_GETCARETINDEX, 0, 0));
    if (caret >= 0 && SendMessageW(list_, LB_GETSEL, caret, 0) > 0) return caret;
    int first = -1;
    SendMessageW(list_, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first));
    return static_cast<int>(SendMessageW(list_, LB_GETSELCOUNT, 0, 0)) > 0 ? first : -1;
}

void RecordList::SelectByIndex(int index) {
    Select(index);
    Changed();
}

void RecordList::Select(int index) {
    SendMessageW(list_, LB_SETSEL, FALSE, -1);
    if (index < 0 || index >= Count()) return;
    SendMessageW(list_, LB_SETSEL, TRUE, index);
    SendMessageW(list_, LB_SETCARETINDEX, index, FALSE);
}

int RecordList::SelectCurrent(const std::wstring& recordPath) {
    std::wstring current = Trim(FileNameOf(recordPath));
    int count = Count();
    for (int i = 0; i < count; ++i) {
        if (Trim(Name(i)) + kRecordExtension == current) {
            // After a save has read the list again it is the one selection already: clearing
            // and selecting it again would only repaint the list. It is still scrolled to.
            if (SelectedIndex() != i || SendMessageW(list_, LB_GETSELCOUNT, 0, 0) != 1) {
                SelectByIndex(i);
                return i;
            }
            SendMessageW(list_, LB_SETCARETINDEX, i, FALSE);
            Changed();
            return i;
        }
    }
    SelectByIndex(-1);
    return -1;
}

std::vector<std::wstring> RecordList::SelectedNames() const {
    std::vector<std::wstring> names;
    int count = static_cast<int>(SendMessageW(list_, LB_GETSELCOUNT, 0, 0));
    if (count <= 0) return names;
    std::vector<int> indexes(static_cast<size_t>(count));
    count = static_cast<int>(SendMessageW(list_, LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(indexes.data())));
    for (int i = 0; i < count; ++i) names.push_back(Name(indexes[static_cast<size_t>(i)]));
    return names;
}

void RecordList::SelectAll() {
    if (Count() == 0) return;
    SendMessageW(list_, LB_SETSEL, TRUE, -1);
    Changed();
}

}  // namespace tv
