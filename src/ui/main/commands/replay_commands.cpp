#include "ui/main/commands/replay_commands.h"

#include "app/options.h"
#include "app/record_session.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "base/debug_log.h"
#include "base/scope_exit.h"
#include "ui/dialogs/prompter.h"
#include "ui/dialogs/replay_dialog.h"
#include "ui/main/work/long_work.h"
#include "ui/main/work/progress_strip.h"
#include "ui/main/views/record_list.h"
#include "ui/message_pump.h"

namespace tv {

const wchar_t kReplayTooManyItems[] = L"Launch toom many items will be slow down,Please manually launch.";

namespace {
constexpr UINT kFinishDelayMs = 3000;
constexpr DWORD kPauseMs = 10;
constexpr DWORD kPlaceLookMs = 50;  // between looks for the window of a started program
}  // namespace

ReplayCommands::ReplayCommands(Parts parts) : p_(std::move(parts)) {
    askReplay = [this](const std::wstring& recordName, int topLevel, int all) {
        if (!question_) question_ = std::make_unique<TfrmReplayWhenWinStart>(p_.options);
        return question_->Ask(p_.window, recordName, topLevel, all);
    };
    pause = [] {
        Sleep(kPauseMs);
        ProcessMessages();
    };
}

ReplayCommands::~ReplayCommands() = default;

void ReplayCommands::Replay1Click() {
    const int selected = p_.list.SelectedIndex();
    if (p_.list.Count() == 0 || selected < 0) return;
    ReplayCounts counts;
    try {
        counts = CountReplayItems(ReplayNodes(p_.session.record()));
        if (p_.options.values.askWhenReplay && !askReplay(p_.list.Name(selected), counts.topLevel, counts.all))
            return;
    } catch (...) {
        LogSwallowed(L"the replay question");  // the replay goes on without it
    }
    Routine(p_.options.values.replayAllChildren, counts.topLevel, counts.all);
    if (visits_ >= kReplayVisitLimit) p_.prompter->Tell(p_.window, kReplayTooManyItems);
}

void ReplayCommands::Routine(bool allChildren, int topLevel, int all) {
    // Clicks and commands that come while items open wait for the replay; the window stays live.
    LongWork::Scope busy(p_.work);
    p_.showProgress();
    visits_ = 0;
    OnExit finish([this] {
        p_.progress.SetHint(L"Finish.");
        if (p_.window) SetTimer(p_.window, kTimerFinishId, kFinishDelayMs, nullptr);
    });
    p_.progress.SetHint(L"Please Waiting for a while...");
    if (p_.list.Count() == 0) return;
    if (p_.list.SelectedIndex() < 0) p_.list.SelectByIndex(0);
    p_.progress.stopRequested = false;
    p_.progress.SetMaximum(allChildren ? all : topLevel);
    p_.progress.SetPosition(0);
    p_.progress.Show(true);
    p_.layOut();

    ReplayPacing pacing;
    pacing.pause = pause;
    pacing.passMessages = [] { ProcessMessages(); };
    ItemLauncher& launcher = p_.launcher();
    const bool restorePlaces = p_.options.values.restoreWindowPlaces;
    WindowPlacing placing;
    placing.wait = [] {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPlaceLookMs, QS_ALLINPUT);
        ProcessMessages();
    };
    try {
        visits_ = ReplayWalk(ReplayNodes(p_.session.record()), allChildren,
                             [&](const ReplayNode& node) {
                                 p_.progress.SetHint(node.path);  // the strip names each item in turn
                                 return restorePlaces ? OpenReplayNodePlaced(node, launcher, placing)
                                                      : OpenReplayNode(node, launcher);
                             },
                             pacing);
    } catch (...) {
        LogSwallowed(L"replaying a record");  // the replay ends at that item
    }
}

void ReplayCommands::TimerFinish() {
    if (p_.window) KillTimer(p_.window, kTimerFinishId);
    p_.progress.Show(false);
    p_.progress.SetPosition(0);
    p_.layOut();
    if (!p_.options.values.alwaysOnTop && p_.window)
        SetWindowPos(p_.window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ReplayCommands::ReplayAllwhenwindowsstart1Click(bool checked) {
    if (checked) {
        try {
            p_.renameSelected(L"Windows Start");
        } catch (...) {
            LogSwallowed(L"naming the start-up record");
        }
    }
    p_.startupRecordIndex = checked ? p_.list.SelectedIndex() : -1;
    try {
        p_.userSettings.WriteInteger(keys::kDefault, keys::kStartupRecord, p_.startupRecordIndex);
    } catch (const SettingsWriteError&) {
        p_.prompter->Tell(p_.window, L"The record to replay when Windows starts could not be stored.");
    }
}

void ReplayCommands::ReplayStartupRecord(const std::function<void(int index)>& selectAndShow) {
    const int index = p_.startupRecordIndex;
    if (index < 0 || index >= p_.list.Count()) return;
    selectAndShow(index);
    Replay1Click();
}

}  // namespace tv
