#pragma once
// The main window as the first-run step and the options see it.
#include "app/options.h"
#include "app/startup.h"
#include "ui/main/frame/main_window.h"

namespace tv {

class MainWindowHosts : public FirstRunHost, public OptionsHost {
public:
    explicit MainWindowHosts(TTolvaneWindow& window) : w_(window) {}

    // FirstRunHost
    SettingsStore& UserSettings() override { return *w_.settings_.user; }
    SettingsStore& CommonSettings() override { return *w_.settings_.common; }
    void ShowRunAsAdminItems(bool show) override { w_.showRunAsAdmin_ = show; }
    bool RunningAsAdmin() override;
    void PinStartMenuShortcut() override;
    void LoadAndApplyOptions() override;
    int ReadRecordList() override { return w_.ReadRecordList(); }
    void SelectRecord(int index) override { w_.SelectRecord(index); }
    void ShowSelectedRecord() override { w_.LbRECsClick(); }
    void TakeCommandLineItems() override;
    void LayOut() override { w_.LayOut(); }
    void EnsureSendToShortcut() override;
    void CheckForUpdate() override {}  // this build has no update check
    void PressRecordButton() override;
    void ReplayStartupRecord() override;
    void RecordNewNow() override;
    void Reopen(int resumeMarker) override;
    void ResumeSmartRecord();

    // OptionsHost
    void SetMenuChecks(const MenuChecks& checks) override;
    int StartupRecordIndex() override { return w_.startupRecordIndex_; }
    void SetStartupRecordIndex(int index) override { w_.startupRecordIndex_ = index; }
    void SetTextSize(int size) override;
    void ApplyTextSize() override;
    void SetRecordInterval(int seconds) override;
    void SetAlwaysOnTop(bool onTop) override;
    void HideStartFilterList() override;
    void ReadRecordList(const std::wstring&) override { w_.ReadRecordList(); }
    bool RunAsAdministrator() override;
    void Tell(const std::wstring& text) override;

private:
    TTolvaneWindow& w_;
};

}  // namespace tv
