#include "replay/item_launcher.h"

#include <shellapi.h>
#include <shlobj.h>

#include <utility>

#include "app/folders.h"
#include "app/startup.h"
#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "capture/add_operations.h"

namespace tv {

namespace {

constexpr wchar_t kPictureViewerEntry[] = L"%SystemRoot%\\system32\\shimgvw.dll,ImageView_Fullscreen";
constexpr wchar_t kLibrariesFolder[] = L"%AppData%\\Microsoft\\Windows\\Libraries";

bool Contains(const std::wstring& text, const std::wstring& part) {
    return ToLower(text).find(ToLower(part)) != std::wstring::npos;
}

bool Succeeded(INT_PTR shellResult) { return shellResult > 32; }

// The error of a failed ShellExecuteW. Some shells fail without setting the thread's last
// error; their return value then says what went wrong.
DWORD FailureCode(INT_PTR shellResult, DWORD lastError) {
    if (lastError != ERROR_SUCCESS) return lastError;
    if (shellResult == SE_ERR_NOASSOC) return ERROR_NO_ASSOCIATION;
    return shellResult > 0 ? static_cast<DWORD>(shellResult) : ERROR_NOT_ENOUGH_MEMORY;
}

}  // namespace

bool ParseVersionNumber(const std::wstring& text, double& value) {
    std::wstring t = Trim(text);
    double whole = 0, scale = 1;
    bool digits = false, point = false;
    for (wchar_t c : t) {
        if (c == L'.' && !point) {
            point = true;
        } else if (c >= L'0' && c <= L'9') {
            digits = true;
            if (point) {
                scale /= 10;
                whole += (c - L'0') * scale;
            } else {
                whole = whole * 10 + (c - L'0');
            }
        } else {
            return false;
        }
    }
    if (!digits) return false;
    value = whole;
    return true;
}

std::wstring BrowserProgramOf(const std::wstring& command) {
    size_t open = command.find(L'"');
    if (open == std::wstring::npos) return {};
    size_t close = command.find(L'"', open + 1);
    if (close == std::wstring::npos) return {};
    return command.substr(open + 1, close - open - 1);
}

ProgramAndParameters PictureViewerCommand(const std::wstring& file, const EnvLookup& env) {
    std::wstring entry = ExpandFirstVariable(kPictureViewerEntry, env);
    return {L"rundll32.exe", entry + L" " + file};
}

LauncherContext ProgramLauncherContext(HWND owner, std::function<void()> showHelp) {
    LauncherContext context;
    context.startupReplay = Startup().switches.replayMode;
    context.versionName = Startup().versionName;
    context.programFolder = FolderOf(ModulePath()) + L"\\";
    context.dataFolder = DataFolder();
    context.myDocuments = SpecialFolderPath(CSIDL_PERSONAL);
    context.owner = owner;
    context.showHelp = std::move(showHelp);
    return context;
}

ItemLauncher::ItemLauncher(ShellCalls& shell, ProcessServices& services, ResolutionMachine& machine,
                           LauncherContext context)
    : shell_(shell), services_(services), machine_(machine), context_(std::move(context)) {}

std::wstring ItemLauncher::Expand(const std::wstring& s) { return ExpandEnvironment(s, machine_); }

bool ItemLauncher::DirectoryAt(const std::wstring& path) { return machine_.DirectoryExists(path); }

bool ItemLauncher::FileAt(const std::wstring& path) {
    DWORD attributes = machine_.Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ItemLauncher::OpenItem(const std::wstring& path, bool siteHomePage) {
    try {
        return OpenItemSteps(path, siteHomePage);
    } catch (...) {
        return false;
    }
}

bool ItemLauncher::OpenItemSteps(std::wstring p, bool siteHomePage) {
    p = ReplaceAll(p, L"%20", L" ");
    const std::wstring trimmed = Trim(p);
    if (StartsWithNoCase(trimmed, L"libraries")) {
        const std::wstring folder = QuotedArgument(FolderArgument(Expand(kLibrariesFolder) + trimmed.substr(9)));
        shell_.ExecuteW(context_.owner, L"Open", L"Explorer", folder.c_str(), nullptr, SW_SHOWNORMAL);
        return true;
    }
    const std::wstring e = ToLower(ExtensionOf(p));
    if (IsPhotoViewer(p)) {
        OpenDocument(L"rundll32.exe", Expand(kPictureViewerEntry), ShowsErrors());
        return true;
    }
    if (e == L".lnk") {
        if (services_.IsWow64Mode() && context_.versionName != L"windows xp") return HandOffTo64BitOpener(p);
        OpenShortcut(p);
        return true;
    }
    if (services_.FolderExists(p)) {
        ExploreFolder(NormaliseFolder(p));
        return true;
    }
    if (Trim(ToLower(FileNameOf(p))) == L"hh.exe") {
        if (context_.showHelp) context_.showHelp();
        return true;
    }
    if (services_.FileExists(p)) {
        OpenDocument(p, L"", ShowsErrors());
        return true;
    }
    const bool network = p.compare(0, 2, L"\\\\") == 0 || p.compare(0, 2, L"//") == 0;
    if (!network && p.size() >= 2 && p[1] == L':') {
        if (ShowsErrors()) shell_.ShowMessage(context_.owner, L"Windows cannot find '" + p + L"'.");
        return true;
    }
    OpenWebPage(siteHomePage ? L"http://" + GroupKey(p, context_.myDocuments) : p);
    return true;
}

void ItemLauncher::OpenShortcut(const std::wstring& p) {
    services_.WithoutRedirection([&] {
        if (context_.versionName == L"windows 7" || context_.versionName == L"windows vista") {
            std::wstring parameters = L"/c explorer " + QuotedArgument(p);
            shell_.ExecuteW(nullptr, L"open", L"command", parameters.c_str(), nullptr, SW_HIDE);
        } else {
            OpenDocument(p, L"", ShowsErrors());
        }
        return true;
    });
}

bool ItemLauncher::HandOffTo64BitOpener(const std::wstring& shortcut) {
    if (!DirectoryExists(context_.dataFolder) && !CreateFolderTree(context_.dataFolder)) return false;
    if (!WriteTextLines(context_.dataFolder + L"\\" + kOpen64LinkFileName, {shortcut})) return false;
    shell_.ExecuteW(nullptr, L"open", context_.programFolder + kOpen64LinkProgram, nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}

void ItemLauncher::QuickOpen(const std::wstring& path, const std::wstring& title) {
    try {
        if (path.empty()) return;
        std::wstring p = path, t = title;
        // Whatever the table recognises it has opened; a replacement name it leaves behind
        // ("Windows Photo Viewer", "System") is no address to open as well.
        if (ShellWindowTable(t, p, ShellTableMode::Launch, this) != 0) return;
        if (t == L"\x684c\x9762") {  // the Desktop
            shell_.MinimizeAll();
            return;
        }
        if (t == L"\x7f51\x4e0a\x90bb\x5c45") {  // My Network Places
            OpenSpecialFolder(CSIDL_NETWORK);
            return;
        }
        if (t == L"\x63a7\x5236\x9762\x677f") {  // Control Panel
            shell_.WinExec("rundll32.exe   shell32.dll,Control_RunDLL", SW_RESTORE);
            return;
        }
        const std::wstring e = ToLower(ExtensionOf(p));
        if (Contains(p, L"http://") || Contains(p, L"https://")) {
            OpenPathOrAddress(p);
            return;
        }
        if (Contains(p, L"res://")) return;
        if (e.empty() && p.find(L':') != std::wstring::npos) {
            if (DirectoryAt(p)) OpenPathOrAddress(NormaliseFolder(p));
            return;
        }
        if (e == L".lnk") OpenDefaultAction(p);
        else OpenPathOrAddress(p);
    } catch (...) {
        // The keyboard entry says nothing about what it could not open.
    }
}

void ItemLauncher::OpenDocument(const std::wstring& file, const std::wstring& parameters, bool showErrors) {
    INT_PTR result = 0;
    DWORD error = ERROR_SUCCESS;
    auto execute = [&] {
        result = shell_.ExecuteW(nullptr, L"open", file, parameters.empty() ? nullptr : parameters.c_str(),
                                 nullptr, SW_SHOWNORMAL);
        // Read before the redirection is restored: that call may set its own error.
        if (!Succeeded(result)) error = FailureCode(result, shell_.LastError());
        return Succeeded(result);
    };
    // The 32-bit program folder is the one place where redirection must stay on: its files
    // are seen there only through it.
    if (Contains(file, L"Program Files (x86)")) execute();
    else services_.WithoutRedirection(execute);
    if (Succeeded(result)) return;
    if (error == ERROR_NO_ASSOCIATION) OpenWithDialog(file);
    else if (showErrors) shell_.ShowMessage(context_.owner, SystemMessageText(error));
}

void ItemLauncher::OpenWithDialog(const std::wstring& file) {
    if (Trim(ToLower(ExtensionOf(file))) == L".exe") return;
    std::wstring parameters = L"shell32.dll,OpenAs_RunDLL " + file;
    shell_.ExecuteW(context_.owner, L"open", L"rundll32.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void ItemLauncher::OpenWebPage(const std::wstring& address) {
    const std::wstring program = BrowserProgramOf(shell_.BrowserCommand());
    bool oldBrowser = false;
    std::wstring version;
    double number = 0;
    if (ToUpper(program).find(L"IEXPLORE") != std::wstring::npos && shell_.InternetExplorerVersion(version) &&
        ParseVersionNumber(version, number))
        oldBrowser = number < 7;
    const std::string ansiAddress = ToAnsi(address);
    if (oldBrowser) shell_.ExecuteA("open", ToAnsi(program), ansiAddress.c_str(), nullptr, SW_SHOW);
    else shell_.ExecuteA("open", ansiAddress, "", "", SW_SHOW);
}

void ItemLauncher::ExploreFolder(const std::wstring& folder) {
    shell_.ExecuteW(context_.owner, L"explore", FolderArgument(folder), nullptr, nullptr, SW_SHOWNORMAL);
}

void ItemLauncher::OpenPathOrAddress(const std::wstring& text) {
    const std::wstring b = ToLower(ReplaceAll(text, L"/", L"\\"));
    if (DirectoryAt(b)) {
        ExploreFolder(b);
        return;
    }
    if (!Contains(b, L"http:") && !Contains(b, L"https:") && b.find(L':') != std::wstring::npos && !FileAt(b))
        return;
    if (text.find(L':') != std::wstring::npos) {
        std::wstring x = DirectoryAt(text) ? FolderArgument(NormaliseFolder(text)) : text;
        shell_.ExecuteW(context_.owner, L"open", x, nullptr, nullptr, SW_SHOWNORMAL);
    } else {
        shell_.ExecuteW(context_.owner, L"open", L"http://" + text, nullptr, nullptr, SW_SHOWNORMAL);
    }
}

void ItemLauncher::OpenDefaultAction(const std::wstring& path) {
    shell_.ExecuteW(context_.owner, nullptr, path, nullptr, nullptr, SW_SHOWNORMAL);
}

void ItemLauncher::OpenSpecialFolder(int csidl) { shell_.OpenSpecialFolder(csidl); }

void ItemLauncher::ShowInPictureViewer(const std::wstring& path) {
    ProgramAndParameters command =
        PictureViewerCommand(path, [this](const std::wstring& name) { return machine_.EnvironmentVariable(name); });
    shell_.ExecuteW(context_.owner, L"open", command.program, command.parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void ItemLauncher::RunControlPanelPage(const std::wstring& title) {
    shell_.WinExec(ToAnsi(ControlPanelCommand(shell_.SystemFolder(), title)), SW_SHOWNORMAL);
}

}  // namespace tv
