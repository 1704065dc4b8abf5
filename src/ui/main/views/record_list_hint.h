#pragma once
// The record list's hint over the entry under the mouse: when its record file was last written
// and how many items it holds, above the list's own hint. Away from the entries the list's own
// hint shows alone. The list's text never changes.
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "ui/window_text.h"

namespace tv {

class RecordList;
class WindowHints;

class RecordListHint {
public:
    // `folder` gives the record folder the entries lie in.
    RecordListHint(const RecordList& list, WindowHints& hints, std::wstring listHint,
                   std::function<std::wstring()> folder);
    RecordListHint(const RecordListHint&) = delete;
    RecordListHint& operator=(const RecordListHint&) = delete;

    // Starts following the mouse over the list, whose hint is the list's own until then.
    void Attach();
    // The mouse at `point` (list client coordinates): the hint follows the entry under it.
    void MouseAt(POINT point);

private:
    LRESULT ListMessage(HWND list, UINT msg, WPARAM wParam, LPARAM lParam);
    // The hint of the entry `name`; the list's own hint when its file cannot be read.
    std::wstring HintOf(const std::wstring& name);

    struct Counted {
        FILETIME written{};
        int items = 0;
    };
    const RecordList& list_;
    WindowHints& hints_;
    const std::wstring listHint_;
    std::function<std::wstring()> folder_;
    std::wstring hovered_;  // the entry under the mouse; empty for none
    // Item counts by record path, kept while the file is unchanged: the mouse passes the same
    // entries again and again.
    std::map<std::wstring, Counted> counted_;
    // The list's own procedure replaced: a system subclass costs server round trips per message
    // under Wine, and mouse moves come in streams.
    ControlHook hook_;
};

}  // namespace tv
