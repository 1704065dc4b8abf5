#pragma once
// Taking items into the shown record: from a hand-off file, from this process's own
// parameters, and from the Explorer menu's file.
#include <windows.h>

#include <string>
#include <vector>

#include "app/command_line.h"

namespace tv {

// What the intakes need of the shown record and the main window.
class RecordIntake {
public:
    virtual ~RecordIntake() = default;
    virtual HWND RecordTree() = 0;           // stops repainting while items are taken
    virtual void LoadProgramNames() = 0;     // the installed-program name table, once, where built
    virtual void ClearLastAdded() = 0;
    virtual bool Contains(const std::wstring& path) = 0;     // presence test of the record
    virtual void NoteExisting(const std::wstring& path) = 0; // select it instead of adding
    virtual void AddItem(const std::wstring& path, const std::wstring& title) = 0;  // empty title: none
    virtual void SaveCurrentRecord() = 0;
    virtual void ShowSelectedRecord() = 0;
    virtual void ShowAllPageAndLastAdded() = 0;  // first page, node of the last added path
    virtual void RestoreSmartRecordBox() = 0;    // after a menu hand-off
};

// Selects an item the record holds, adds one it does not; true when it was added.
bool TakeItem(RecordIntake& record, const std::wstring& path, const std::wstring& title = L"");

// The items of a hand-off, read from "sendparam.txt" when the message came, taken into the
// record and saved.
void TakeHandOffSteps(RecordIntake& record, const std::vector<IntakeStep>& steps);

// The first instance's own parameters (run by the first-run step).
void TakeCommandLineItems(RecordIntake& record, const std::vector<std::wstring>& params);

// The lines of "ctmenu.txt"; true when the file was there and its lines were taken.
bool TakeMenuItems(RecordIntake& record);

}  // namespace tv
