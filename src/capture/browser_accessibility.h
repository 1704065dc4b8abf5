#pragma once
// Pages of today's browsers. Chromium browsers and Firefox show the address in an editable text
// of their own drawing, no window of its own, so it is read through the accessible objects
// (MSAA's IAccessible) the browsers give their windows. Wine 8 serves MSAA within and across
// processes; its UI Automation client object is not registered there.
#include <windows.h>

#include <string>
#include <vector>

#include "capture/browser_pages.h"

namespace tv {

// True for the frame windows of a browser read this way: class "Chrome_WidgetWin_1" of
// Chrome, Edge, Brave, Opera or Vivaldi, class "MozillaWindowClass" of Firefox. `processName`
// is the executable's file name, in any case.
bool IsAccessibleBrowserWindow(const std::wstring& className, const std::wstring& processName);

// The page title in a browser's window title: "Page - Google Chrome" gives "Page".
std::wstring PageTitleOfWindowTitle(const std::wstring& windowTitle);

// The page of one browser window, read on the calling thread (COM initialised): the window's
// name and the value of its first editable text outside the page content. False when there is
// no such text or it holds no real page. The window's answer is awaited at most `limitMs`.
bool ReadAccessiblePage(HWND window, DWORD limitMs, PagePair& page);

// Appends the pages whose address `pages` does not hold yet.
void AppendNewPages(std::vector<PagePair>& pages, const std::vector<PagePair>& more);

// Reads the pages of the browser windows on the desktop, a reader thread for each browser
// process, each window awaited at most the limit: a browser that does not answer in time is
// left to its reader with the rest of its windows, and the recording goes on.
class AccessibleBrowserPages {
public:
    static constexpr DWORD kDefaultLimitMs = 3000;
    explicit AccessibleBrowserPages(DWORD limitMs = kDefaultLimitMs) : limitMs_(limitMs) {}
    // The pages of the browser windows, read at the first call and the same ever after: a
    // recording asks in its scan and again in its record step, and walking a browser's tree
    // across processes is the dearest part of both.
    const std::vector<PagePair>& Pages();
    // The browser windows on the desktop now, in window order.
    static std::vector<HWND> BrowserWindows();
    // The pages of `windows`: a process's pages in its windows' order, the processes in the order
    // of their first window.
    std::vector<PagePair> Read(const std::vector<HWND>& windows) const;

private:
    DWORD limitMs_;
    bool read_ = false;
    std::vector<PagePair> pages_;
};

}  // namespace tv
