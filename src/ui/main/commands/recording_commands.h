#pragma once
// The record button: a recording by hand, asked about first when the user wants the question,
// run as long work with its hints and gauge in the progress strip; and the recording the first
// start makes when there is no record yet.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "capture/recording.h"
#include "ui/main/commands/long_command_parts.h"

namespace tv {

class LongWork;
class Options;
class Prompter;
class TFrmRecordType;
class ProgressStrip;
class RecordList;
class RecordSession;

class RecordingCommands {
public:
    struct Parts : LongCommandParts {
        std::function<void(int)> storeSelected;  // the selected record's index, stored
        std::function<void()> describeState;     // the status bar, after the recording
    };
    // The record question: given the new record's name and the selected record's, answers the
    // name the user confirmed (and whether the installed programs are wanted); false when the
    // question was not confirmed. The program's own dialog unless another is set.
    using RecordQuestion = std::function<bool(const std::wstring& newName, const std::wstring& selectedName,
                                              std::wstring& chosenName, bool& installedPrograms)>;

    explicit RecordingCommands(Parts parts);
    ~RecordingCommands();

    RecordQuestion askRecord;
    // What a recording scans; the real desktop unless a test plays one.
    std::function<std::unique_ptr<RecordingSources>()> sources;
    // The shell's window collection the real desktop's scans keep between recordings.
    ShellWindowsHold& shellWindows() { return shellWindows_; }
    // Asked by the running-program scan of every recording: windows to leave out.
    StartupFilter startupFilter;
    // Run before a recording starts (`smart` for Smart Record) and after it ended.
    std::function<void(bool smart)> beforeRecording;
    std::function<void()> afterRecording;
    // Told what each recording did: what it recorded into which record, or that a Smart Record
    // tick found nothing new.
    std::function<void(const std::wstring& text)> tellOutcome;
    // The record button switches Smart Record off before it records.
    std::function<void()> switchSmartRecordOff;

    void BtnRecClick();
    // A recording into a new record without the question (a first start with items).
    void RecordNewNow();
    // One Smart Record recording: it adds to the shown record without the progress strip, and
    // saves only when something new was found. False when it was dropped or saved nothing.
    bool RecordSmart();

private:
    bool Run(bool installedPrograms, bool smart = false);
    Parts p_;
    std::unique_ptr<TFrmRecordType> question_;  // made at the first question
    ShellWindowsHold shellWindows_;             // kept from one recording to the next
};

}  // namespace tv
