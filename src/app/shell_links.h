#pragma once
#include <windows.h>

#include <string>

namespace tv {

// Writes a shortcut file pointing at `target`, started in `workingFolder`.
bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target,
                    const std::wstring& workingFolder);
// The same, answering the system's code for what failed (S_OK when written).
HRESULT WriteShellLink(const std::wstring& linkPath, const std::wstring& target, const std::wstring& workingFolder);

// True when the groups hold the built-in Administrators group (S-1-5-32-544) for use. A group
// kept only to deny access, as in an administrator's token before elevation, grants nothing.
bool GroupsHoldAdministrators(const TOKEN_GROUPS& groups);

// True when this process runs with administrator rights: the groups of this thread's token, or
// of the process's token when the thread has none of its own.
bool IsRunningAsAdmin();

}  // namespace tv
