#pragma once
// Commands into Windows itself: its folders and Control Panel pages, the desktop, the recent
// documents, logging off and shutting down, the start-up tool, the program's guide, and
// restarting the program with administrator rights.
#include <windows.h>

#include <functional>
#include <string>

#include "app/options.h"
#include "replay/item_launcher.h"
#include "replay/shell_calls.h"
#include "ui/dialogs/prompter.h"
#include "ui/main/commands/command_table.h"
#include "ui/main/menus/main_menus.h"

namespace tv {

class SettingsStore;

// What these commands ask of Windows beyond the launcher's shell calls; a test's records them.
class SystemCalls {
public:
    virtual ~SystemCalls() = default;
    // "Shell.Application" ToggleDesktop: the desktop shows, or the windows come back.
    virtual void ToggleDesktop() = 0;
    // Empties the recent-documents list.
    virtual void ClearRecentDocuments() = 0;
    // ExitWindowsEx(flags, 0), the shutdown privilege enabled first when asked. Fire and forget.
    virtual void EndSession(UINT flags, bool enableShutdownPrivilege) = 0;
    // SHGetFolderPathA of `csidl`; empty when the shell gives none.
    virtual std::wstring FolderPath(int csidl) = 0;
    // Starts the elevation program `helper` with no parameters and waits for it to end: its exit
    // code, kElevationImpossible when it could not be started at all (missing, say).
    virtual int RunElevationHelper(HWND owner, const std::wstring& helper) = 0;
};

SystemCalls& RealSystemCalls();

// The power commands' flags as ExitWindowsEx takes them.
constexpr UINT kLogOffFlags = EWX_LOGOFF | EWX_FORCE;
constexpr UINT kRestartFlags = EWX_REBOOT | EWX_FORCE;
constexpr UINT kShutDownFlags = EWX_FORCE | EWX_POWEROFF;

// The start-up tool: "Brindlemark.exe" in "Brindlemark" under `documents`, and where to get it.
std::wstring StartupToolPath(const std::wstring& documents);
// The program's guide beside `programFolder`.
std::wstring GuidePath(const std::wstring& programFolder);
// What the user is told when the elevated restart did not happen, by the helper's exit code.
std::wstring RestartRefusedText(int helperExitCode);

struct SystemCommandParts {
    std::function<HWND()> owner;
    std::function<ItemLauncher&()> launcher;
    std::function<ShellCalls&()> shell;
    std::function<SystemCalls&()> system;
    std::function<Prompter&()> prompter;
    SettingsStore& user;
    SettingsStore& common;
    MenuChecks& checks;
    MainMenus& menus;
    std::function<bool()> elevated;  // this is the elevated instance
    std::function<void()> close;     // closes the main window, which ends this instance
    std::function<std::wstring()> programFolder;  // where the helper and the guide are
};

class SystemCommands {
public:
    explicit SystemCommands(SystemCommandParts parts) : p_(std::move(parts)) {}

    void AddCommands(CommandTable& table);
    // The check marks of "Prompt before executing" and "Always run Tolvane as admin" as loaded,
    // and no restart item in an elevated instance.
    void ShowMenuState();

    // Restart elevated. True when the elevated instance started and this window is closing;
    // false when it did not: "runasadmin" stays as it was and the user has been told why.
    bool RunAsAdministrator1Click();
    void AlwaysrunTolvaneatadmin1Click();
    void Promptbeforeexecuting1Click();
    void ClearMyRecentDocuments1Click();
    void Favorites2Click();
    void CurrentUser1Click();

private:
    // The question, then the request, whatever "Prompt before executing" says.
    void Power(const wchar_t* question, UINT flags, bool privilege);
    void OpenGuide(const wchar_t* verb, int show);
    void SetCheck(UINT id, bool on);

    SystemCommandParts p_;
};

}  // namespace tv
