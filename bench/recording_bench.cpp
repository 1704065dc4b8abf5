// A recording through the window's own record button, with "Add to exist file" into a selected
// record of 1,000 items, while 30 windows of 3 other processes are open and the Recent folder
// holds 300 shortcuts. Against it, in the same run, the platform calls no recording can avoid:
// enumerating the windows and asking each process for its path, listing the Recent folder and
// loading each shortcut, and listing the Start-menu program folders.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/settings_store.h"
#include "bench_util.h"
#include "recording_desk.h"
#include "records/record_library.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/main/commands/recording_commands.h"
#include "ui/message_pump.h"

using namespace benchdesk;

namespace {
constexpr int kRounds = 11;
}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    InitCommonControls();

    Desk desk;
    // The record question answers "Add to exist file" into the selected record.
    if (!desk.Open([](tv::TTolvaneWindow& w) {
            w.parts().recording.askRecord = [](const std::wstring&, const std::wstring& selected, std::wstring& chosen,
                                         bool& installed) {
                chosen = selected;
                installed = false;
                return true;
            };
        }))
        return 1;
    tv::TTolvaneWindow& window = *desk.window;
    const std::wstring& recordPath = desk.recordPath;
    const tvtest::TempFolder& recent = desk.recent;
    window.parts().options.values.askWhenRecord = true;
    window.parts().options.values.recordType = 1;

    const std::vector<std::wstring> menuFolders = tv::StartMenuProgramFolders();
    std::vector<double> recordings, baselines, paints;
    BaselineCounts counts;
    size_t before = 0, after = 0;
    for (int round = 0; round < kRounds; ++round) {
        // Each round records into the same record of 1,000 items.
        WriteSelectedRecord(recordPath);
        window.parts().session.ShowSelectedRecord();
        before = window.parts().session.record().items.Count();
        counts = Baseline(recent.path(), menuFolders);
        baselines.push_back(counts.totalMs());
        recordings.push_back(bench::Millis([&] { window.parts().recording.BtnRecClick(); }));
        // The result on the screen, timed apart: the baseline paints nothing.
        paints.push_back(
            bench::Millis([&] { RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }));
        after = window.parts().session.record().items.Count();
    }
    DestroyWindow(window.hwnd());

    tv::ShownRecord saved;
    tv::ReadRecordFile(saved, recordPath);
    std::printf("recording into a record of %u items: %u items after it, %u in the saved file; baseline read %d "
                "process paths, %d shortcuts, %d Start-menu entries\n",
                static_cast<unsigned>(before), static_cast<unsigned>(after),
                static_cast<unsigned>(saved.items.Count()), counts.processes, counts.shortcuts, counts.menuEntries);
    std::printf("last baseline: windows and processes %.1f ms, shortcuts %.1f ms, Start-menu listing %.1f ms\n",
                counts.processMs, counts.shortcutMs, counts.listingMs);
    std::printf("painting the recorded record afterwards: median %.1f ms, not in the ratio\n", bench::Median(paints));
    bench::Report("recording, 30 windows, 300 Recent, 1000 items", recordings, baselines, 1.5);
    return 0;
}
