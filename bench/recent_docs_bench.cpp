// Collecting the recent documents against the platform work it cannot avoid: listing the
// Recent folder and loading each shortcut to read its path. Both run over the same folder of
// 300 shortcuts, each to an existing file, in the same run; the figure is the ratio of their
// median times.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/shell_links.h"
#include "base/handles.h"
#include "bench_util.h"
#include "platform_baselines.h"
#include "capture/recent_documents.h"
#include "support/test_support.h"

namespace {

// The whole route: walk, age rule, shortcut target, existence, sorted list, then the skip test.
size_t Collect(const std::wstring& folder) {
    tv::RealRecentFolderReader reader;
    tv::RecordingResolutionMachine machine;  // as a recording asks
    tv::RecentDocumentList list;
    tv::ScanRecentDocuments(folder, {true, 7, false}, list, reader, machine);
    size_t kept = 0;
    for (const auto& path : list.entries())
        if (!tv::IsSkippedDocument(path, machine)) ++kept;
    return kept;
}

}  // namespace

int main() {
    const int kShortcuts = 300, kRounds = 21;
    tv::ComScope com;
    tvtest::TempFolder docs, recent;
    for (int i = 0; i < kShortcuts; ++i) {
        std::wstring name = L"document " + std::to_wstring(i) + L".txt";
        if (!tvtest::WriteAll(docs.file(name), "text") ||
            !tv::CreateShortcut(recent.file(name + L".lnk"), docs.file(name), docs.path())) {
            std::printf("could not write the shortcuts\n");
            return 1;
        }
    }
    std::vector<double> collect, baseline;
    size_t documents = 0;
    int paths = 0;
    for (int round = 0; round < kRounds; ++round) {
        baseline.push_back(bench::Millis([&] { paths = bench::ShortcutPathsThroughOneLink(recent.path()); }));
        collect.push_back(bench::Millis([&] { documents = Collect(recent.path()); }));
    }
    std::printf("recent documents: %d shortcuts, %u collected, %d paths read by the baseline\n", kShortcuts,
                static_cast<unsigned>(documents), paths);
    bench::Report("recent documents, 300 shortcuts", collect, baseline, 1.3);
    return 0;
}
