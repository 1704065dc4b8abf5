#pragma once
#include <string>

namespace tv {

// Writes a shortcut file pointing at `target`, started in `workingFolder`.
bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target,
                    const std::wstring& workingFolder);

// True when this process runs with administrator rights.
bool IsRunningAsAdmin();

}  // namespace tv
