#pragma once
// The shown record and everything that belongs to it: its items and trees, its working icon
// strip, the path it is saved to, the new-record flag and the last added path. It loads, saves,
// adds and duplicates, and takes the intakes' items. It sees the windows only through the
// narrow interfaces below, so it is tested without a main window.
#include <windows.h>
#include <objidl.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/intake.h"
#include "base/handles.h"
#include "base/tick.h"
#include "capture/add_operations.h"
#include "capture/recording.h"
#include "records/record_file.h"
#include "records/icon_strip.h"
#include "records/record_tree.h"

namespace tv {

class Options;

// The four trees and the pages they lie on.
class RecordDisplay {
public:
    virtual ~RecordDisplay() = default;
    virtual void ClearTrees() = 0;  // before the model is emptied: the controls point into it
    virtual void ShowRecord(const ShownRecord& record) = 0;
    virtual void InsertNode(int page, const RecordNode& node) = 0;
    virtual void SetStrip(HIMAGELIST strip) = 0;
    virtual void ShowWebPageTab() = 0;
    virtual void ShowFirstPage() = 0;
    virtual void SelectPath(const std::wstring& path) = 0;
    virtual HWND AllTree() = 0;  // its repainting stops while items are taken
    // Window-level steps an intake ends with.
    virtual void ShowSelectedRecord() = 0;
    virtual void RestoreSmartRecordBox() = 0;
};

// The record list as the shown record needs it.
class RecordListView {
public:
    virtual ~RecordListView() = default;
    virtual bool Read(const std::wstring& folder, const std::wstring& currentRecordPath) = 0;
    virtual int Count() const = 0;
    virtual std::wstring Name(int index) const = 0;
    virtual int SelectedIndex() const = 0;
    virtual int SelectCurrent(const std::wstring& recordPath) = 0;
};

// What a search found: the items it shows, and how many records held at least one of them.
struct SearchOutcome {
    int items = 0;
    int records = 0;
};

class RecordSession : public RecordIntake, private RecordAddView {
public:
    // `chooseRecordFolder` lets the user pick another record folder when the one set cannot be
    // made; false when the user declined.
    RecordSession(Options& options, RecordDisplay& display, RecordListView& list,
                  std::function<bool()> chooseRecordFolder = nullptr);
    ~RecordSession() override;
    RecordSession(const RecordSession&) = delete;
    RecordSession& operator=(const RecordSession&) = delete;

    ShownRecord& record() { return record_; }
    const ShownRecord& record() const { return record_; }
    HIMAGELIST strip() const { return strip_.get(); }
    void SetStrip(HIMAGELIST strip);  // takes ownership
    std::wstring RecordFolder() const;
    const std::wstring& currentRecordPath() const { return record_.currentRecordPath; }
    void SetCurrentRecordPath(const std::wstring& path) { record_.currentRecordPath = path; }
    bool newRecordFlag() const { return newRecord_; }
    void SetNewRecordFlag(bool on) { newRecord_ = on; }
    void SetNameChosen(bool on) { nameChosen_ = on; }
    const std::wstring& lastAdded() const { return adder_.lastAdded(); }
    RecordAdder& adder() { return adder_; }
    // What adds have put into the records shown so far; take the difference around a run of adds.
    const AddedCounts& added() const { return adder_.added(); }
    // The documents a newly added program takes under its node.
    RecentDocumentList& recentDocuments() { return recentDocuments_; }
    InstalledProgramNames& programNames() { return programNames_; }
    // False while the shown record is one that was not read whole: its file is never written
    // over, and the next save makes a new record instead.
    bool readWhole() const { return readWhole_; }
    // True from a failed save until a save succeeds: the trees hold a change the disk does not.
    bool unsavedChange() const { return unsavedChange_; }
    // Told when a save fails, with the record's path and the reason.
    std::function<void(const std::wstring& path, const WriteFailure& why)> saveFailed;
    // Told whenever the shown record turns out not to be read whole (with what the user should
    // know) and when it no longer is such a record (empty): read whole, or saved as a new one.
    std::function<void(const std::wstring& notice)> partialNotice;
    // Told when the trees start or stop holding search results instead of a record.
    std::function<void(bool shown)> searchShownChanged;
    // Told before an add first changes what the trees show, so a recording that finds nothing
    // leaves the trees unpainted.
    std::function<void()> treesChanging;
    // Told of a path no intake or recording may add: a record file could not carry it.
    std::function<void(const std::wstring& path)> refused;

    // Reads the record listed at `index` into the trees. `tick` runs between items.
    ReadOutcome Load(int index, const Tick& tick = nullptr);
    // Empties the model and the trees.
    void Clear();
    // Shows every item of every listed record whose path or caption holds `text` (any case), as
    // a record of its own; nothing is saved over the selected record while it is shown. An empty
    // text shows the selected record again.
    SearchOutcome Search(const std::wstring& text, const Tick& tick = nullptr);
    bool searchShown() const { return searchShown_; }
    // One recording. By hand it starts from empty trees, unless it adds to the selected record
    // (no new-record flag); in Smart Record it adds to what is shown. The result is saved when
    // something new was found or a new record was asked for. A request while a recording runs
    // is dropped (false). True when the result was saved and shown.
    bool Record(bool smartRecord, RecordingSources& sources, const RecordingSettings& settings,
                const RecordingProgress& progress);
    bool recordingNow() const { return recordingNow_; }
    // Writes the three files under `recordPath`, then lists the records again.
    bool WriteTo(const std::wstring& recordPath);
    // Saves the record as a new one and selects it in the list; answers its index there.
    int Duplicate();

    // RecordIntake
    HWND RecordTree() override;
    void LoadProgramNames() override;
    void ClearLastAdded() override { adder_.SetLastAdded(L""); }
    bool Contains(const std::wstring& path) override;
    void NoteExisting(const std::wstring& path) override { adder_.SetLastAdded(path); }
    void AddItem(const std::wstring& path, const std::wstring& title) override;
    void SaveCurrentRecord() override;
    void ShowSelectedRecord() override;
    void ShowAllPageAndLastAdded() override;
    void RestoreSmartRecordBox() override;

private:
    // RecordAddView
    void NodeAdded(int page, const RecordNode& node) override;
    void ShowWebPageTab() override;
    void Refused(const std::wstring& path) override {
        if (refused) refused(path);
    }
    // Saves the shown record as SaveCurrentRecord does; true when it was written, and the
    // record list read again after it.
    bool SaveShownRecord();
    // The adds of one run see the disk as it is now, not as it was at the last run.
    RecordAdder& FreshAdder();
    // A change while search results are shown goes to the selected record, shown again first.
    void LeaveSearch();
    void SetSearchShown(bool shown);

    Options& options_;
    RecordDisplay& display_;
    RecordListView& list_;
    std::function<bool()> chooseRecordFolder_;
    ShownRecord record_;
    ImageListOwner strip_;  // the working icon strip of the shown record
    TypeIcons typeIcons_;         // its images shared by every file of a type
    bool newRecord_ = false;      // the next save writes a new record
    bool nameChosen_ = false;     // the record question named it, for the next save only
    bool readWhole_ = true;
    bool unsavedChange_ = false;
    bool searchShown_ = false;
    bool recordingNow_ = false;
    RecentDocumentList recentDocuments_;
    ShortcutTargetMemo shortcutTargets_;  // the Recent folder's shortcuts at the last Smart Record tick
    InstalledProgramNames programNames_;
    std::unique_ptr<RealResolutionMachine> machine_;
    ULONGLONG machineMade_ = 0;
    RecordAdder adder_;
};

}  // namespace tv
