#pragma once
// A desktop the tests play to a recording: the programs and documents it shows, changed
// between recordings.
#include <functional>
#include <string>
#include <vector>

#include "capture/recording.h"

namespace tvtest {

struct Desktop {
    std::vector<tv::ProgramPair> windows;  // every top-level window, as the scan meets them
    std::vector<std::wstring> documents;
    int scans = 0;
    std::function<void()> duringScan;
    std::vector<bool> keepModes;  // each recent-document scan: the list kept from the last
};

// One recording's view of the desktop; the running-program scan asks the start-up filter as
// the real one does.
struct PlayedDesktop : tv::RecordingSources {
    Desktop& d;
    struct NoFolders : tv::RecentFolderReader {
        std::vector<tv::ListedEntry> List(const std::wstring&, size_t) override { return {}; }
        bool LastWriteDays(const std::wstring&, double&) override { return false; }
        double NowDays() override { return 0; }
    } reader;
    explicit PlayedDesktop(Desktop& desktop) : d(desktop) {}
    std::vector<tv::ProgramPair> RunningPrograms(const tv::StartupFilter& isStartupProgram) override {
        ++d.scans;
        if (d.duringScan) d.duringScan();
        std::vector<tv::ProgramPair> out;
        for (const tv::ProgramPair& w : d.windows)
            if (!isStartupProgram || !isStartupProgram(w.path, w.title)) out.push_back(w);
        return out;
    }
    std::vector<tv::LocationPair> OpenLocations(bool) override { return {}; }
    std::vector<tv::PagePair> OtherBrowserPages() override { return {}; }
    void RecentDocuments(tv::RecentDocumentList& list, const tv::RecentScanOptions& options,
                         tv::ResolutionMachine&) override {
        d.keepModes.push_back(options.smartRecord);
        if (!options.smartRecord) list.Clear();
        for (const std::wstring& doc : d.documents) list.AddKeeping(doc);
    }
    std::vector<std::wstring> InstalledProgramPaths() override { return {}; }
    std::vector<std::wstring> ProgramMenuFolders() override { return {}; }
    tv::RecentFolderReader& FolderReader() override { return reader; }
};

}  // namespace tvtest
