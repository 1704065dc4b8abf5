#include "app/intake.h"

#include "app/command_line.h"
#include "app/handoff.h"
#include "base/debug_log.h"
#include "base/redraw.h"

namespace tv {

bool TakeItem(RecordIntake& record, const std::wstring& path, const std::wstring& title) {
    if (record.Contains(path)) {
        record.NoteExisting(path);
        return false;
    }
    record.AddItem(path, title);
    return true;
}

void TakeHandOffSteps(RecordIntake& record, const std::vector<IntakeStep>& steps) {
    bool added = false;
    try {
        record.LoadProgramNames();
        RedrawSuspender quiet(record.RecordTree());
        record.ClearLastAdded();
        for (const auto& step : steps) added |= TakeItem(record, step.path);
    } catch (...) {
        LogSwallowed(L"taking handed-off items");  // what was taken stays
    }
    try {
        if (added) record.SaveCurrentRecord();
        record.ShowAllPageAndLastAdded();
    } catch (...) {
        LogSwallowed(L"saving handed-off items");
    }
}

bool TakeMenuItems(RecordIntake& record) {
    std::vector<std::wstring> lines;
    if (!ReadMenuFile(lines)) return false;
    for (const auto& step : MenuFileSteps(lines)) {
        TakeItem(record, step.path);
    }
    return true;
}

void TakeCommandLineItems(RecordIntake& record, const std::vector<std::wstring>& params) {
    bool added = false, menuSeen = false;
    try {
        RedrawSuspender quiet(record.RecordTree());
        if (!params.empty()) record.LoadProgramNames();
        for (const auto& step : CommandLineSteps(params)) {
            switch (step.kind) {
                case IntakeStep::Kind::Menu:
                    menuSeen = true;
                    if (TakeMenuItems(record)) added = true;
                    break;
                case IntakeStep::Kind::Item:
                case IntakeStep::Kind::ListItem:
                    if (TakeItem(record, step.path)) added = true;
                    break;
                case IntakeStep::Kind::ListEnd:
                    record.SaveCurrentRecord();
                    record.ShowSelectedRecord();
                    record.ShowAllPageAndLastAdded();
                    added = true;
                    break;
            }
        }
    } catch (...) {
        LogSwallowed(L"taking command-line items");
    }
    try {
        if (added) record.SaveCurrentRecord();
        record.ShowAllPageAndLastAdded();
        if (menuSeen) record.RestoreSmartRecordBox();
    } catch (...) {
        LogSwallowed(L"taking command-line items");
    }
}

}  // namespace tv
