// frame/: the main window and what frames its parts: their layout, the window's size and place,
// its keys and hints, the status bar, the parts the user shows or hides, and closing with a change.

#pragma once
// The program's main window, class "TTolvaneWindow": the frame around the record list, the
// record pages, the search panel and the progress strip. The shown record belongs to its
// RecordSession; the commands are rows of its command table. What the window does is done by
// its parts: the status bar, the shown parts, the keys, the context menus, the intake
// messages, the search commands and the selected record, each a class of its own.
#include <windows.h>

#include <memory>
#include <string>

#include "app/folders.h"
#include "app/options.h"
#include "base/handles.h"

namespace tv {

class InstanceBlock;
class ItemLauncher;
class MainWindowHosts;
class RealResolutionMachine;
struct MainWindowParts;

class TTolvaneWindow {
public:
    TTolvaneWindow(Settings& settings, InstanceBlock* instance);
    ~TTolvaneWindow();

    // Creates the window (not yet shown) and starts the first-run timer.
    bool Create(HINSTANCE instance);
    // Shows the window as remembered: normal at its stored place, or maximised.
    void Show(int showCommand);
    // The window's keys (see WindowKeys); true when the message was one.
    bool TranslateShortcut(MSG& msg);
    HWND hwnd() const { return hwnd_; }
    // The window's controls and parts, the one way in for tests and benchmarks.
    MainWindowParts& parts() { return *parts_; }

private:
    friend class MainWindowHosts;
    friend struct MainWindowParts;
    static constexpr UINT kMsgRunQueued = WM_APP + 2;  // work that waited for a long operation

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void FormCreate();
    void CreateControls();
    void AddCommands();
    void FormResize();
    // Laid out and painted, before the slower steps of the first run.
    void LayOut();
    // What a search found, in the status bar and in the hint strip; empty takes it from the strip.
    void TellSearchOutcome(const std::wstring& text);
    // WM_CLOSE: the window closes once nothing runs (CloseNow).
    void FormCloseQuery();
    void CloseNow();
    void TimerFirstRunTimer();
    void EnsureSettingsDialog();
    // Opens the settings dialog; true when the user took it with OK.
    bool OpenSettings();
    // Opens the add-item dialog, made on first use; true when the user confirmed it.
    bool OpenAddItem();
    void OnCommand(UINT id);
    void OnControl(HWND from, UINT code, UINT id);
    void SaveLayout();
    void ArrangeTextSizeClick(UINT id);
    void EnsureProgressStrip();
    void AddHints();
    // The launcher for one command, with a fresh view of the machine.
    ItemLauncher& Launcher();
    void AddItemCommands();
    void OpenSelectedNode();
    // Shows the record selected in the list.
    void LbRECsClick();
    // The record list read again from the record folder; answers how many records it lists.
    int ReadRecordList();
    void SelectRecord(int index);

    Settings& settings_;
    InstanceBlock* instance_;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    GdiOwner<HFONT> font_;
    bool showRunAsAdmin_ = true;
    bool maximisedAtStart_ = false;
    bool creating_ = true;  // no layout passes until every control exists
    SIZE laidOut_{-1, -1};  // the client size of the last layout pass
    MenuChecks menuChecks_;
    int startupRecordIndex_ = -1;
    std::unique_ptr<MainWindowParts> parts_;
    std::unique_ptr<RealResolutionMachine> launchMachine_;
    std::unique_ptr<ItemLauncher> launcher_;
};

}  // namespace tv
