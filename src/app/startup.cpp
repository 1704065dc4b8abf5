#include "app/startup.h"

#include "app/settings_keys.h"
#include "base/debug_log.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "base/constants.h"
#include "app/folders.h"
#include "app/settings_store.h"
#include "app/shell_links.h"
#include "base/file_util.h"
#include "base/strings.h"

namespace tv {

namespace {
bool IsWindows7(const StartupState& s) { return s.versionName == L"windows 7"; }

void PinOnWindows7(FirstRunHost& host) {
    SettingsStore& user = host.UserSettings();
    int state = user.ReadInteger(keys::kInstall, keys::kPinToTaskBar, 0);
    if (state == 0) {
        user.WriteInteger(keys::kInstall, keys::kPinToTaskBar, 1);
    } else if (state == 1 && !host.RunningAsAdmin()) {
        user.WriteInteger(keys::kInstall, keys::kPinToTaskBar, 2);
        host.PinStartMenuShortcut();
    }
}
}  // namespace

StartupState& Startup() {
    static StartupState state;
    return state;
}

void RunFirstRunStep(FirstRunHost& host, StartupState& state) {
    host.ShowRunAsAdminItems(!state.switches.elevatedInstance);

    if (IsWindows7(state)) {
        try {
            PinOnWindows7(host);
        } catch (const SettingsWriteError&) {
        }
    }

    host.LoadAndApplyOptions();

    int records = host.ReadRecordList();
    int storedIndex = host.UserSettings().ReadInteger(keys::kDefault, keys::kSelectedRecord, 0);
    // Records deleted or moved away since can leave the index past the list: the first record
    // is shown then, as on a start with no index stored, rather than none.
    if (storedIndex < 0 || storedIndex >= records) storedIndex = 0;
    if (records > 0) {
        host.SelectRecord(storedIndex);
        host.ShowSelectedRecord();
        host.TakeCommandLineItems();
    }

    host.LayOut();
    Sleep(3);

    if (IsWindows7(state)) {
        try {
            host.EnsureSendToShortcut();
            if (state.switches.installLast) host.CheckForUpdate();
        } catch (...) {
            LogSwallowed(L"the Send To shortcut");  // the program starts without it
        }
    }

    if (records > 0) {
        int startupIndex = host.UserSettings().ReadInteger(keys::kDefault, keys::kStartupRecord, -1);
        if (startupIndex != -1 && state.switches.replayMode) host.ReplayStartupRecord();
        host.SelectRecord(storedIndex);
        host.ShowSelectedRecord();
    } else {
        std::wstring first = state.params.empty() ? L"" : state.params.front();
        if (state.params.empty() || first == L"/install" || first == L"/run")
            host.PressRecordButton();
        else
            host.RecordNewNow();
    }

    host.TakeCommandLineItems();

    int marker = host.CommonSettings().ReadInteger(keys::kStatus, keys::kOpenWindow, kResumeNone);
    if (marker != kResumeNone) {
        // The marker acts once: a later ordinary start must not reopen the dialog again.
        try {
            host.CommonSettings().WriteInteger(keys::kStatus, keys::kOpenWindow, kResumeNone);
        } catch (const SettingsWriteError&) {
        }
        // A value no dialog writes reopens nothing.
        if (marker >= kResumeAddItem && marker <= kResumeSettings) host.Reopen(marker);
    }

    state.startupPhase = false;
}

std::wstring StartMenuShortcutPath() {
    return SpecialFolderPath(CSIDL_COMMON_PROGRAMS) + L"\\" + kAppName + L"\\" + kAppName + L".lnk";
}

std::wstring SendToShortcutPath() {
    return SpecialFolderPath(CSIDL_SENDTO) + L"\\Tolvane.lnk";
}

void PinShortcut(const std::wstring& path) {
    // Nothing to pin when the installer made no Start-menu shortcut.
    if (!FileExists(path)) return;
    std::string ansi = ToAnsi(path);
    ShellExecuteA(nullptr, "TaskbarPin", ansi.c_str(), nullptr, nullptr, SW_SHOW);
    ShellExecuteA(nullptr, "StartPin", ansi.c_str(), nullptr, nullptr, SW_SHOW);
}

void CreateSendToShortcut(const std::wstring& exePath) {
    std::wstring link = SendToShortcutPath();
    if (FileExists(link)) return;
    CreateShortcut(link, exePath, FolderOf(exePath));
}

}  // namespace tv
