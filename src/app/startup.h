#pragma once
// Start-up state of the process and the first-run step that follows window creation.
#include <string>
#include <vector>

#include "app/command_line.h"

namespace tv {

class SettingsStore;

// Fixed for the life of the process once the main window exists.
struct StartupState {
    std::vector<std::wstring> params;  // the parameters, without the program itself
    StartupSwitches switches;
    std::wstring versionName;          // "windows 7"...
    bool startupPhase = false;         // from window creation to the end of the first-run step
};
StartupState& Startup();

// Resume marker values: what an elevated restart reopens.
enum ResumeMarker { kResumeNone = 0, kResumeAddItem = 1, kResumeRecord = 2, kResumeSmartRecord = 3,
                    kResumeSettings = 4 };

// What the first-run step asks of the main window and of the parts it drives.
class FirstRunHost {
public:
    virtual ~FirstRunHost() = default;
    virtual SettingsStore& UserSettings() = 0;
    virtual SettingsStore& CommonSettings() = 0;
    virtual void ShowRunAsAdminItems(bool show) = 0;
    virtual bool RunningAsAdmin() = 0;
    virtual void PinStartMenuShortcut() = 0;
    virtual void LoadAndApplyOptions() = 0;
    virtual int ReadRecordList() = 0;  // number of records listed
    virtual void SelectRecord(int index) = 0;
    virtual void ShowSelectedRecord() = 0;
    virtual void TakeCommandLineItems() = 0;
    virtual void LayOut() = 0;
    virtual void EnsureSendToShortcut() = 0;
    virtual void CheckForUpdate() = 0;
    virtual void ReplayStartupRecord() = 0;  // selects, shows and replays it
    virtual void PressRecordButton() = 0;
    virtual void RecordNewNow() = 0;         // new-record flag set, record routine at once
    virtual void Reopen(int resumeMarker) = 0;
};

// Runs once, from the main window's one-shot timer.
void RunFirstRunStep(FirstRunHost& host, StartupState& state);

// Start-menu shortcut that Windows 7 pinning uses, and the Send To shortcut.
std::wstring StartMenuShortcutPath();
std::wstring SendToShortcutPath();
void PinShortcut(const std::wstring& path);
void CreateSendToShortcut(const std::wstring& exePath);

}  // namespace tv
