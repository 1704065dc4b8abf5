#pragma once
// The record list's commands on whole records: rename, delete (to the Recycle Bin, with the
// progress strip and Stop) and duplicate, and the list's own keys.
#include <windows.h>

#include <functional>
#include <memory>

#include "app/record_session.h"
#include "ui/main/work/long_work.h"
#include "ui/main/work/progress_strip.h"
#include "ui/main/views/record_list.h"

namespace tv {

class Prompter;
class TFrmReName;

class RecordListCommands {
public:
    struct Window {
        std::function<HWND()> hwnd;             // the main window, once made
        std::function<void()> layOut;           // after the progress strip shows or hides
        std::function<void()> readRecordList;   // lists the records again
        std::function<void()> showProgress;     // makes the strip when first needed
        std::function<void(int)> storeSelected; // the selected record's index, stored
        std::function<void()> describeState;    // the status bar, after each command
        std::function<void()> replay;           // "&Replay All" on the selected record
    };
    RecordListCommands(RecordSession& session, RecordList& records, ProgressStrip& progress, LongWork& work,
                       Prompter*& prompter, Window window);
    ~RecordListCommands();

    void BtnRenameClick() { Rename(L""); }
    // Renames the selected record, the dialog proposing `proposed` (its own name when empty),
    // and lists the records again.
    void Rename(const std::wstring& proposed);
    void BtnDeleteClick();
    void DuplicateRecord();
    // "Create a Dulpicated File": the shown record saved as a new one, the new-record flag left
    // as it was.
    void CopyandPaste1Click();
    // "Create a Blank File": a new record with nothing in it, in the file and in memory.
    void CreateaBlankFile1Click();
    // The list's keys: Delete, F2 (rename), Enter (replay), F5 (read the list again), Ctrl+A
    // (select all) and Ctrl+V (duplicate). True when the key was one of them; while a long
    // operation runs only Delete and F5 count, and nothing is done.
    bool KeyDown(UINT key);

private:
    RecordSession& session_;
    RecordList& records_;
    ProgressStrip& progress_;
    LongWork& work_;
    Prompter*& prompter_;
    Window window_;
    std::unique_ptr<TFrmReName> FrmReName;
};

}  // namespace tv
