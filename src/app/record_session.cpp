#include "app/record_session.h"

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

namespace {
std::wstring Key(const std::wstring& path) { return ToLower(Trim(path)); }

// Where a new node of an item of this kind goes besides "All".
int KindPage(int kind) { return kind == kWebPage ? 3 : kind == kProgramOrDocument ? 1 : 2; }
}  // namespace

RecordSession::RecordSession(Options& options, RecordDisplay& display, RecordListView& list,
                             std::function<bool()> chooseRecordFolder)
    : options_(options), display_(display), list_(list), chooseRecordFolder_(std::move(chooseRecordFolder)) {
    record_.writeSelectionFile = [this](const std::wstring& path) { WriteSelectionFile(record_, path); };
    strip_ = CreateStandardStrip();
}

RecordSession::~RecordSession() {
    if (strip_) ImageList_Destroy(strip_);
}

void RecordSession::SetStrip(HIMAGELIST strip) {
    if (!strip || strip == strip_) return;
    HIMAGELIST old = strip_;
    strip_ = strip;
    display_.SetStrip(strip);
    if (old) ImageList_Destroy(old);
}

std::wstring RecordSession::RecordFolder() const { return options_.RecordFolder(); }

HWND RecordSession::RecordTree() { return display_.AllTree(); }

ReadOutcome RecordSession::Load(int index, const Tick& tick) {
    // Expanding nodes while the record loads must not write its selection file.
    record_.recording = true;
    OnExit loaded([this] { record_.recording = false; });
    record_.currentRecordPath = JoinPath(RecordFolder(), list_.Name(index) + kRecordExtension);
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
    ReadSelectionFile(record_, SelectionFilePath(record_.currentRecordPath));
    display_.ShowRecord(record_);
    return outcome;
}

void RecordSession::Clear() {
    display_.ClearTrees();
    keys_.clear();
    keyedNodes_ = 0;
    record_.items.Empty();
    for (tv::RecordTree* tree : {&record_.docs, &record_.apps, &record_.paths, &record_.pages}) tree->Clear();
}

void RecordSession::SyncKeys() {
    if (keyedNodes_ == record_.docs.top().size()) return;
    keys_.clear();
    for (const auto& node : record_.docs.top())
        if (record_.items.Valid(node->data.itemIndex)) keys_.insert(Key(record_.items.At(node->data.itemIndex).path));
    keyedNodes_ = record_.docs.top().size();
}

bool RecordSession::Contains(const std::wstring& path) {
    SyncKeys();
    return keys_.count(Key(path)) != 0;
}

void RecordSession::AddItem(const std::wstring& path, const std::wstring& title) {
    // Until the add operations exist, an item is a top-level entry of its plain kind.
    TMyDoc item;
    item.path = item.groupKey = path;
    item.title = title.empty() ? path : title;
    item.kind = IsWebAddress(path)                                  ? kWebPage
                : ProcessServices::Instance().FolderExists(path) ? kFolderOrLocation
                                                                   : kProgramOrDocument;
    item.imageIndex = IconIndex(path, L"", strip_);
    item.expanded = true;
    SyncKeys();
    int index = record_.items.Append(item);
    tv::RecordTree* kindTrees[] = {nullptr, &record_.apps, &record_.paths, &record_.pages};
    int page = KindPage(item.kind);
    for (auto [tree, p] : {std::pair<tv::RecordTree*, int>{&record_.docs, 0}, {kindTrees[page], page}}) {
        RecordNode* node = tree->AddSorted(nullptr, item.title, index);
        node->imageIndex = node->selectedImageIndex = item.imageIndex;
        display_.InsertNode(p, *node);
    }
    keys_.insert(Key(path));
    keyedNodes_ = record_.docs.top().size();
    if (item.kind == kWebPage) display_.ShowWebPageTab();
    lastAdded_ = path;
}

void RecordSession::SaveCurrentRecord() {
    std::wstring folder = RecordFolder();
    bool usingNewRecordFlag = false;
    if (nameChosen_) {
        nameChosen_ = false;  // the record question named it, for this save only
    } else if (newRecord_ || !readWhole_) {
        // A record read only in part keeps its file: what is shown goes to a new record.
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
        if (!chooseRecordFolder_ || !chooseRecordFolder_()) return;
        record_.currentRecordPath = JoinPath(RecordFolder(), FileNameOf(record_.currentRecordPath));
    }
    if (!WriteRecord(record_, strip_, record_.currentRecordPath, ModulePath())) {
        DWORD error = GetLastError();
        unsavedChange_ = true;
        if (saveFailed) saveFailed(record_.currentRecordPath, error);
        return;
    }
    unsavedChange_ = false;
    // The flag is spent once its new record is written: later saves go to the record shown.
    if (usingNewRecordFlag) newRecord_ = false;
    readWhole_ = true;
    list_.Read(RecordFolder(), record_.currentRecordPath);
}

bool RecordSession::WriteTo(const std::wstring& recordPath) {
    if (!WriteRecord(record_, strip_, recordPath, ModulePath())) return false;
    list_.Read(RecordFolder(), record_.currentRecordPath);
    return true;
}

int RecordSession::Duplicate() {
    newRecord_ = true;
    display_.ShowFirstPage();
    SaveCurrentRecord();
    list_.Read(RecordFolder(), record_.currentRecordPath);
    int index = list_.SelectCurrent(record_.currentRecordPath);
    display_.SelectPath(lastAdded_);
    return index;
}

void RecordSession::ShowSelectedRecord() { display_.ShowSelectedRecord(); }

void RecordSession::ShowAllPageAndLastAdded() {
    display_.ShowFirstPage();
    display_.SelectPath(lastAdded_);
}

void RecordSession::RestoreSmartRecordBox() { display_.RestoreSmartRecordBox(); }

}  // namespace tv
