// Selecting a record in the main window's record list, from the click to the four record trees
// filled and painted, for a record of 5000 top-level nodes with two children each; against the
// record benchmarks' baseline measured in the same run.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "bench_util.h"
#include "record_sample.h"
#include "app/folders.h"
#include "app/settings_store.h"
#include "ui/message_pump.h"
#include "records/icon_strip.h"
#include "support/test_support.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "app/settings_keys.h"

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    tvtest::ScopedDataFolders folders;
    tvtest::TempFolder dir;
    tv::ShownRecord source;
    bench::BuildRecord(source);
    HIMAGELIST strip = tv::CreateStandardStrip();
    // Two records, so that every round changes the record shown.
    for (const wchar_t* name : {L"Dec 08,2026_001.tolvane", L"Dec 08,2026_002.tolvane"})
        if (!tv::WriteRecord(source, strip, dir.file(name), L"bench")) {
            std::printf("could not write the sample record\n");
            return 1;
        }
    ImageList_Destroy(strip);

    tv::Settings settings = tv::OpenSettingsFiles();
    settings.user->WriteString(tv::keys::kDefault, tv::keys::kRecordPath, dir.path());
    tv::TTolvaneWindow window(settings, nullptr);
    if (!window.Create(GetModuleHandleW(nullptr))) {
        std::printf("no main window\n");
        return 1;
    }
    window.Show(SW_SHOWNORMAL);
    for (int i = 0; i < 20; ++i, Sleep(20)) tv::ProcessMessages();  // the first-run step
    for (int page = 1; page < 4; ++page) window.parts().pages.views().Tree(page);  // all four trees are filled
    if (window.parts().records.Count() != 2) {
        std::printf("the record list shows %d records, not 2\n", window.parts().records.Count());
        return 1;
    }

    bench::PlainTrees plain(window.hwnd());
    const int kRounds = bench::kMinRounds;
    std::vector<double> selects, baselines;
    int baselineNodes = 0;
    for (int round = 0; round < kRounds; ++round) {
        selects.push_back(bench::Millis([&] {
            window.parts().records.SelectByIndex(round % 2);
            window.parts().selected.Show();
            // Painted as after a click: what the selection made invalid (the trees, the status
            // bar), not the rest of the window, which was painted already and did not change.
            RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
        }));
        // The same work by bare calls: load, insert, and paint the trees as the click does.
        baselines.push_back(bench::Millis([&] {
            baselineNodes = bench::Baseline(dir.file(L"Dec 08,2026_001.tolvane"), plain);
            for (HWND tree : plain.trees) RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }));
    }
    unsigned nodes = 0;
    for (int page = 0; page < 4; ++page) nodes += TreeView_GetCount(window.parts().pages.views().Tree(page));
    std::printf("select a record of 5000 top-level nodes with 2 children: %u nodes in the four trees, baseline %d nodes in plain trees\n",
                nodes, baselineNodes);
    bench::Report("select a 5000x2 record until painted", selects, baselines, 1.5);
    DestroyWindow(window.hwnd());
    return 0;
}
