#pragma once
// The record list `LbRECs`: the records of the record folder, several of which can be selected
// at once; the focused selected entry names the record shown.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/record_session.h"

namespace tv {

class RecordList : public RecordListView {
public:
    void Attach(HWND listBox) { list_ = listBox; }
    HWND hwnd() const { return list_; }

    // Lists the records of `folder` in their order. The entry naming the file of
    // `currentRecordPath` (exact comparison) is selected. True when the folder holds a record.
    bool Read(const std::wstring& folder, const std::wstring& currentRecordPath) override;
    int Count() const override;
    std::wstring Name(int index) const override;
    // The entry that names the record shown: the focused entry when it is selected, else -1.
    int SelectedIndex() const override;
    // Selects entry `index` alone (none when out of range).
    void SelectByIndex(int index);
    // Selects the entry whose name + ".tolvane" equals the file name of `recordPath` (both
    // trimmed); the others are deselected. Answers its index, or -1.
    int SelectCurrent(const std::wstring& recordPath) override;
    std::vector<std::wstring> SelectedNames() const;
    void SelectAll();

    // Told after every selection the program makes and every reading of the list, so what
    // names the selected record follows it; the user's own clicks show the record instead.
    std::function<void()> selectionChanged;

private:
    void Select(int index);
    void Changed() const {
        if (selectionChanged) selectionChanged();
    }
    HWND list_ = nullptr;
};

}  // namespace tv
