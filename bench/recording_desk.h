#pragma once
// The desktop of the recording benchmarks: 30 windows of 3 other processes, a Recent folder of
// 300 shortcuts and a selected record of 1,000 items; and the platform calls no recording can
// avoid, the baseline the benchmarks compare against.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/folders.h"
#include "app/settings_store.h"
#include "app/shell_links.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "capture/add_operations.h"
#include "capture/recent_documents.h"
#include "capture/recording.h"
#include "records/record_file.h"
#include "support/record_entries.h"
#include "support/test_support.h"
#include "bench_util.h"
#include "platform_baselines.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/main/commands/recording_commands.h"
#include "ui/message_pump.h"
#include "app/settings_keys.h"

namespace benchdesk {

constexpr int kProcesses = 3, kWindowsEach = 10, kShortcuts = 300, kPrograms = 250, kDocumentsEach = 3;

// 250 programs with 3 documents each.
inline void WriteSelectedRecord(const std::wstring& path) {
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

inline int ListBelow(const std::wstring& folder) {
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
    double totalMs() const { return processMs + shortcutMs + listingMs; }
};

inline BaselineCounts Baseline(const std::wstring& recent, const std::vector<std::wstring>& menuFolders) {
    BaselineCounts c;
    c.processMs = bench::Millis([&] { c.processes = bench::ProcessPathsOfWindows(); });
    c.shortcutMs = bench::Millis([&] { c.shortcuts = bench::ShortcutPathsThroughOneLink(recent); });
    c.listingMs = bench::Millis([&] {
        for (const auto& folder : menuFolders) c.menuEntries += ListBelow(folder);
    });
    return c;
}

// The other processes' windows (one helper process each of `helpers`, kProcesses of them) and the Recent folder's shortcuts to documents in `docs`;
// false (with the reason printed) when they could not be made.
inline bool MakeDesktop(std::vector<tvtest::Process>& helpers, const tvtest::TempFolder& docs,
                        const tvtest::TempFolder& recent) {
    if (!bench::StartWindowHelpers(helpers, kProcesses, kWindowsEach)) return false;
    for (int i = 0; i < kShortcuts; ++i) {
        std::wstring name = L"document " + std::to_wstring(i) + L".tvx";
        if (!tvtest::WriteAll(docs.file(name), "text") ||
            !tv::CreateShortcut(recent.file(name + L".lnk"), docs.file(name), docs.path())) {
            std::printf("could not write the shortcuts\n");
            return false;
        }
    }
    return true;
}

// The whole scene: the desktop, and the main window open on the selected record of 1,000
// items, its recordings scanning that desktop.
struct Desk {
    std::vector<tvtest::Process> helpers;
    tvtest::TempFolder docs, recent, records;
    std::wstring recordPath;
    std::unique_ptr<tvtest::ScopedDataFolders> folders;
    tv::Settings settings;
    std::unique_ptr<tv::TTolvaneWindow> window;

    Desk() : helpers(kProcesses) {}
    // `prepare` runs on the window before it is created; false (with the reason printed) when
    // something could not be made.
    bool Open(const std::function<void(tv::TTolvaneWindow&)>& prepare = nullptr) {
        if (!MakeDesktop(helpers, docs, recent)) return false;
        recordPath = records.file(L"Dec 01,2026_001.tolvane");
        WriteSelectedRecord(recordPath);
        folders = std::make_unique<tvtest::ScopedDataFolders>();
        settings = tv::OpenSettingsFiles();
        settings.user->WriteString(tv::keys::kDefault, tv::keys::kRecordPath, records.path());
        settings.user->WriteInteger(tv::keys::kDefault, tv::keys::kSelectedRecord, 0);
        window = std::make_unique<tv::TTolvaneWindow>(settings, nullptr);
        window->parts().recording.sources = [this] {
            // The real scans, with the Recent folder of the benchmark in place of the user's.
            return std::make_unique<tv::RealRecordingSources>(tv::ModulePath(), &window->parts().recording.shellWindows(),
                                                              recent.path());
        };
        if (prepare) prepare(*window);
        if (!window->Create(GetModuleHandleW(nullptr))) {
            std::printf("the main window did not open\n");
            return false;
        }
        window->Show(SW_SHOWNORMAL);
        for (int i = 0; i < 20; ++i, Sleep(20)) tv::ProcessMessages();  // the first-run step
        window->parts().options.values.recordRecentDocuments = true;
        window->parts().options.values.recentDocDays = 7;
        return true;
    }
};

}  // namespace benchdesk
