#include "ui/main/frame/unsaved_change.h"

#include "app/record_session.h"
#include "ui/dialogs/prompter.h"

namespace tv {

bool SettleUnsavedChange(HWND owner, RecordSession& session, Prompter& prompter) {
    while (session.unsavedChange()) {
        int choice = prompter.Choose(owner, L"The changes to \"" + session.currentRecordPath() + L"\" are not saved.",
                                     {L"&Try again", L"Save as a &new record", L"&Discard them"});
        if (choice < 0) return false;
        if (choice == 2) return true;
        if (choice == 1) session.SetNewRecordFlag(true);
        session.SaveCurrentRecord();
    }
    return true;
}

}  // namespace tv
