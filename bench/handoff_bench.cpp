// Handing off many paths to the running window: 1,000 and then 10,000 new paths taken into a
// shown record of 1,000 items, through the same steps as a real hand-off (presence test, new
// item, node in the trees, one save at the end). Ten times the work should cost about ten
// times the time, not a hundred.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/folders.h"
#include "app/intake.h"
#include "app/settings_store.h"
#include "bench_util.h"
#include "support/test_support.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/main/commands/recording_commands.h"
#include "ui/message_pump.h"
#include "app/settings_keys.h"

namespace {

std::vector<tv::IntakeStep> Paths(const wchar_t* folder, int count) {
    std::vector<tv::IntakeStep> steps;
    for (int i = 0; i < count; ++i) {
        tv::IntakeStep step;
        step.kind = tv::IntakeStep::Kind::Item;
        step.path = std::wstring(folder) + std::to_wstring(i) + L".txt";
        steps.push_back(step);
    }
    return steps;
}

// A fresh window showing a record of 1,000 items; then the time to take `count` handed-off paths.
double TakeInto(const std::wstring& recordFolder, int count) {
    tvtest::ScopedDataFolders folders;
    tv::Settings settings = tv::OpenSettingsFiles();
    settings.user->WriteString(tv::keys::kDefault, tv::keys::kRecordPath, recordFolder);
    tv::TTolvaneWindow window(settings, nullptr);
    window.parts().recording.askRecord = [](auto&&...) { return false; };  // no first recording
    if (!window.Create(GetModuleHandleW(nullptr))) return -1;
    window.Show(SW_SHOWNORMAL);
    for (int i = 0; i < 20; ++i, Sleep(20)) tv::ProcessMessages();  // the first-run step
    tv::TakeHandOffSteps(window.parts().session, Paths(L"C:\\existing\\item", 1000));
    double ms = bench::Millis([&] { tv::TakeHandOffSteps(window.parts().session, Paths(L"D:\\handed\\file", count)); });
    if (!window.parts().session.Contains(Paths(L"D:\\handed\\file", count).back().path)) std::printf("the last path was not taken\n");
    DestroyWindow(window.hwnd());
    return ms;
}

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::vector<double> thousands, tenThousands;
    for (int round = 0; round < bench::kMinRounds; ++round) {
        tvtest::TempFolder small, large;
        thousands.push_back(TakeInto(small.path(), 1000));
        tenThousands.push_back(TakeInto(large.path(), 10000));
    }
    bench::Report("hand-off into 1000 items: 10000 paths against 1000", tenThousands, thousands, 12);
    bench::ReportLimit("hand-off of 10000 paths against 10 s", tenThousands, 10000);
    return 0;
}
