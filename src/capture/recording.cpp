#include "capture/recording.h"

#include "base/debug_log.h"
#include "base/scope_exit.h"
#include "base/strings.h"
#include "capture/browser_accessibility.h"
#include "capture/browser_pages.h"
#include "capture/program_records.h"

namespace tv {

const wchar_t* const kRecordingHints[kRecordingHintCount] = {
    L"Recording now,please waiting...",
    L"Loading installed programs,please waiting...",
    L"Loading running applications,please waiting...",
    L"Loading running folder and web page,please waiting...",
    L"Loading recent documents,please waiting...",
    L"Loading startup programs,please waiting...",
    L"Recording running applications,please waiting...",
    L"Recording running files,please waiting...",
    L"Recording recent documents,please waiting...",
};

// ---- the real machine -----------------------------------------------------------------------

std::vector<ProgramPair> RealRecordingSources::RunningPrograms(const StartupFilter& isStartupProgram) {
    RealDesktopWindows desktop;
    return ScanRunningPrograms(desktop, ownPath_, isStartupProgram);
}

std::vector<PagePair> RealRecordingSources::OtherBrowserPages() {
    TWebbrowserActiveUrl reader;
    RealBrowserWindows windows;
    std::vector<PagePair> pages = OtherBrowserQuery(reader, windows);
    // Today's browsers, through their accessible objects; a page another route gave stays once.
    AppendNewPages(pages, accessiblePages_.Pages());
    return pages;
}

std::vector<LocationPair> RealRecordingSources::OpenLocations(bool recordWebPages) {
    TShellWindows windows(shellWindows_);
    LocationScanServices services;
    services.otherBrowsers = [this] { return OtherBrowserPages(); };
    return ScanOpenLocations(windows, false, recordWebPages, services);
}

void RealRecordingSources::RecentDocuments(RecentDocumentList& list, const RecentScanOptions& options,
                                           ResolutionMachine& machine) {
    ScanRecentDocuments(recentFolder_.empty() ? RecentFolder() : recentFolder_, options, list, reader_, machine);
}

std::vector<std::wstring> RealRecordingSources::InstalledProgramPaths() {
    std::vector<std::wstring> paths;
    for (const FoundPath& found : PathsBelow(ProgramMenuFolders(), reader_)) paths.push_back(found.path);
    return paths;
}

// ---- taking what was found into the record ----------------------------------------------------

namespace {

// The capture steps' questions answered from the shown record, their adds done by the adder.
class AdderSinks : public ProgramRecordSink, public LocationRecordSink, public DocumentRecordSink {
public:
    AdderSinks(RecordAdder& adder, ShownRecord& record, ResolutionMachine& machine, const RecordingProgress& progress,
               const RecentDocumentList& recent)
        : adder_(adder), record_(record), machine_(machine), folderTests_(machine), progress_(progress),
          recent_(recent) {}

    bool found = false;  // something was added

    // ProgramRecordSink
    bool AlreadyInRecord(const std::wstring& path, const std::wstring& title) override {
        return adder_.HoldsProgram(path, title);
    }
    void SetLastAdded(const std::wstring& path) override { adder_.SetLastAdded(path); }
    void AddEntry(const std::wstring& path, const std::wstring& title) override {
        adder_.AddEntry(path, title);
        found = true;
    }
    void StepGauge() override { progress_.step(); }
    // The documents of its command lines and window titles go under the program too, and its
    // windows' places onto it and them.
    void AddProgram(const ProgramPair& found, const std::wstring& path, const std::wstring& title) override {
        ResolutionMachine& m = *adder_.machine;
        const std::vector<std::wstring> more = DocumentsOfProgram(
            found, recent_.entries(), [&m](const std::wstring& p) { return m.FileExists(p) || m.FolderExists(p); });
        adder_.moreDocuments = &more;
        OnExit done([this] { adder_.moreDocuments = nullptr; });
        AddEntry(path, title);
        PlaceProgramWindows(record_, path, title, found.windows);
    }

    // LocationRecordSink
    bool LocationInRecord(const std::wstring& location) override {
        return tv::LocationInRecord(location, LocationNodesOf(record_));
    }
    void AddItem(const std::wstring& path, const std::wstring& title) override {
        adder_.AddItem(path, title);
        found = true;
    }

    // DocumentRecordSink
    bool RecordPathFound(const std::wstring& path) override {
        // The tree's version moves with every node added anywhere in it: an unchanged tree
        // needs no walk at all.
        if (version_ != record_.docs.version()) {
            auto groupKey = [this](const std::wstring& p) { return GroupKey(p, adder_.myDocuments); };
            index_.Update(record_, folderTests_, groupKey);
            version_ = record_.docs.version();
        }
        return index_.index().Found(path, machine_);
    }
    bool ProgramAlreadyRecorded(const std::wstring& program) override { return adder_.HoldsProgram(program, program); }

private:
    RecordAdder& adder_;
    ShownRecord& record_;
    ResolutionMachine& machine_;
    // The record path test walks the whole record after every add; its folders stay put.
    FolderTestMemo folderTests_;
    const RecordingProgress& progress_;
    GrowingRecordPathIndex index_;
    const RecentDocumentList& recent_;
    unsigned long long version_ = ~0ULL;
};

// Runs one step; a failing step leaves the record with what the others find.
template <class Step>
void Guarded(const wchar_t* what, Step&& step) {
    try {
        step();
    } catch (...) {
        LogSwallowed(what);
    }
}

}  // namespace

bool CaptureInto(RecordAdder& adder, ShownRecord& record, RecentDocumentList& documents,
                 InstalledProgramNames& names, RecordingSources& sources, const RecordingSettings& settings,
                 const RecordingProgress& progress) {
    // One machine for the whole capture: the scans and the adds ask about the same paths.
    RecordingResolutionMachine own;
    if (!adder.machine) adder.machine = &own;
    ResolutionMachine& machine = *adder.machine;
    AdderSinks sinks(adder, record, machine, progress, documents);
    auto stage = [&progress](int hint) {
        progress.hint(kRecordingHints[hint]);
        progress.step();
    };

    std::vector<ProgramPair> programs;
    std::vector<LocationPair> locations;
    stage(1);
    Guarded(L"loading installed program names",
            [&] { names.Load(sources.ProgramMenuFolders(), sources.FolderReader(), *adder.machine); });
    stage(2);
    Guarded(L"scanning running programs", [&] { programs = sources.RunningPrograms(settings.isStartupProgram); });
    stage(3);
    Guarded(L"scanning open locations", [&] { locations = sources.OpenLocations(settings.recordWebPages); });
    stage(4);
    Guarded(L"scanning recent documents", [&] { sources.RecentDocuments(documents, settings.recent, machine); });
    stage(5);

    progress.restart(static_cast<int>(locations.size() + programs.size()));
    stage(6);
    Guarded(L"recording open locations", [&] {
        RecordOpenLocations(locations, settings.recordWebPages, [&] { return sources.OtherBrowserPages(); }, sinks,
                            progress.step);
    });
    stage(7);
    Guarded(L"recording running programs", [&] { RecordRunningPrograms(programs, sinks); });
    if (settings.recordInstalled) {
        Guarded(L"recording installed programs", [&] {
            ResolutionMachine& m = *adder.machine;
            for (const std::wstring& e : sources.InstalledProgramPaths()) {
                if (m.FolderExists(e)) continue;
                std::wstring t = ProgramPathOfCommand(ShortcutTarget(e, m), m);
                if (t.empty()) t = e;
                sinks.found = true;
                std::wstring program = m.FolderExists(ToLower(Trim(t))) ? ProgramPathOfCommand(t, m) : ProgramPathOfCommand(e, m);
                adder.AddItem(program, DisplayNameOfPath(program));
            }
        });
    }
    stage(8);
    Guarded(L"recording recent documents", [&] { RecordRecentDocuments(documents, sinks, *adder.machine, [] {}); });
    if (adder.machine == &own) adder.machine = nullptr;
    return sinks.found;
}

}  // namespace tv
