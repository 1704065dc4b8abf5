#include "ui/main/commands/recording_commands.h"

#include <optional>

#include "app/options.h"
#include "app/record_session.h"
#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/redraw.h"
#include "base/scope_exit.h"
#include "capture/program_records.h"
#include "records/record_library.h"
#include "ui/dialogs/record_type_dialog.h"
#include "ui/main/frame/status_bar.h"
#include "ui/main/work/long_work.h"
#include "ui/main/work/progress_strip.h"
#include "ui/main/views/record_list.h"
#include "ui/message_pump.h"

namespace tv {

RecordingCommands::RecordingCommands(Parts parts) : p_(std::move(parts)) {
    askRecord = [this](const std::wstring& newName, const std::wstring& selectedName, std::wstring& chosen,
                       bool& installedPrograms) {
        if (!question_) question_ = std::make_unique<TFrmRecordType>(p_.options, *p_.prompter);
        bool confirmed = question_->Ask(p_.window, newName, selectedName, chosen);
        installedPrograms = confirmed && question_->installedProgramsChosen();
        return confirmed;
    };
}

RecordingCommands::~RecordingCommands() = default;

void RecordingCommands::BtnRecClick() {
    // A press while a recording runs is the one already running.
    if (p_.session.recordingNow()) return;
    if (switchSmartRecordOff) switchSmartRecordOff();
    RecordSession& session = p_.session;
    session.SetNewRecordFlag(true);
    if (!p_.options.values.askWhenRecord || !askRecord) {
        Run(false);
        return;
    }
    const std::wstring newPath = NewRecordName(session.RecordFolder());
    const std::wstring newName = PathDisplayName(newPath);
    int selected = p_.list.SelectedIndex();
    if (selected >= p_.list.Count()) selected = p_.list.Count() > 0 ? 0 : -1;
    const std::wstring selectedName = selected >= 0 ? p_.list.Name(selected) : newName;
    // The question may be closed: the path the next save goes to, and the flags, stay as they were.
    const std::wstring pathBefore = session.currentRecordPath();
    std::wstring chosen;
    bool installed = false;
    if (!askRecord(newName, selectedName, chosen, installed)) {
        session.SetNewRecordFlag(false);
        session.SetCurrentRecordPath(pathBefore);
        return;
    }
    session.SetCurrentRecordPath(JoinPath(session.RecordFolder(), chosen + kRecordExtension));
    session.SetNameChosen(true);
    session.SetNewRecordFlag(p_.options.values.recordType == 0);
    Run(installed);
}

void RecordingCommands::RecordNewNow() {
    if (p_.session.recordingNow()) return;
    p_.session.SetNewRecordFlag(true);
    Run(false);
}

bool RecordingCommands::RecordSmart() {
    if (p_.session.recordingNow() || p_.work.busy()) return false;
    p_.session.SetNewRecordFlag(false);
    return Run(false, true);
}

bool RecordingCommands::Run(bool installedPrograms, bool smart) {
    LongWork::Scope busy(p_.work);
    // The tree is painted once, when the recording is over, not at every step of it; a Smart
    // Record tick that changes nothing leaves it as it is, without painting it again.
    std::optional<RedrawSuspender> quiet;
    auto suspend = [this, &quiet] {
        if (!quiet) quiet.emplace(p_.session.RecordTree());
    };
    if (!smart) suspend();
    p_.session.treesChanging = suspend;
    OnExit told([this] { p_.session.treesChanging = nullptr; });
    p_.showProgress();
    p_.progress.stopRequested = false;
    p_.progress.SetPosition(0);
    if (!smart) {
        p_.progress.Show(true, true);
        p_.layOut();
    }
    if (beforeRecording) beforeRecording(smart);

    const LiveOptions& o = p_.options.values;
    RecordingSettings settings;
    settings.recordWebPages = o.recordWebPages;
    settings.recordInstalled = installedPrograms;
    settings.recent.recordRecentDocuments = o.recordRecentDocuments;
    settings.recent.ageLimitDays = o.recentDocDays;
    // While Smart Record is on, the recent-document list grows from tick to tick.
    settings.recent.smartRecord = smart;
    if (startupFilter) settings.isStartupProgram = startupFilter;
    RecordingProgress progress;
    progress.hint = [this](const std::wstring& text) {
        p_.progress.SetHint(text);
        KeepResponsive();
    };
    progress.step = [this] {
        p_.progress.Step();
        KeepResponsive();
    };
    progress.restart = [this](int maximum) {
        p_.progress.SetMaximum(maximum);
        p_.progress.SetPosition(0);
    };
    std::unique_ptr<RecordingSources> scan =
        sources ? sources() : std::make_unique<RealRecordingSources>(ModulePath(), &shellWindows_);
    const AddedCounts before = p_.session.added();
    const bool saved = p_.session.Record(smart, *scan, settings, progress);
    if (afterRecording) afterRecording();
    if (saved || !smart) {
        int index = p_.list.SelectedIndex();
        if (index >= 0) p_.storeSelected(index);
        p_.describeState();
    }
    if (tellOutcome) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        tellOutcome(saved || !smart ? AddedSummary(p_.session.added() - before, L"recorded into",
                                         RecordName(p_.session.currentRecordPath()))
                          : SmartRecordIdleText(now));
    }
    // A strip that lay over the views leaves the layout as it is when it goes.
    const bool tookSpace = !p_.progress.overViews();
    p_.progress.Show(false);
    if (tookSpace) p_.layOut();
    return saved;
}

}  // namespace tv
