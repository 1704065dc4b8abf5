// A recording through the window's own record button, with "Add to exist file" into a selected
// record of 1,000 items, while 30 windows of 3 other processes are open and the Recent folder
// holds 300 shortcuts. Against it, in the same run, the platform calls no recording can avoid:
// enumerating the windows and asking each process for its path, listing the Recent folder and
// loading each shortcut, and listing the Start-menu program folders.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/folders.h"
#include "app/settings_store.h"
#include "app/shell_links.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "bench_util.h"
#include "platform_baselines.h"
#include "capture/add_operations.h"
#include "capture/recent_documents.h"
#include "capture/recording.h"
#include "records/record_file.h"
#include "records/record_library.h"
#include "support/record_entries.h"
#include "support/test_support.h"
#include "ui/main/main_window.h"
#include "ui/main/recording_commands.h"
#include "ui/message_pump.h"

namespace {

constexpr int kProcesses = 3, kWindowsEach = 10, kShortcuts = 300, kPrograms = 250, kDocumentsEach = 3;
constexpr int kRounds = 7;

// The real scans, with the Recent folder of the benchmark in place of the user's.
class BenchSources : public tv::RealRecordingSources {
public:
    explicit BenchSources(std::wstring recent) : RealRecordingSources(tv::ModulePath()), recent_(std::move(recent)) {}
    void RecentDocuments(tv::RecentDocumentList& list, const tv::RecentScanOptions& options) override {
        tv::RealResolutionMachine machine;
        tv::ScanRecentDocuments(recent_, options, list, FolderReader(), machine);
    }

private:
    std::wstring recent_;
};

// 250 programs with 3 documents each.
void WriteSelectedRecord(const std::wstring& path) {
    tv::ShownRecord record;
    for (int p = 0; p < kPrograms; ++p) {
        const std::wstring n = std::to_wstring(p);
        tv::RecordNode* program = tvtest::AddEntry(record, nullptr, L"Tool " + n,
                                                   L"C:\\Bench\\Tool " + n + L"\\tool" + n + L".exe",
                                                   tv::kProgramOrDocument, 12);
        for (int d = 0; d < kDocumentsEach; ++d)
            tvtest::AddEntry(record, program, L"notes " + std::to_wstring(d),
                             L"C:\\Bench\\Docs " + n + L"\\notes " + std::to_wstring(d) + L".tvx",
                             tv::kProgramOrDocument, 13);
    }
    tv::WriteRecordFile(record, path, L"C:\\tolvane.exe");
}

// ---- the platform calls -------------------------------------------------------------------------

int ListBelow(const std::wstring& folder) {
    int entries = 0;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        ++entries;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) entries += ListBelow(folder + L"\\" + name);
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return entries;
}

struct BaselineCounts {
    int processes = 0, shortcuts = 0, menuEntries = 0;
    double processMs = 0, shortcutMs = 0, listingMs = 0;  // each part's time
};

BaselineCounts Baseline(const std::wstring& recent, const std::vector<std::wstring>& menuFolders) {
    BaselineCounts c;
    c.processMs = bench::Millis([&] { c.processes = bench::ProcessPathsOfWindows(); });
    c.shortcutMs = bench::Millis([&] { c.shortcuts = bench::ShortcutPathsIn(recent); });
    c.listingMs = bench::Millis([&] {
        for (const auto& folder : menuFolders) c.menuEntries += ListBelow(folder);
    });
    return c;
}

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    InitCommonControls();

    std::vector<tvtest::Process> helpers;
    if (!bench::StartWindowHelpers(helpers, kProcesses, kWindowsEach)) return 1;

    tvtest::TempFolder docs, recent, records;
    for (int i = 0; i < kShortcuts; ++i) {
        std::wstring name = L"document " + std::to_wstring(i) + L".tvx";
        if (!tvtest::WriteAll(docs.file(name), "text") ||
            !tv::CreateShortcut(recent.file(name + L".lnk"), docs.file(name), docs.path())) {
            std::printf("could not write the shortcuts\n");
            return 1;
        }
    }
    const std::wstring recordPath = records.file(L"Dec 01,2026_001.tolvane");
    WriteSelectedRecord(recordPath);

    tvtest::ScopedDataFolders folders;
    tv::Settings settings = tv::OpenSettingsFiles();
    settings.user->WriteString(L"default", L"EdtRECPath", records.path());
    settings.user->WriteInteger(L"default", L"LbRECs", 0);
    tv::TTolvaneWindow window(settings, nullptr);
    // The record question answers "Add to exist file" into the selected record.
    window.recording().askRecord = [](const std::wstring&, const std::wstring& selected, std::wstring& chosen,
                                      bool& installed) {
        chosen = selected;
        installed = false;
        return true;
    };
    window.recording().sources = [&] { return std::make_unique<BenchSources>(recent.path()); };
    if (!window.Create(GetModuleHandleW(nullptr))) {
        std::printf("the main window did not open\n");
        return 1;
    }
    window.Show(SW_SHOWNORMAL);
    for (int i = 0; i < 20; ++i, Sleep(20)) tv::ProcessMessages();  // the first-run step
    window.options()->values.askWhenRecord = true;
    window.options()->values.recordType = 1;
    window.options()->values.recordRecentDocuments = true;
    window.options()->values.recentDocDays = 7;

    const std::vector<std::wstring> menuFolders = tv::StartMenuProgramFolders();
    std::vector<double> recordings, baselines;
    BaselineCounts counts;
    size_t before = 0, after = 0;
    for (int round = 0; round < kRounds; ++round) {
        // Each round records into the same record of 1,000 items.
        WriteSelectedRecord(recordPath);
        window.session().ShowSelectedRecord();
        before = window.session().record().items.Count();
        baselines.push_back(bench::Millis([&] { counts = Baseline(recent.path(), menuFolders); }));
        if (getenv("PROFILE_HINTS")) {
            tv::RecordingProgress pr;
            auto t0 = GetTickCount();
            int steps = 0;
            pr.hint = [&](const std::wstring& h) { std::printf("%6lu ms steps %d %ls\n", GetTickCount() - t0, steps, h.c_str()); };
            pr.step = [&] { ++steps; };
            BenchSources src(recent.path());
            tv::RecordingSettings st;
            st.recent.recordRecentDocuments = true; st.recent.ageLimitDays = 7;
            window.session().SetNewRecordFlag(false);
            window.session().Record(false, src, st, pr);
            std::printf("%6lu ms end\n", GetTickCount() - t0);
        }
        recordings.push_back(bench::Millis([&] { window.recording().BtnRecClick(); }));
        after = window.session().record().items.Count();
    }
    DestroyWindow(window.hwnd());

    tv::ShownRecord saved;
    tv::ReadRecordFile(saved, recordPath);
    double r = bench::Median(recordings), b = bench::Median(baselines);
    std::printf("recording into a record of %u items: %u items after it, %u in the saved file; baseline read %d "
                "process paths, %d shortcuts, %d Start-menu entries\n",
                static_cast<unsigned>(before), static_cast<unsigned>(after),
                static_cast<unsigned>(saved.items.Count()), counts.processes, counts.shortcuts, counts.menuEntries);
    std::printf("last baseline: windows and processes %.1f ms, shortcuts %.1f ms, Start-menu listing %.1f ms\n",
                counts.processMs, counts.shortcutMs, counts.listingMs);
    std::printf("recording median %.1f ms, baseline median %.1f ms, ratio %.2f (target at most 1.5)\n", r, b, r / b);
    return 0;
}
