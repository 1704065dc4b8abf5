#pragma once
// Rules for windows of the shell hosts (explorer.exe, rundll32.exe, dllhost.exe): how they are
// recorded and how they are opened again.
#include <string>

#include "base/path_rules.h"

namespace tv {

// The program title of a window: the text after the last "-", trimmed, or the whole title.
std::wstring ProgramTitle(const std::wstring& windowTitle);

// What opening a shell place in launch mode needs; the item launcher provides it.
class ShellPlaceOpener {
public:
    virtual ~ShellPlaceOpener() = default;
    virtual void OpenSpecialFolder(int csidl) = 0;
    virtual void ShowInPictureViewer(const std::wstring& path) = 0;
    virtual void RunControlPanelPage(const std::wstring& title) = 0;
};

enum class ShellTableMode { Capture, Launch };

// Classifies (title, path): 0 not a shell place, 1 a shell place kept as it is, 2 a shell
// place recorded under a replacement path (which `path` then holds; `title` may change too).
// In launch mode `opener` also opens the place.
int ShellWindowTable(std::wstring& title, std::wstring& path, ShellTableMode mode,
                     ShellPlaceOpener* opener = nullptr);

// "control.exe /name Microsoft.<title without blanks>" under the system folder.
std::wstring ControlPanelCommand(const std::wstring& systemFolder, const std::wstring& title);

}  // namespace tv
