#pragma once
// The item launcher: turns the path of a record item back into something running on the
// desktop, and the openers it is built from. Everything it starts is handed to the shell
// through ShellCalls; it never waits for what it started.
#include <windows.h>

#include <functional>
#include <string>

#include "base/process_services.h"
#include "capture/path_resolution.h"
#include "capture/shell_windows.h"
#include "replay/open64link.h"
#include "replay/shell_calls.h"

namespace tv {

// What the launcher needs to know of the running program. Fixed once the main window exists.
struct LauncherContext {
    bool startupReplay = false;        // started with "/run" or "/run_admin": no messages at all
    std::wstring versionName;          // "windows xp", "windows vista", "windows 7"...
    std::wstring programFolder;        // folder of the running executable, trailing backslash
    std::wstring dataFolder;           // My Documents + "\TolVane", no trailing backslash
    std::wstring myDocuments;          // for the group key of web addresses and file addresses
    HWND owner = nullptr;              // the main window: owner of shell windows and messages
    std::function<void()> showHelp;    // the program's own help command
};

// The context of this running program: its start-up state, its folders and the user's
// documents folder.
LauncherContext ProgramLauncherContext(HWND owner, std::function<void()> showHelp);

class ItemLauncher : public ShellPlaceOpener {
public:
    // `machine` answers the environment and the plain file and folder tests; `services` the
    // WOW64 mode, the redirection guard and the drive-checked existence tests.
    ItemLauncher(ShellCalls& shell, ProcessServices& services, ResolutionMachine& machine, LauncherContext context);

    // Opens one record item again. `siteHomePage` opens a web address at its site's home
    // page. False when the operation failed on the way (the 64-bit hand-off file could not be
    // written): a replay stops there. A path that no longer exists is not such a failure.
    bool OpenItem(const std::wstring& path, bool siteHomePage = false);

    // Enter and Space in the record views: the shell places by their titles first, then the
    // path. A shell place the table opened is done. Never fails and never shows a message.
    void QuickOpen(const std::wstring& path, const std::wstring& title);

    // ShellExecuteW "open" with WOW64 redirection off (except under "Program Files (x86)");
    // no association brings up Open With, other errors are shown when `showErrors` is set.
    void OpenDocument(const std::wstring& file, const std::wstring& parameters, bool showErrors);
    // The shell's Open With dialog for a file; nothing for an ".exe".
    void OpenWithDialog(const std::wstring& file);
    // An address in the browser, handed over as ANSI text. Old Internet Explorers (before 7)
    // get it as a parameter of their program.
    void OpenWebPage(const std::wstring& address);
    // A folder in Explorer, "explore" verb.
    void ExploreFolder(const std::wstring& folder);
    // A folder, a file or a web address; a local path that no longer exists opens nothing.
    void OpenPathOrAddress(const std::wstring& text);
    // The default action of a path; failures are ignored.
    void OpenDefaultAction(const std::wstring& path);
    // Hands a shortcut to the 64-bit link opener: the hand-off file, then the opener. False
    // when the file could not be written (nothing is started then).
    bool HandOffTo64BitOpener(const std::wstring& shortcut);

    // The shell places of the shell-window table.
    void OpenSpecialFolder(int csidl) override;
    void ShowInPictureViewer(const std::wstring& path) override;
    void RunControlPanelPage(const std::wstring& title) override;

    const LauncherContext& context() const { return context_; }
    ShellCalls& shell() { return shell_; }

private:
    bool OpenItemSteps(std::wstring p, bool siteHomePage);
    void OpenShortcut(const std::wstring& p);
    bool DirectoryAt(const std::wstring& path);
    bool FileAt(const std::wstring& path);
    std::wstring Expand(const std::wstring& s);
    bool ShowsErrors() const { return !context_.startupReplay; }

    ShellCalls& shell_;
    ProcessServices& services_;
    ResolutionMachine& machine_;
    LauncherContext context_;
};

// "6.0000" and the like: a decimal number with an optional fraction. False for anything else.
bool ParseVersionNumber(const std::wstring& text, double& value);

// The browser program of an open command: the text between its first two double quotes, empty
// when there are not two.
std::wstring BrowserProgramOf(const std::wstring& command);

// The picture viewer's program and parameters for a file: "rundll32.exe" and the expanded
// shimgvw.dll entry followed by the file.
struct ProgramAndParameters {
    std::wstring program, parameters;
};
ProgramAndParameters PictureViewerCommand(const std::wstring& file, const EnvLookup& env);

}  // namespace tv
