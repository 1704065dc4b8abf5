#include "ui/main/commands/system_commands.h"

#include <shellapi.h>
#include <shlobj.h>

#include <utility>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "base/constants.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "base/strings.h"
#include "ui/message_pump.h"

namespace tv {


std::wstring StartupToolPath(const std::wstring& documents) {
    return documents + L"\\Brindlemark\\Brindlemark.exe";
}

std::wstring GuidePath(const std::wstring& programFolder) { return programFolder + L"\\" + kGuideFileName; }

std::wstring RestartRefusedText(int helperExitCode) {
    if (helperExitCode == kElevationRefused)
        return L"Tolvane was not restarted as administrator because the elevation was refused.";
    return std::wstring(L"Tolvane could not be restarted as administrator: \"") + kElevationProgram +
           L"\" is missing from the program folder or could not start it.";
}

namespace {

struct FolderRow {
    UINT id;
    int csidl;
};
constexpr FolderRow kFolderRows[] = {
    {kCmdMyComputer, CSIDL_DRIVES},       {kCmdMyDocuments, CSIDL_PERSONAL},     {kCmdDesktopFolder, CSIDL_DESKTOPDIRECTORY},
    {kCmdRecycleBin, CSIDL_BITBUCKET},    {kCmdControlPanel, CSIDL_CONTROLS},    {kCmdNetworkPlaces, CSIDL_NETWORK},
    {kCmdHistory, CSIDL_HISTORY},         {kCmdRecentDocuments, CSIDL_RECENT},
};

struct PageRow {
    UINT id;
    const char* commandLine;
};
constexpr PageRow kPageRows[] = {
    {kCmdAddRemovePrograms, "RunDLL32.exe Shell32.dll,Control_RunDLL AppWiz.cpl,,0"},
    {kCmdSystemProperties, "RunDLL32.exe Shell32.dll,Control_RunDLL SysDm.cpl,,0"},
    {kCmdSystemHardware, "RunDLL32.exe Shell32.dll,Control_RunDLL SysDm.cpl,,2"},
    {kCmdSystemAdvanced, "RunDLL32.exe Shell32.dll,Control_RunDLL SysDm.cpl,,3"},
    {kCmdDisplayDesktop, "RunDLL32.exe Shell32.dll,Control_RunDLL desk.cpl,,0"},
    {kCmdDisplaySettings, "RunDLL32.exe Shell32.dll,Control_RunDLL desk.cpl,,3"},
    {kCmdDisplayScreenSaver, "RunDLL32.exe Shell32.dll,Control_RunDLL desk.cpl,,1"},
};

class RealSystem : public SystemCalls {
public:
    void ToggleDesktop() override { CallShellApplication(L"ToggleDesktop"); }

    void ClearRecentDocuments() override {
        SHAddToRecentDocs(SHARD_PATHA, nullptr);
        // Some shells ignore the empty request; the list is the Recent folder's shortcuts, so
        // those go too. Its subfolders belong to the taskbar's jump lists and stay.
        wchar_t recent[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_RECENT, nullptr, SHGFP_TYPE_CURRENT, recent)) || !recent[0]) return;
        const std::wstring folder = recent;
        WIN32_FIND_DATAW found;
        FindOwner find = FindOwnerOf(FindFirstFileW((folder + L"\\*.lnk").c_str(), &found));
        if (!find) return;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(find.get(), &found));
    }

    void EndSession(UINT flags, bool enableShutdownPrivilege) override {
        if (enableShutdownPrivilege && IsNtPlatform()) EnableShutdownPrivilege();
        ExitWindowsEx(flags, 0);
    }

    std::wstring FolderPath(int csidl) override {
        char path[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
        return FromAnsi(path);
    }

    int RunElevationHelper(HWND owner, const std::wstring& helper) override {
        if (!FileExists(helper)) return kElevationImpossible;
        SHELLEXECUTEINFOW run{};
        run.cbSize = sizeof(run);
        run.hwnd = owner;
        run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
        run.lpVerb = L"open";
        run.lpFile = helper.c_str();
        run.nShow = SW_SHOWNORMAL;
        if (!ShellExecuteExW(&run) || !run.hProcess) return kElevationImpossible;
        UniqueHandle process(run.hProcess);
        // The elevation prompt may wait for the user; the window keeps painting meanwhile but
        // takes no input, so no second restart can start.
        const bool wasEnabled = owner && IsWindowEnabled(owner);
        if (wasEnabled) EnableWindow(owner, FALSE);
        while (MsgWaitForMultipleObjects(1, &run.hProcess, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
            KeepResponsive();
        if (wasEnabled) EnableWindow(owner, TRUE);
        DWORD code = kElevationImpossible;
        GetExitCodeProcess(run.hProcess, &code);
        return static_cast<int>(code);
    }

private:
    static bool IsNtPlatform() {
        OSVERSIONINFOW version{};
        version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        return GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
    }

    // Failures are ignored: the shutdown request goes out in any case.
    static void EnableShutdownPrivilege() {
        HANDLE raw = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return;
        UniqueHandle token(raw);
        TOKEN_PRIVILEGES wanted{};
        if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &wanted.Privileges[0].Luid)) return;
        wanted.PrivilegeCount = 1;
        wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        TOKEN_PRIVILEGES previous{};
        DWORD previousSize = sizeof(previous);
        AdjustTokenPrivileges(token.get(), FALSE, &wanted, sizeof(previous), &previous, &previousSize);
    }
};

}  // namespace

SystemCalls& RealSystemCalls() {
    static RealSystem system;
    return system;
}

void SystemCommands::AddCommands(CommandTable& table) {
    for (const FolderRow& row : kFolderRows) {
        const int csidl = row.csidl;
        table.Add(row.id, [this, csidl](UINT) { p_.launcher().OpenSpecialFolder(csidl); });
    }
    for (const PageRow& row : kPageRows) {
        const std::string line = row.commandLine;
        table.Add(row.id, [this, line](UINT) { p_.shell().WinExec(line, SW_SHOWNORMAL); });
    }
    table.Add(kCmdTaskManager, [this](UINT) { p_.shell().ExecuteW(nullptr, L"open", L"taskmgr", L"", L"", SW_SHOWNORMAL); });
    table.Add(kCmdShowDesktop, [this](UINT) { p_.system().ToggleDesktop(); });
    table.Add(kCmdFavorites, [this](UINT) { Favorites2Click(); });
    table.Add(kCmdClearRecentDocuments, [this](UINT) { ClearMyRecentDocuments1Click(); });
    table.Add(kCmdLogOff, [this](UINT) {
        Power(L"Are you sure you want to quick log off computer without save the change?", kLogOffFlags, false);
    });
    table.Add(kCmdRestart, [this](UINT) {
        Power(L"Are you sure you want to quick restart computer without save the change?", kRestartFlags, true);
    });
    table.Add(kCmdShutDown, [this](UINT) {
        Power(L"Are you sure you want to quick shut down computer without save the change?", kShutDownFlags, true);
    });
    table.Add(kCmdPromptBeforeExecuting, [this](UINT) { Promptbeforeexecuting1Click(); });
    table.Add(kCmdRunAsAdmin, [this](UINT) { RunAsAdministrator1Click(); });
    table.Add(kCmdRunTolvaneAsAdmin, [this](UINT) { RunAsAdministrator1Click(); });
    table.Add(kCmdAlwaysRunAsAdmin, [this](UINT) { AlwaysrunTolvaneatadmin1Click(); });
    table.Add(kCmdStartup, [this](UINT) { CurrentUser1Click(); });
    table.Add(kCmdHomePage, [this](UINT) { OpenGuide(L"Open", SW_SHOWNORMAL); });
    table.Add(kCmdOnlineGuide, [this](UINT) { OpenGuide(L"open", SW_SHOWMAXIMIZED); });
}

void SystemCommands::SetCheck(UINT id, bool on) {
    for (HMENU menu : {p_.menus.MainMenu1, p_.menus.PopupMenuMore})
        if (menu) CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void SystemCommands::ShowMenuState() {
    SetCheck(kCmdPromptBeforeExecuting, p_.checks.promptBeforeShutdown);
    SetCheck(kCmdAlwaysRunAsAdmin, p_.checks.alwaysRunAsAdmin);
    if (p_.elevated() && p_.menus.PopupMenuMore) DeleteMenu(p_.menus.PopupMenuMore, kCmdRunTolvaneAsAdmin, MF_BYCOMMAND);
}

bool SystemCommands::RunAsAdministrator1Click() {
    const int code = p_.system().RunElevationHelper(p_.owner(), p_.programFolder() + L"\\" + kElevationProgram);
    if (code != kElevationStarted) {
        p_.prompter().Tell(p_.owner(), RestartRefusedText(code));
        return false;
    }
    p_.user.WriteBool(keys::kDefault, keys::kRunAsAdmin, true);
    p_.close();
    return true;
}

void SystemCommands::AlwaysrunTolvaneatadmin1Click() {
    p_.checks.alwaysRunAsAdmin = !p_.checks.alwaysRunAsAdmin;
    p_.common.WriteBool(keys::kDefault, keys::kAlwaysRunAsAdmin, p_.checks.alwaysRunAsAdmin);
    SetCheck(kCmdAlwaysRunAsAdmin, p_.checks.alwaysRunAsAdmin);
    if (p_.checks.alwaysRunAsAdmin && !p_.elevated()) RunAsAdministrator1Click();
}

void SystemCommands::Promptbeforeexecuting1Click() {
    // Stored and shown only: the power commands ask every time.
    p_.checks.promptBeforeShutdown = !p_.checks.promptBeforeShutdown;
    p_.user.WriteBool(keys::kDefault, keys::kPromptBeforeShutdown, p_.checks.promptBeforeShutdown);
    SetCheck(kCmdPromptBeforeExecuting, p_.checks.promptBeforeShutdown);
}

void SystemCommands::ClearMyRecentDocuments1Click() {
    if (p_.prompter().Ask(p_.owner(), L"Are you sure you want to clear My Recent Documents?"))
        p_.system().ClearRecentDocuments();
}

void SystemCommands::Favorites2Click() {
    // Without a folder from the shell there is nothing to show: an empty path would open a
    // default folder instead.
    const std::wstring folder = p_.system().FolderPath(CSIDL_FAVORITES);
    if (!folder.empty()) p_.launcher().ExploreFolder(folder);
}

void SystemCommands::CurrentUser1Click() {
    const std::wstring tool = StartupToolPath(p_.system().FolderPath(CSIDL_PERSONAL));
    if (FileExists(tool)) p_.shell().ExecuteW(p_.owner(), L"open", tool, nullptr, nullptr, SW_SHOWNORMAL);
    // The tool has no download address of its own: the guide says what it is and where it goes.
    else OpenGuide(L"open", SW_SHOWNORMAL);
}

void SystemCommands::Power(const wchar_t* question, UINT flags, bool privilege) {
    if (p_.prompter().Ask(p_.owner(), question)) p_.system().EndSession(flags, privilege);
}

void SystemCommands::OpenGuide(const wchar_t* verb, int show) {
    p_.shell().ExecuteW(p_.owner(), verb, GuidePath(p_.programFolder()), nullptr, nullptr, show);
}

}  // namespace tv
