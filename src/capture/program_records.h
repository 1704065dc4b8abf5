#pragma once
// Turning the running-program list into record items and into rows of the add-item dialog.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "capture/running_programs.h"
#include "records/record_tree.h"

namespace tv {

// A top-level node of the record tree as the presence test sees it.
struct TopNode {
    std::wstring itemPath;
    std::wstring caption;
};

// True when the record already holds the program: the same normalised path, and for
// explorer.exe also the same caption, so several shell places can stand side by side.
bool AlreadyInRecord(const std::wstring& path, const std::wstring& title,
                     const std::vector<TopNode>& topNodes);
// The top-level nodes of the shown record's "All" tree, as the presence test sees them.
std::vector<TopNode> TopNodesOf(const ShownRecord& record);

// The file name without its extension: the title of an entry that has none.
std::wstring PathDisplayName(const std::wstring& path);

// What recording the running programs needs of the shown record.
class ProgramRecordSink {
public:
    virtual ~ProgramRecordSink() = default;
    virtual bool AlreadyInRecord(const std::wstring& path, const std::wstring& title) = 0;
    virtual void SetLastAdded(const std::wstring& path) = 0;
    virtual void AddEntry(const std::wstring& path, const std::wstring& title) = 0;
    // A program of the scan, with its windows and command lines; a plain entry unless the
    // sink takes more of it.
    virtual void AddProgram(const ProgramPair& found, const std::wstring& path, const std::wstring& title) {
        (void)found;
        AddEntry(path, title);
    }
    virtual void StepGauge() = 0;
};

// The documents a program shows beyond those its file types give it: the arguments of its
// command lines that name existing files or folders, and the `recent` documents whose file
// name one of its window titles holds. In that order, each once.
std::vector<std::wstring> DocumentsOfProgram(const ProgramPair& found, const std::vector<std::wstring>& recent,
                                             const std::function<bool(const std::wstring&)>& exists);

// Gives the recorded program `path` titled `title` (a top-level node of the "All" tree) the
// place of its first window, and each document under it the place of the window whose title
// holds the document's file name (the longest such name, where several fit one title).
void PlaceProgramWindows(ShownRecord& record, const std::wstring& path, const std::wstring& title,
                         const std::vector<ProgramWindow>& windows);

// Adds every program of the list that the record does not hold yet; true when one was added.
bool RecordRunningPrograms(const std::vector<ProgramPair>& programs, ProgramRecordSink& sink);

// Appends the add-item dialog's rows for the running programs to a report list view (caption,
// then the path as first sub-item). Rows already listed, programs of the start-up filter list
// and the program itself are skipped. True when a row was added.
struct ProgramRowServices {
    // Whether the start-up filter list holds a path.
    std::function<bool(const std::wstring& path)> inStartupFilterList = [](const std::wstring&) { return false; };
    std::function<int(const std::wstring& path)> iconIndex = [](const std::wstring&) { return 0; };
    std::function<std::wstring(const std::wstring& path)> displayName = PathDisplayName;
    std::function<void()> stepGauge = [] {};
};
// The text of a list view cell (column 0 is the caption).
std::wstring ListViewText(HWND listView, int row, int column);

bool AppendRunningProgramRows(HWND listView, const std::vector<ProgramPair>& programs,
                              const ProgramRowServices& services);

}  // namespace tv
