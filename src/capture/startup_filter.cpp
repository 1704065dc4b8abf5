#include "capture/startup_filter.h"

#include "base/constants.h"
#include "base/path_rules.h"
#include "base/strings.h"

namespace tv {

namespace {
std::wstring Key(const std::wstring& s) { return ToLower(Trim(s)); }
}  // namespace

bool StartupFilterList::HoldsPath(const std::wstring& path) const {
    std::wstring key = Key(path);
    for (const StartupFilterRow& row : rows_)
        if (Key(row.path) == key) return true;
    return false;
}

bool StartupFilterList::Filter(const std::wstring& path, const std::wstring& title, bool filterOn,
                               TWindowsStartMan& startMan) {
    if (!filterOn) return false;
    // The program starts itself with Windows to replay a record; it never hides from its own list.
    if (Key(FileNameOf(path)) == kExeName) return false;
    if (!startMan.IsStartedWithWindows(path)) return false;
    if (HoldsPath(path)) return true;
    rows_.push_back({title, path});
    return true;
}

StartupFilter MakeStartupFilter(std::function<bool()> filterOn, TWindowsStartMan& startMan, StartupFilterList& list) {
    return [filterOn = std::move(filterOn), &startMan, &list](const std::wstring& path, const std::wstring& title) {
        return list.Filter(path, title, filterOn(), startMan);
    };
}

}  // namespace tv
