#include "ui/main/commands/record_list_commands.h"

#include "base/debug_log.h"
#include "base/file_util.h"
#include "base/scope_exit.h"
#include "records/record_library.h"
#include "ui/dialogs/prompter.h"
#include "ui/dialogs/rename_dialog.h"
#include "ui/message_pump.h"

namespace tv {

RecordListCommands::RecordListCommands(RecordSession& session, RecordList& records, ProgressStrip& progress,
                                       LongWork& work, Prompter*& prompter, Window window)
    : session_(session), records_(records), progress_(progress), work_(work), prompter_(prompter),
      window_(std::move(window)) {}

RecordListCommands::~RecordListCommands() = default;

void RecordListCommands::Rename(const std::wstring& proposed) {
    try {
        std::wstring folder = session_.RecordFolder();
        int index = records_.SelectedIndex();
        if (index < 0) return;
        // The dialog's own loop must not let a hand-off change the list under it.
        LongWork::Scope busy(work_);
        if (!FrmReName) FrmReName = std::make_unique<TFrmReName>();
        bool refused = false;
        std::wstring renamed = RenameRecord(window_.hwnd(), *FrmReName, *prompter_, folder, records_.Name(index),
                                            kRecordExtension, proposed, &refused);
        // A name Windows refused was told to the user; the list and the shown record stay as they were.
        if (folder.empty() || refused) return;
        // The trees keep showing the record as read, under its new name.
        session_.SetCurrentRecordPath(renamed.empty() ? L"" : JoinPath(folder, renamed));
        window_.readRecordList();
        window_.describeState();
    } catch (...) {
        LogSwallowed(L"renaming a record");
    }
}

void RecordListCommands::BtnDeleteClick() {
    LongWork::Scope busy(work_);
    if (!prompter_->Ask(window_.hwnd(), L"Are you sure you want to delete selected record?")) return;
    window_.showProgress();
    OnExit finished([this] {
        progress_.SetHint(L"");
        progress_.Show(false);
        progress_.SetPosition(0);
        window_.layOut();
        window_.describeState();
    });
    progress_.stopRequested = false;
    progress_.SetPosition(0);
    progress_.Show(true);
    window_.layOut();
    session_.Clear();
    std::vector<std::wstring> names = records_.SelectedNames();
    if (names.empty()) return;
    progress_.SetMaximum(static_cast<int>(names.size()));
    std::wstring folder = session_.RecordFolder();
    for (const std::wstring& name : names) {
        if (progress_.stopRequested) break;
        std::wstring path = JoinPath(folder, name + kRecordExtension);
        RecycleRecordFiles(path);
        progress_.SetHint(L"Deleting " + path);
        ProcessMessages();  // the Stop button is pressed here
        progress_.Step();
    }
    if (IsWindow(window_.hwnd())) window_.readRecordList();
}

void RecordListCommands::DuplicateRecord() {
    LongWork::Scope busy(work_);
    window_.storeSelected(session_.Duplicate());
    window_.showProgress();
    progress_.SetHint(L"Finish.");
    window_.describeState();
}

void RecordListCommands::CopyandPaste1Click() {
    const bool newRecord = session_.newRecordFlag();
    DuplicateRecord();
    session_.SetNewRecordFlag(newRecord);
}

void RecordListCommands::CreateaBlankFile1Click() {
    // The items go with the trees: nothing of the old record may come back with a later save.
    session_.Clear();
    CopyandPaste1Click();
}

bool RecordListCommands::KeyDown(UINT key) {
    if (work_.busy()) return key == VK_DELETE || key == VK_F5;  // not while a long operation runs
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (key == VK_DELETE) BtnDeleteClick();
    else if (key == VK_F2) BtnRenameClick();
    else if (key == VK_RETURN) window_.replay();
    else if (key == VK_F5) window_.readRecordList();
    else if (ctrl && key == 'A') records_.SelectAll();
    else if (ctrl && key == 'V') DuplicateRecord();
    else return false;
    return true;
}

}  // namespace tv
