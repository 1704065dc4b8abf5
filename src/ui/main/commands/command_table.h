// commands/: what the window's commands do, each feature adding its rows to the command table:
// the program's own, the record list's, search, recording and replay.

#pragma once
// The window's commands as rows {identifier, handler}. Each feature adds its own rows; a command
// with no row does nothing.
#include <windows.h>

#include <functional>
#include <map>

namespace tv {

class CommandTable {
public:
    using Handler = std::function<void(UINT id)>;
    void Add(UINT id, Handler handler) { rows_[id] = std::move(handler); }
    void AddRange(UINT first, UINT last, const Handler& handler) {
        for (UINT id = first; id <= last; ++id) rows_[id] = handler;
    }
    bool Has(UINT id) const { return rows_.count(id) != 0; }
    // Runs the row of `id`; false when there is none.
    bool Run(UINT id) const {
        auto row = rows_.find(id);
        if (row == rows_.end()) return false;
        row->second(id);
        return true;
    }

private:
    std::map<UINT, Handler> rows_;
};

}  // namespace tv
