#include "ui/main/views/selected_record.h"

#include "app/options.h"
#include "app/record_session.h"
#include "app/settings_store.h"
#include "base/debug_log.h"
#include "records/record_library.h"
#include "ui/main/menus/context_menus.h"
#include "ui/main/work/long_work.h"
#include "ui/main/menus/main_menus.h"
#include "ui/main/work/progress_strip.h"
#include "ui/main/views/record_list.h"
#include "ui/main/views/record_pages.h"
#include "ui/main/frame/status_bar.h"
#include "ui/main/frame/unsaved_change.h"
#include "ui/main/frame/window_layout.h"
#include "ui/message_pump.h"

namespace tv {

void SelectedRecord::Show(bool store) {
    int index = p_.list.SelectedIndex();
    if (index < 0) return;
    LongWork::Scope busy(p_.work);
    // Reading a record replaces what the trees show: a change not on disk is asked about first.
    if (!MayLeaveShownRecord(index)) return;
    AddSearchItem(p_.menus.PopupMenuMore);
    // The window paints and its Stop button works while a large record is read; clicks and
    // hand-offs meanwhile wait for the reading to end. The trees stop repainting themselves
    // while they are emptied and while they are filled.
    p_.session.Load(index, [] { KeepResponsive(); });
    Describe();
    if (!p_.session.readWhole())
        p_.status.SetText(0,
                          L"   File Name :" + RecordName(p_.session.currentRecordPath()) +
                              L" was not read completely; changes are saved as a new record.",
                          p_.session.currentRecordPath());
    p_.progress.Show(false);
    if (store) Store(index);
    MarkReplayAtStart(p_.menus, index == p_.startupIndex);
}

bool SelectedRecord::MayLeaveShownRecord(int& index) {
    if (!p_.session.unsavedChange() || !p_.prompter) return true;
    const std::wstring wanted = p_.list.Name(index);
    // While the user decides, the list names the shown record again: a save tried again goes
    // to the shown record's own file, and a closed question leaves it selected.
    p_.list.SelectCurrent(p_.session.currentRecordPath());
    if (!SettleUnsavedChange(p_.window, p_.session, *p_.prompter)) return false;
    // A save as a new record has listed one more record, so the entry is found by its name.
    index = -1;
    for (int i = 0; i < p_.list.Count() && index < 0; ++i)
        if (p_.list.Name(i) == wanted) index = i;
    p_.list.SelectByIndex(index);
    return index >= 0;
}

void SelectedRecord::Store(int index) {
    if (index < 0) return;
    try {
        StoreSelectedRecord(p_.user, index);
    } catch (const SettingsWriteError&) {
        LogSwallowed(L"storing the selected record");
    }
}

void SelectedRecord::Describe() {
    described_ = DescribedState();
    p_.status.DescribeRecord(p_.list, p_.session.currentRecordPath(), p_.options.RecordFolder());
}

void SelectedRecord::SelectionChanged() {
    if (DescribedState() != described_) Describe();
}

std::wstring SelectedRecord::DescribedState() const {
    const int index = p_.list.SelectedIndex();
    return (index < 0 ? L"" : p_.list.Name(index)) + L"\n" + p_.session.currentRecordPath();
}

}  // namespace tv
