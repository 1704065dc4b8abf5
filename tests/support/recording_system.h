#pragma once
// What the system commands would ask of Windows, for tests of the window.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "base/constants.h"
#include "replay/recording_shell.h"
#include "ui/main/commands/system_commands.h"

namespace tvtest {

// Remembers what the commands asked of Windows, in the recording shell's own call list so that
// one list shows everything a command did.
class RecordingSystem : public tv::SystemCalls {
public:
    explicit RecordingSystem(RecordingShell& shell) : shell_(shell) {}
    std::wstring favorites = L"C:\\users\\me\\Favorites", documents = L"C:\\users\\me\\Documents";
    int helperExitCode = tv::kElevationStarted;

    void ToggleDesktop() override { Note(L"ToggleDesktop"); }
    void ClearRecentDocuments() override { Note(L"ClearRecent"); }
    void EndSession(UINT flags, bool privilege) override {
        Note(L"EndSession", std::to_wstring(flags) + (privilege ? L"+privilege" : L""));
    }
    std::wstring FolderPath(int csidl) override { return csidl == CSIDL_FAVORITES ? favorites : documents; }
    int RunElevationHelper(HWND, const std::wstring& helper) override {
        Note(L"Helper", helper);
        return helperExitCode;
    }

private:
    void Note(const std::wstring& kind, const std::wstring& file = L"") {
        ShellCall call;
        call.kind = kind;
        call.file = file;
        shell_.calls.push_back(call);
    }
    RecordingShell& shell_;
};

}  // namespace tvtest
