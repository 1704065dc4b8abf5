// A Smart Record tick on a selected record of 1,000 items while 30 windows of 3 other processes
// are open and the Recent folder holds 300 shortcuts: the first tick adds the 300 documents,
// every later one finds them all in the record already and saves nothing. Against it, in the
// same run, the platform calls no recording can avoid (see recording_desk.h).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/settings_store.h"
#include "bench_util.h"
#include "recording_desk.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/main/commands/recording_commands.h"
#include "ui/main/work/smart_record.h"
#include "ui/message_pump.h"
#include "app/settings_keys.h"

using namespace benchdesk;

namespace {
constexpr int kRounds = bench::kMinRounds;

FILETIME LastWrite(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a);
    return a.ftLastWriteTime;
}
}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    InitCommonControls();

    Desk desk;
    if (!desk.Open([&desk](tv::TTolvaneWindow&) {
            desk.settings.user->WriteInteger(tv::keys::kDefault, tv::keys::kRecordInterval, 60);  // the benchmark ticks itself
        }))
        return 1;
    tv::TTolvaneWindow& window = *desk.window;
    const std::wstring& recordPath = desk.recordPath;
    const tvtest::TempFolder& recent = desk.recent;
    window.parts().options.values.askWhenSmartRecord = false;
    const size_t before = window.parts().session.record().items.Count();

    // Switching on records at once: the first tick, which adds the documents.
    double first = bench::Millis([&] { window.parts().smart.SetChecked(true); });
    const size_t afterFirst = window.parts().session.record().items.Count();
    const FILETIME savedFirst = LastWrite(recordPath);

    const std::vector<std::wstring> menuFolders = tv::StartMenuProgramFolders();
    std::vector<double> ticks, baselines;
    BaselineCounts counts;
    for (int round = 0; round < kRounds; ++round) {
        counts = Baseline(recent.path(), menuFolders);
        baselines.push_back(counts.totalMs());
        ticks.push_back(bench::Millis([&] { window.parts().smart.TimerContinueRecordTimer(); }));
    }
    const size_t afterTicks = window.parts().session.record().items.Count();
    const FILETIME savedLast = LastWrite(recordPath);
    window.parts().smart.SetChecked(false);
    DestroyWindow(window.hwnd());

    std::printf("Smart Record on a record of %u items: %u after the first tick (%.1f ms), %u after %d more; "
                "record file %s by them; baseline read %d process paths, %d shortcuts, %d Start-menu entries\n",
                static_cast<unsigned>(before), static_cast<unsigned>(afterFirst), first,
                static_cast<unsigned>(afterTicks), kRounds,
                CompareFileTime(&savedFirst, &savedLast) == 0 ? "untouched" : "WRITTEN", counts.processes,
                counts.shortcuts, counts.menuEntries);
    bench::Report("Smart Record tick", ticks, baselines, 1.5);
    return 0;
}
