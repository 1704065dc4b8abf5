#pragma once
// The running programs, found through the visible, unowned top-level windows with a title.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "records/window_place.h"

namespace tv {

struct WindowEntry {
    std::wstring title;  // at most 128 characters
    HWND window;
};

// One window of a listed program: its whole title and its place.
struct ProgramWindow {
    std::wstring title;
    WindowPlace place;
};

struct ProgramPair {
    std::wstring path;   // a program's full path, or a replacement name of a shell place
    std::wstring title;  // the part of the window title that names the program
    // Every window of the program, the listed one first, and the command lines of its
    // processes, each once.
    std::vector<ProgramWindow> windows = {};
    std::vector<std::wstring> commandLines = {};
    bool operator==(const ProgramPair& o) const { return path == o.path && title == o.title; }
};

// What a scan asks of the desktop.
class DesktopWindows {
public:
    virtual ~DesktopWindows() = default;
    // Visible top-level windows without an owner, top of the Z-order first.
    virtual std::vector<WindowEntry> TopLevelWindows() = 0;
    virtual DWORD ProcessIdOf(HWND window) = 0;
    // The executable of a process; empty when it cannot be opened or read.
    virtual std::wstring ProgramPathOf(DWORD processId) = 0;
    // Where a window stands, and the command line of a process; unknown and empty unless a
    // desktop says otherwise.
    virtual WindowPlace PlaceOf(HWND) { return {}; }
    virtual std::wstring CommandLineOf(DWORD) { return {}; }
};

class RealDesktopWindows : public DesktopWindows {
public:
    std::vector<WindowEntry> TopLevelWindows() override;
    DWORD ProcessIdOf(HWND window) override;
    std::wstring ProgramPathOf(DWORD processId) override;
    WindowPlace PlaceOf(HWND window) override;
    std::wstring CommandLineOf(DWORD processId) override;

private:
    KnownMonitors monitors_;
};

// The start-up filter: true when the path is a program started with Windows, which a
// recording leaves out. It is told the window's title too, to list what it held back.
using StartupFilter = std::function<bool(const std::wstring& path, const std::wstring& title)>;
bool NoStartupFilter(const std::wstring& path, const std::wstring& title);

// The running-program scan. `ownPath` is this program's executable, never listed.
std::vector<ProgramPair> ScanRunningPrograms(DesktopWindows& desktop, const std::wstring& ownPath,
                                             const StartupFilter& isStartupProgram = NoStartupFilter);

}  // namespace tv
