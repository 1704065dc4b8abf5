#include "ui/main/intakes/window_intakes.h"

#include <cstring>
#include <memory>

#include "app/handoff.h"
#include "app/intake.h"
#include "base/process_services.h"
#include "base/debug_log.h"
#include "base/redraw.h"
#include "records/record_library.h"
#include "ui/main/frame/status_bar.h"
#include "ui/main/intakes/text_drop.h"

namespace tv {

void WindowIntakes::FilesDropped(HDROP drop) {
    std::vector<std::wstring> files;
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        wchar_t name[1024] = {};
        if (DragQueryFileW(drop, i, name, 1024)) files.push_back(name);
    }
    DragFinish(drop);
    FilesDropped(files);
}

void WindowIntakes::FilesDropped(const std::vector<std::wstring>& files) {
    work_.RunOrQueue([this, files] { TakeFiles(files); });
}

void WindowIntakes::TellAdded(const AddedCounts& before) {
    // What was left out stays told beside what was added.
    std::wstring text = AddedSummary(session_.added() - before, L"added to", RecordName(session_.currentRecordPath()));
    for (const std::wstring& note : refusedNotes_) text += L" " + note;
    refusedNotes_.clear();
    if (told) told(text);
}

void WindowIntakes::NoteRefused(const std::wstring& message) { refusedNotes_.push_back(message); }

void WindowIntakes::TakeFiles(const std::vector<std::wstring>& files) {
    refusedNotes_.clear();  // what an earlier intake or recording left out is told already
    const AddedCounts before = session_.added();
    bool added = false;
    {
        RedrawSuspender quiet(session_.RecordTree());
        session_.LoadProgramNames();
        for (const std::wstring& name : files) {
            if (TakeItem(session_, name)) added = true;
            session_.NoteExisting(name);
        }
    }
    if (added) session_.SaveCurrentRecord();
    session_.ShowAllPageAndLastAdded();
    if (!files.empty()) TellAdded(before);
}

void WindowIntakes::TextDropped(const std::wstring& text) {
    work_.RunOrQueue([this, text] { TakeDroppedText(text); });
}

namespace {
// Adding dropped text: an address without a title takes the page's own.
class DropTitleHost : public IntakeTitleHost {
public:
    DropTitleHost(RecordIntake& record, const std::function<std::wstring(const std::wstring&)>& fetch)
        : IntakeTitleHost(record), fetch_(fetch) {}
    bool FetchPageTitle(const std::wstring& address, std::wstring& title) override {
        if (!fetch_) return false;
        title = fetch_(address);
        return !title.empty();
    }

private:
    const std::function<std::wstring(const std::wstring&)>& fetch_;
};
}  // namespace

void WindowIntakes::TakeDroppedText(const std::wstring& text) {
    refusedNotes_.clear();  // what an earlier intake or recording left out is told already
    const AddedCounts before = session_.added();
    {
        RedrawSuspender quiet(session_.RecordTree());
        // A folder or page open on screen lends the text its title.
        std::wstring title;
        try {
            if (openLocationTitle) title = openLocationTitle(text);
        } catch (...) {
            LogSwallowed(L"looking for the dropped text among the open locations");
        }
        DropTitleHost titles(session_, fetchPageTitle);
        AddWithTitle(text, title, titles);
    }
    session_.SaveCurrentRecord();
    pages_.ShowPage(0);
    pages_.SelectPath(text);
    TellAdded(before);
}

void WindowIntakes::DeviceArrived() {
    work_.RunOrQueue([this] { TakeRemovableDrives(); }, L"device");
}

void WindowIntakes::TakeRemovableDrives() {
    refusedNotes_.clear();  // what an earlier intake or recording left out is told already
    const AddedCounts before = session_.added();
    const std::vector<std::wstring> roots = RemovableDriveRoots(RealDriveType);
    bool added = false;
    {
        RedrawSuspender quiet(session_.RecordTree());
        for (const std::wstring& root : roots) {
            std::wstring title = L"Removable Disk (" + root.substr(0, 2) + L")";
            if (TakeItem(session_, root, title)) added = true;
            session_.NoteExisting(root);
        }
    }
    if (added) session_.SaveCurrentRecord();
    session_.ShowAllPageAndLastAdded();
    if (!roots.empty()) TellAdded(before);
}

LRESULT WindowIntakes::CopyDataReceived(const COPYDATASTRUCT* data) {
    const COPYDATASTRUCT expected = HandOffMessageData();
    if (!ready_ || held_ || !data || data->dwData != expected.dwData || data->cbData != expected.cbData || !data->lpData ||
        std::memcmp(data->lpData, expected.lpData, expected.cbData) != 0)
        return 0;
    // The items are read now, so the sender is free at once and a later start may write the
    // file again; adding them waits for whatever runs.
    std::vector<IntakeStep> steps;
    std::vector<std::wstring> refusedItems;
    if (TakeHandOff(steps, refusedItems)) handedOff_.insert(handedOff_.end(), steps.begin(), steps.end());
    for (const std::wstring& item : refusedItems) {
        if (refused) refused(RefusedItemMessage(item));
        handedOffRefusals_.push_back(RefusedItemMessage(item));
    }
    return 1;
}

void WindowIntakes::TakeHandedOffItems() {
    std::vector<IntakeStep> steps;
    steps.swap(handedOff_);
    // The hand-off's own refusals were told when it arrived; they go with what it added.
    refusedNotes_.clear();
    refusedNotes_.swap(handedOffRefusals_);
    if (steps.empty()) return;
    const AddedCounts before = session_.added();
    TakeHandOffSteps(session_, steps);
    TellAdded(before);
}

}  // namespace tv
