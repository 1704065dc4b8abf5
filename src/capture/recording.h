#pragma once
// One recording's capture: the scans of the machine in their fixed order, then what they found
// taken into the shown record through the add operations. Emptying the record before and
// saving it after belong to the caller.
#include <functional>
#include <string>
#include <vector>

#include "capture/add_operations.h"
#include "capture/browser_accessibility.h"
#include "capture/open_locations.h"
#include "capture/recent_documents.h"
#include "capture/running_programs.h"

namespace tv {

// What a recording asks of the machine. The real one scans the desktop; tests play one.
class RecordingSources {
public:
    virtual ~RecordingSources() = default;
    virtual std::vector<ProgramPair> RunningPrograms(const StartupFilter& isStartupProgram) = 0;
    virtual std::vector<LocationPair> OpenLocations(bool recordWebPages) = 0;
    virtual std::vector<PagePair> OtherBrowserPages() = 0;
    // Refills (or, in Smart Record, extends) the recent-document list, asking `machine`: the
    // adds that follow ask it again about the same documents.
    virtual void RecentDocuments(RecentDocumentList& list, const RecentScanOptions& options,
                                 ResolutionMachine& machine) = 0;
    // Every file and folder below the Start-menu program folders, in the order found.
    virtual std::vector<std::wstring> InstalledProgramPaths() = 0;
    virtual std::vector<std::wstring> ProgramMenuFolders() = 0;
    virtual RecentFolderReader& FolderReader() = 0;
};

class RealRecordingSources : public RecordingSources {
public:
    // `shellWindows`, when given, keeps the shell's window collection between recordings.
    // `recentFolder` stands for the user's Recent folder when given.
    explicit RealRecordingSources(std::wstring ownPath, ShellWindowsHold* shellWindows = nullptr,
                                  std::wstring recentFolder = {})
        : ownPath_(std::move(ownPath)), shellWindows_(shellWindows), recentFolder_(std::move(recentFolder)) {}
    std::vector<ProgramPair> RunningPrograms(const StartupFilter& isStartupProgram) override;
    std::vector<LocationPair> OpenLocations(bool recordWebPages) override;
    std::vector<PagePair> OtherBrowserPages() override;
    void RecentDocuments(RecentDocumentList& list, const RecentScanOptions& options,
                         ResolutionMachine& machine) override;
    std::vector<std::wstring> InstalledProgramPaths() override;
    std::vector<std::wstring> ProgramMenuFolders() override { return StartMenuProgramFolders(); }
    RecentFolderReader& FolderReader() override { return reader_; }

private:
    std::wstring ownPath_;
    ShellWindowsHold* shellWindows_;
    std::wstring recentFolder_;
    RealRecentFolderReader reader_;
    // The browsers' pages, read once for the recording.
    AccessibleBrowserPages accessiblePages_;
};

struct RecordingSettings {
    bool recordWebPages = false;     // "Record web pages"
    bool recordInstalled = false;    // "Record Installed Programs" of the record question
    RecentScanOptions recent;
    StartupFilter isStartupProgram = NoStartupFilter;
};

// How far a recording is: the hint text of each step, a step of the gauge with the window kept
// live, and a new gauge maximum.
struct RecordingProgress {
    std::function<void(const std::wstring&)> hint = [](const std::wstring&) {};
    std::function<void()> step = [] {};
    std::function<void(int)> restart = [](int) {};
};

// The hint texts, in the order a recording shows them.
constexpr int kRecordingHintCount = 9;
extern const wchar_t* const kRecordingHints[kRecordingHintCount];

// Runs the scans and takes what they found into the record. True when something new was added.
bool CaptureInto(RecordAdder& adder, ShownRecord& record, RecentDocumentList& documents,
                 InstalledProgramNames& names, RecordingSources& sources, const RecordingSettings& settings,
                 const RecordingProgress& progress);

}  // namespace tv
