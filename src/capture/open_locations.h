#pragma once
// The places a recording keeps besides programs: folders shown in Explorer windows, pages
// shown in the shell's browser windows (both from the shell's window collection) and pages of
// other browsers.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "capture/browser_pages.h"
#include "base/process_services.h"
#include "records/record_tree.h"

namespace tv {

struct LocationPair {
    std::wstring location;  // a folder or file path, a network path or a web address
    std::wstring title;
    bool operator==(const LocationPair& o) const { return location == o.location && title == o.title; }
};

// One window of the shell's window collection, seen as a browser.
class ShellBrowserWindow {
public:
    virtual ~ShellBrowserWindow() = default;
    virtual std::wstring LocationURL() = 0;  // empty for virtual folders
    virtual bool HasDocument() = 0;
    // The document's "title" property; false when it cannot be read.
    virtual bool DocumentTitle(std::wstring& title) = 0;
};

class ShellWindowCollection {
public:
    virtual ~ShellWindowCollection() = default;
    virtual int Count() = 0;
    // The window at `index` as a browser; null when there is none or it is no browser.
    virtual std::unique_ptr<ShellBrowserWindow> Item(int index) = 0;
};

// The shell's collection kept from one scan to the next: making it asks Explorer, which costs
// more than the scan itself. Owned by the window, so it goes before COM does.
class ShellWindowsHold {
public:
    ShellWindowsHold();
    ~ShellWindowsHold();
    ShellWindowsHold(const ShellWindowsHold&) = delete;
    ShellWindowsHold& operator=(const ShellWindowsHold&) = delete;

private:
    friend class TShellWindows;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The shell's own collection (CLSID_ShellWindows). Empty where the shell does not provide it.
class TShellWindows : public ShellWindowCollection {
public:
    // With `hold`, the collection made for an earlier scan is used again while Explorer still
    // answers it.
    explicit TShellWindows(ShellWindowsHold* hold = nullptr);
    ~TShellWindows() override;
    TShellWindows(const TShellWindows&) = delete;
    TShellWindows& operator=(const TShellWindows&) = delete;
    int Count() override;
    std::unique_ptr<ShellBrowserWindow> Item(int index) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// "%25" to "%" and "%20" to a blank in one pass, so an escaped "%2520" stays "%20".
std::wstring DecodeFileAddress(const std::wstring& address);

struct LocationScanServices {
    DriveTypeQuery driveType = RealDriveType;
    std::function<bool(const std::wstring&)> directoryExists;  // plain test; the real one when empty
    // The other browsers' pages; asked only when web pages are wanted.
    std::function<std::vector<PagePair>()> otherBrowsers = [] { return std::vector<PagePair>(); };
};

// The open-location list: the collection's folders and pages in its order without duplicate
// locations, then the other browsers' pages. Web pages are taken when `includeWebPages` (the
// add-item dialog) or `recordWebPages` (the live option) is set.
std::vector<LocationPair> ScanOpenLocations(ShellWindowCollection& windows, bool includeWebPages,
                                            bool recordWebPages, const LocationScanServices& services);

// A top-level node of the record tree with the paths of its direct children.
struct LocationNode {
    std::wstring path;
    std::vector<std::wstring> childPaths;
};
std::vector<LocationNode> LocationNodesOf(const ShownRecord& record);

// True when the record holds the location at its top level or just below it, with or without
// a trailing backslash. An empty location counts as held.
bool LocationInRecord(const std::wstring& location, const std::vector<LocationNode>& nodes);

// What recording the open locations needs of the shown record.
class LocationRecordSink {
public:
    virtual ~LocationRecordSink() = default;
    virtual bool LocationInRecord(const std::wstring& location) = 0;
    virtual void AddItem(const std::wstring& path, const std::wstring& title) = 0;
    virtual void AddEntry(const std::wstring& path, const std::wstring& title) = 0;
    virtual void SetLastAdded(const std::wstring& path) = 0;
    virtual void StepGauge() = 0;
};

// Adds the listed locations the record does not hold; with "Record web pages" on, asks the
// other browsers again and adds their new pages. True when something was added. `tick` runs
// after each page.
bool RecordOpenLocations(const std::vector<LocationPair>& locations, bool recordWebPages,
                         const std::function<std::vector<PagePair>()>& otherBrowsers, LocationRecordSink& sink,
                         const std::function<void()>& tick = [] {});

// Appends the add-item dialog's rows for the open locations to a report list view: caption the
// title, first sub-item the location. Locations already listed are skipped. True when a row
// was added.
struct LocationRowServices {
    std::function<int(const std::wstring&)> iconIndex = [](const std::wstring&) { return 0; };
    std::function<bool(const std::wstring&)> fileExists = [](const std::wstring&) { return false; };
};
bool AppendOpenLocationRows(HWND listView, const std::vector<LocationPair>& locations,
                            const LocationRowServices& services);

}  // namespace tv
