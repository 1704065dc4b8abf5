#pragma once
// The program's main window, class "TTolvaneWindow".
#include <windows.h>

#include <string>
#include <vector>

#include "app/folders.h"
#include "app/intake.h"
#include "app/startup.h"
#include "records/record_tree.h"
#include "ui/main/record_views.h"

namespace tv {

class InstanceBlock;

class TTolvaneWindow : public RecordIntake, public FirstRunHost {
public:
    TTolvaneWindow(Settings& settings, InstanceBlock* instance);
    ~TTolvaneWindow() override;

    // Creates the window (not yet shown) and starts the first-run timer.
    bool Create(HINSTANCE instance);
    void Show(int showCommand);
    HWND hwnd() const { return hwnd_; }
    HWND tvDocs() const { return TVDocs; }

    static std::wstring Caption();  // "TolVane Free 3.1"

    // RecordIntake
    HWND RecordTree() override { return TVDocs; }
    void LoadProgramNames() override {}
    void ClearLastAdded() override { lastAdded_.clear(); }
    bool Contains(const std::wstring& path) override;
    void NoteExisting(const std::wstring& path) override { lastAdded_ = path; }
    void AddItem(const std::wstring& path) override;
    void SaveCurrentRecord() override {}
    void ShowSelectedRecord() override {}
    void ShowAllPageAndLastAdded() override;
    void RestoreSmartRecordBox() override;

    // FirstRunHost
    SettingsStore& UserSettings() override { return *settings_.user; }
    SettingsStore& CommonSettings() override { return *settings_.common; }
    void ShowRunAsAdminItems(bool show) override { showRunAsAdmin_ = show; }
    bool RunningAsAdmin() override;
    void PinStartMenuShortcut() override;
    void LoadAndApplyOptions() override;
    int ReadRecordList() override { return 0; }
    void SelectRecord(int) override {}
    void TakeCommandLineItems() override;
    void LayOut() override;
    void EnsureSendToShortcut() override;
    void CheckForUpdate() override {}
    void ReplayStartupRecord() override {}
    void PressRecordButton() override {}
    void RecordNewNow() override {}
    void Reopen(int) override {}

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void FormCreate();
    void TimerFirstRunTimer();
    RECT DefaultBounds() const;

    Settings& settings_;
    InstanceBlock* instance_;
    HWND hwnd_ = nullptr;
    HWND TVDocs = nullptr;
    HFONT font_ = nullptr;
    HIMAGELIST ImageList1 = nullptr;  // the working icon strip of the shown record
    ShownRecord record_;
    RecordViews views_;
    std::wstring lastAdded_;
    bool showRunAsAdmin_ = true;
    bool smartRecord_ = false;
};

}  // namespace tv
