#include "app/record_session.h"

#include <shlobj.h>

#include "app/folders.h"
#include "app/options.h"
#include "base/debug_log.h"
#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/process_services.h"
#include "base/scope_exit.h"
#include "base/strings.h"
#include "records/icon_strip.h"
#include "records/record_library.h"

namespace tv {

RecordSession::RecordSession(Options& options, RecordDisplay& display, RecordListView& list,
                             std::function<bool()> chooseRecordFolder)
    : options_(options),
      display_(display),
      list_(list),
      chooseRecordFolder_(std::move(chooseRecordFolder)),
      adder_(record_, *this) {
    record_.writeSelectionFile = [this](const std::wstring& path) { WriteSelectionFile(record_, path); };
    strip_.reset(CreateStandardStrip());
    adder_.iconIndex = [this](const std::wstring& path, const std::wstring& name) {
        return IconIndex(path, name, strip_.get(), &typeIcons_);
    };
    adder_.myDocuments = SpecialFolderPath(CSIDL_PERSONAL);
    adder_.recentDocuments = &recentDocuments_;
    adder_.programNames = &programNames_;
}

RecordSession::~RecordSession() = default;

void RecordSession::SetStrip(HIMAGELIST strip) {
    if (!strip || strip == strip_.get()) return;
    ImageListOwner old = std::move(strip_);  // freed once the views show the new strip
    strip_.reset(strip);
    typeIcons_.Forget();
    display_.SetStrip(strip);
}

std::wstring RecordSession::RecordFolder() const { return options_.RecordFolder(); }

HWND RecordSession::RecordTree() { return display_.AllTree(); }

ReadOutcome RecordSession::Load(int index, const Tick& tick) {
    // Expanding nodes while the record loads must not write its selection file.
    record_.recording = true;
    OnExit loaded([this] { record_.recording = false; });
    record_.currentRecordPath = JoinPath(RecordFolder(), list_.Name(index) + kRecordExtension);
    SetSearchShown(false);
    Clear();
    readWhole_ = true;
    ReadOutcome outcome = ReadOutcome::Stopped;
    try {
        std::wstring icons = IconFilePath(record_.currentRecordPath);
        if (FileExists(icons)) SetStrip(ReadIconFile(icons));
        outcome = ReadRecordFile(record_, record_.currentRecordPath, [this] { display_.ShowWebPageTab(); }, tick);
    } catch (...) {
        LogSwallowed(L"reading a record");  // what was read is shown
    }
    readWhole_ = MayWriteOver(outcome);
    unsavedChange_ = false;  // the trees show what the disk holds
    if (partialNotice)
        partialNotice(readWhole_ ? L""
                                 : L"Read in part: " + PartialReadReason(outcome, record_.items.Count()) +
                                       L". Changes go to a new record.");
    ReadSelectionFile(record_, SelectionFilePath(record_.currentRecordPath));
    display_.ShowRecord(record_);
    return outcome;
}

void RecordSession::Clear() {
    display_.ClearTrees();
    record_.items.Empty();
    for (tv::RecordTree* tree : {&record_.docs, &record_.apps, &record_.paths, &record_.pages}) tree->Clear();
}

RecordAdder& RecordSession::FreshAdder() {
    ULONGLONG now = GetTickCount64();
    if (!machine_ || now - machineMade_ > 1000) {
        machine_ = std::make_unique<RealResolutionMachine>();
        machineMade_ = now;
        adder_.ForgetMachineAnswers();
    }
    adder_.machine = machine_.get();
    return adder_;
}

void RecordSession::LeaveSearch() {
    if (!searchShown_) return;
    SetSearchShown(false);
    display_.ShowSelectedRecord();
}

void RecordSession::SetSearchShown(bool shown) {
    if (shown == searchShown_) return;
    searchShown_ = shown;
    if (searchShownChanged) searchShownChanged(shown);
}

void RecordSession::LoadProgramNames() {
    if (programNames_.loaded()) return;
    RealRecentFolderReader reader;
    programNames_.Load(StartMenuProgramFolders(), reader, *FreshAdder().machine);
}

bool RecordSession::Contains(const std::wstring& path) {
    LeaveSearch();
    return FreshAdder().InTree(path);
}

void RecordSession::AddItem(const std::wstring& path, const std::wstring& title) {
    LeaveSearch();
    try {
        FreshAdder().AddItem(path, title);
    } catch (...) {
        LogSwallowed(L"adding an item");  // the next item is added all the same
    }
}

void RecordSession::NodeAdded(int page, const RecordNode& node) {
    if (treesChanging) treesChanging();
    display_.InsertNode(page, node);
}

void RecordSession::ShowWebPageTab() {
    if (treesChanging) treesChanging();
    display_.ShowWebPageTab();
}

SearchOutcome RecordSession::Search(const std::wstring& text, const Tick& tick) {
    const std::wstring s = ToLower(Trim(text));
    SearchOutcome found;
    if (s.empty()) {
        SetSearchShown(false);
        display_.ShowSelectedRecord();
        return found;
    }
    Clear();
    RefillFromStandardStrip(strip_.get());
    typeIcons_.Forget();
    SetSearchShown(true);
    if (list_.Count() == 0 || list_.SelectedIndex() < 0) return found;
    display_.ShowFirstPage();
    RecordAdder& adder = FreshAdder();
    adder.onlyMatches = true;
    record_.recording = true;  // expanding results writes no selection file
    OnExit done([this] {
        adder_.onlyMatches = false;
        record_.recording = false;
    });
    const std::wstring folder = RecordFolder();
    for (int i = 0; i < list_.Count(); ++i) {
        bool matched = false;
        VisitRecordItems(JoinPath(folder, list_.Name(i) + kRecordExtension),
                         [&](const std::wstring& itemPath, const std::wstring& itemText) {
                             std::wstring p = ReplaceAll(itemPath, L"%20", L" ");
                             if (ToLower(p).find(s) == std::wstring::npos &&
                                 ToLower(itemText).find(s) == std::wstring::npos)
                                 return;
                             matched = true;
                             try {
                                 // An item found in several records is shown, and counted, once.
                                 if (!adder.InTree(p)) {
                                     adder.AddItem(p, itemText);
                                     ++found.items;
                                 }
                             } catch (...) {
                                 LogSwallowed(L"adding a search result");
                             }
                             RunTick(tick);
                         });
        if (matched) ++found.records;
    }
    return found;
}

bool RecordSession::Record(bool smartRecord, RecordingSources& sources, const RecordingSettings& settings,
                           const RecordingProgress& progress) {
    if (recordingNow_) return false;
    recordingNow_ = true;
    OnExit done([this, &progress] {
        progress.hint(L"");
        record_.recording = false;
        recordingNow_ = false;
    });
    progress.hint(kRecordingHints[0]);
    progress.restart(kRecordingHintCount);  // the scans, until the found items are counted
    if (searchShown_) LeaveSearch();
    if (!smartRecord) {
        record_.recording = true;
        // A recording that adds to the selected record keeps what the record holds.
        if (newRecord_) Clear();
    }
    if (newRecord_) {
        RefillFromStandardStrip(strip_.get());
        typeIcons_.Forget();
        display_.SetStrip(strip_.get());
    }
    RecordAdder& adder = FreshAdder();
    // The recording asks about the same paths and types again and again: its own machine
    // remembers the answers, for this recording only.
    RecordingResolutionMachine machine;
    adder.machine = &machine;
    adder.ForgetMachineAnswers();
    OnExit ownMachine([this] {
        adder_.machine = machine_.get();
        adder_.ForgetMachineAnswers();
    });
    // Smart Record ticks scan the same Recent folder again and again: an unchanged shortcut is
    // not read again.
    RecordingSettings tick = settings;
    if (smartRecord) tick.recent.shortcuts = &shortcutTargets_;
    bool found = CaptureInto(adder, record_, recentDocuments_, programNames_, sources, tick, progress);
    if (!found && !newRecord_) return false;
    if (treesChanging) treesChanging();
    display_.ShowFirstPage();
    const bool listed = SaveShownRecord();  // a save reads the record list again itself
    if (!listed) list_.Read(RecordFolder(), record_.currentRecordPath);
    list_.SelectCurrent(record_.currentRecordPath);
    progress.hint(L"Finish.");
    // Selected once, after the last hint: selecting walks the whole tree, and what the hint's
    // pass over the waiting messages did to the tree the selection undoes anyway.
    display_.SelectPath(adder.lastAdded());
    return true;
}

void RecordSession::SaveCurrentRecord() { SaveShownRecord(); }

bool RecordSession::SaveShownRecord() {
    // Search results are no record of their own: they never go over the selected one.
    if (searchShown_) return false;
    std::wstring folder = RecordFolder();
    bool usingNewRecordFlag = false;
    if (nameChosen_) {
        nameChosen_ = false;  // the record question named it, for this save only
    } else if (newRecord_ || !readWhole_) {
        // A record read only in part keeps its file: what is shown goes to a new record. With no
        // name free the path is empty, and the write below refuses and says why.
        record_.currentRecordPath = NewRecordName(folder);
        usingNewRecordFlag = true;
    } else {
        int index = list_.SelectedIndex();
        record_.currentRecordPath = list_.Count() > 0 && index >= 0
                                        ? JoinPath(folder, list_.Name(index) + kRecordExtension)
                                        : NewRecordName(folder);
    }
    std::wstring target = FolderOf(record_.currentRecordPath);
    if (!DirectoryExists(target) && !CreateFolderTree(target)) {
        // No folder for the record: the user may pick another one.
        if (!chooseRecordFolder_ || !chooseRecordFolder_()) return false;
        record_.currentRecordPath = JoinPath(RecordFolder(), FileNameOf(record_.currentRecordPath));
    }
    WriteFailure failure;
    if (!WriteRecord(record_, strip_.get(), record_.currentRecordPath, ModulePath(), &failure)) {
        unsavedChange_ = true;
        if (saveFailed) saveFailed(record_.currentRecordPath, failure);
        return false;
    }
    unsavedChange_ = false;
    // The flag is spent once its new record is written: later saves go to the record shown.
    if (usingNewRecordFlag) newRecord_ = false;
    if (!readWhole_ && partialNotice) partialNotice(L"");
    readWhole_ = true;
    list_.Read(RecordFolder(), record_.currentRecordPath);
    return true;
}

bool RecordSession::WriteTo(const std::wstring& recordPath) {
    if (!WriteRecord(record_, strip_.get(), recordPath, ModulePath())) return false;
    list_.Read(RecordFolder(), record_.currentRecordPath);
    return true;
}

int RecordSession::Duplicate() {
    newRecord_ = true;
    SetSearchShown(false);  // a copy of search results is a record of its own
    display_.ShowFirstPage();
    SaveCurrentRecord();
    list_.Read(RecordFolder(), record_.currentRecordPath);
    int index = list_.SelectCurrent(record_.currentRecordPath);
    display_.SelectPath(adder_.lastAdded());
    return index;
}

void RecordSession::ShowSelectedRecord() { display_.ShowSelectedRecord(); }

void RecordSession::ShowAllPageAndLastAdded() {
    display_.ShowFirstPage();
    display_.SelectPath(adder_.lastAdded());
}

void RecordSession::RestoreSmartRecordBox() { display_.RestoreSmartRecordBox(); }

}  // namespace tv
