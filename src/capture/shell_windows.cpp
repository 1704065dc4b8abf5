#include "capture/shell_windows.h"

#include <shlobj.h>

#include <initializer_list>

#include "base/path_rules.h"
#include "base/strings.h"

namespace tv {

namespace {
const wchar_t kPhotoViewer[] = L"Windows Photo Viewer";

bool OneOf(const std::wstring& t, std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* n : names)
        if (t == n) return true;
    return false;
}

bool ContainsAny(const std::wstring& lowered, std::initializer_list<const wchar_t*> parts) {
    for (const wchar_t* p : parts)
        if (lowered.find(ToLower(p)) != std::wstring::npos) return true;
    return false;
}

bool IsControlPanelPage(const std::wstring& t) {
    return OneOf(t, {L"system", L"windows update", L"windows firewall", L"user accounts",
                     L"programs and features", L"network and sharing center"});
}

int OpenFolder(ShellTableMode mode, ShellPlaceOpener* opener, int csidl) {
    if (mode == ShellTableMode::Launch && opener) opener->OpenSpecialFolder(csidl);
    return 1;
}
}  // namespace

std::wstring ProgramTitle(const std::wstring& windowTitle) {
    size_t dash = windowTitle.rfind(L'-');
    return dash == std::wstring::npos ? windowTitle : Trim(windowTitle.substr(dash + 1));
}

int ShellWindowTable(std::wstring& title, std::wstring& path, ShellTableMode mode,
                     ShellPlaceOpener* opener) {
    const bool launch = mode == ShellTableMode::Launch && opener;
    std::wstring t = Trim(ToLower(title));
    std::wstring f = Trim(ToLower(FileNameOf(path)));
    bool shellHost = StartsWithNoCase(f, L"explorer.exe") || StartsWithNoCase(f, L"rundll32.exe") ||
                     StartsWithNoCase(f, L"dllhost.exe");
    if (shellHost) {
        if (OneOf(t, {L"my computer", L"computer", L"windows explorer"}))
            return OpenFolder(mode, opener, CSIDL_DRIVES);
        if (t == L"control panel") return OpenFolder(mode, opener, CSIDL_CONTROLS);
        if (t == L"recycle bin") return OpenFolder(mode, opener, CSIDL_BITBUCKET);
        if (OneOf(t, {L"my network places", L"network"})) return OpenFolder(mode, opener, CSIDL_NETWORK);
        if (t == L"printers and faxes") return OpenFolder(mode, opener, CSIDL_PRINTERS);
        if (ContainsAny(t, {L"windows Windows Photo Viewer", L"Windows Photo Viewer", L"photo viewer",
                            L"windows picture and fax viewer", L"picture and fax viewer"})) {
            if (launch) opener->ShowInPictureViewer(path);
            title = path = kPhotoViewer;
            return 2;
        }
        if (IsPhotoViewer(path)) {
            if (launch) opener->ShowInPictureViewer(path);
            return 1;
        }
        if (IsControlPanelPage(t)) {
            if (launch) opener->RunControlPanelPage(title);
            path = title;
            return 2;
        }
        return 0;
    }
    std::wstring p = Trim(ToLower(path));
    if (p.find(L"\\windows\\system32\\mmc.exe") != std::wstring::npos) {
        if (launch) opener->RunControlPanelPage(title);
        return 1;
    }
    if (IsControlPanelPage(t) && t == p) {
        if (launch) opener->RunControlPanelPage(title);
        path = title;
        return 1;
    }
    return 0;
}

std::wstring ControlPanelCommand(const std::wstring& systemFolder, const std::wstring& title) {
    return systemFolder + L"\\control.exe /name Microsoft." + ReplaceAll(title, L" ", L"");
}

}  // namespace tv
