#pragma once
// A desktop for the running-program scan: windows with titles, the processes behind them and
// their paths, all in memory.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "capture/running_programs.h"

namespace tvtest {

class FakeDesktop : public tv::DesktopWindows {
public:
    std::vector<tv::WindowEntry> windows;
    std::map<HWND, DWORD> processes;
    std::map<DWORD, std::wstring> paths;
    std::map<DWORD, std::wstring> commandLines;
    int pathReads = 0;
    // A window of a new process unless `pid` names one already added.
    HWND Add(const std::wstring& title, const std::wstring& path, DWORD pid = 0) {
        HWND h = reinterpret_cast<HWND>(static_cast<INT_PTR>(windows.size() + 1) * 4);
        windows.push_back({title, h});
        if (pid == 0) pid = static_cast<DWORD>(1000 + windows.size());
        processes[h] = pid;
        paths[pid] = path;
        return h;
    }
    std::vector<tv::WindowEntry> TopLevelWindows() override { return windows; }
    DWORD ProcessIdOf(HWND w) override { return processes[w]; }
    std::wstring ProgramPathOf(DWORD pid) override {
        ++pathReads;
        return paths[pid];
    }
    // Each window stands at a place of its own: its handle's number as its left edge.
    tv::WindowPlace PlaceOf(HWND w) override {
        tv::WindowPlace place;
        place.known = true;
        const LONG left = static_cast<LONG>(reinterpret_cast<INT_PTR>(w));
        place.normal = {left, 0, left + 100, 100};
        return place;
    }
    std::wstring CommandLineOf(DWORD pid) override { return commandLines[pid]; }
};

}  // namespace tvtest
