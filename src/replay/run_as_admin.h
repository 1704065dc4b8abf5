#pragma once
// Administrator rights of this process, and starting a program elevated.
#include <windows.h>

#include <functional>
#include <string>

#include "replay/shell_calls.h"

namespace tv {

// One for the life of the main window. The administrator test asks the token once.
class TRunAsAdmin {
public:
    // `test` answers the administrator question; the token of this process by default.
    explicit TRunAsAdmin(ShellCalls& shell, std::function<bool()> test = {});

    // True when this process holds the Administrators group; asked once, then remembered.
    bool IsAdministrator();

    // Starts `file` with `parameters` through the "runas" verb: Windows asks for elevation.
    // True when the shell accepted the request; a refused elevation is false.
    bool ElevatedLaunch(HWND owner, const std::wstring& file, const std::wstring& parameters);

private:
    ShellCalls& shell_;
    std::function<bool()> test_;
    bool tested_ = false;
    bool isAdministrator_ = false;
};

}  // namespace tv
