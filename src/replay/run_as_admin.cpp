#include "replay/run_as_admin.h"

#include <utility>

#include "app/shell_links.h"

namespace tv {

TRunAsAdmin::TRunAsAdmin(ShellCalls& shell, std::function<bool()> test)
    : shell_(shell), test_(test ? std::move(test) : std::function<bool()>(IsRunningAsAdmin)) {}

bool TRunAsAdmin::IsAdministrator() {
    if (!tested_) {
        tested_ = true;
        isAdministrator_ = test_();
    }
    return isAdministrator_;
}

bool TRunAsAdmin::ElevatedLaunch(HWND owner, const std::wstring& file, const std::wstring& parameters) {
    return shell_.ExecuteElevated(owner, file, parameters);
}

}  // namespace tv
