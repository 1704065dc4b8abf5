#pragma once
// Replay All: the selected record opened again item by item, asked about first when the user
// wants the question, as long work with the progress strip; the record replayed when Windows
// starts, and the menu item that names it.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "replay/replay.h"
#include "ui/main/commands/long_command_parts.h"

namespace tv {

class LongWork;
class Options;
class Prompter;
class ProgressStrip;
class RecordList;
class RecordSession;
class SettingsStore;
class TfrmReplayWhenWinStart;

// The message after a replay that stopped at its limit.
extern const wchar_t kReplayTooManyItems[];

class ReplayCommands {
public:
    struct Parts : LongCommandParts {
        SettingsStore& userSettings;
        int& startupRecordIndex;  // "RECIndWhenStartup"
        std::function<ItemLauncher&()> launcher;
        // Renames the selected record, proposing `name`, and lists the records again.
        std::function<void(const std::wstring& name)> renameSelected;
    };
    // The replay question: the record's name and its two item counts; true to go on. The
    // program's own dialog unless another is set.
    using ReplayQuestion = std::function<bool(const std::wstring& recordName, int topLevel, int all)>;

    explicit ReplayCommands(Parts parts);
    ~ReplayCommands();

    ReplayQuestion askReplay;
    // Between items: 10 ms and a message pass; tests may shorten it.
    std::function<void()> pause;

    void Replay1Click();
    // "Replay all when windows start", its check mark already toggled to `checked`.
    void ReplayAllwhenwindowsstart1Click(bool checked);
    // In the first-run step of a start with "/run": the start-up record, selected, shown and
    // replayed. A start-up index past the end of the list replays nothing.
    void ReplayStartupRecord(const std::function<void(int index)>& selectAndShow);
    // The strip's end, three seconds after "Finish.".
    void TimerFinish();
    int visits() const { return visits_; }

    static constexpr UINT_PTR kTimerFinishId = 3;  // 1 is the first run's, 2 Smart Record's

private:
    void Routine(bool allChildren, int topLevel, int all);
    Parts p_;
    std::unique_ptr<TfrmReplayWhenWinStart> question_;  // made at the first question
    int visits_ = 0;
};

}  // namespace tv
