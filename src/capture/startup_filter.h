#pragma once
// The start-up filter list: programs Windows starts at log-on that a recording held back, one
// row each, for the user to add by hand if wanted. The main window shows the rows in its list.
#include <functional>
#include <string>
#include <vector>

#include "capture/running_programs.h"
#include "capture/windows_start.h"

namespace tv {

struct StartupFilterRow {
    std::wstring title;  // the title of the window that was held back
    std::wstring path;   // the program's path
};

class StartupFilterList {
public:
    const std::vector<StartupFilterRow>& rows() const { return rows_; }
    // A recording by hand starts from an empty list; Smart Record keeps it.
    void Clear() { rows_.clear(); }

    // Whether a row holds the path (blanks around and case ignored).
    bool HoldsPath(const std::wstring& path) const;
    // Whether a running program's window is left out of the recording: only with the filter on,
    // never this program itself, and only for a program Windows starts. Such a program gets one
    // row, titled with the first of its windows met.
    bool Filter(const std::wstring& path, const std::wstring& title, bool filterOn, TWindowsStartMan& startMan);

private:
    std::vector<StartupFilterRow> rows_;
};

// The filter a recording's running-program scan asks. `filterOn` ("Filter Windows Start") is
// asked at every window, so switching it takes effect at the next recording. Both objects must
// outlive the filter.
StartupFilter MakeStartupFilter(std::function<bool()> filterOn, TWindowsStartMan& startMan, StartupFilterList& list);

}  // namespace tv
