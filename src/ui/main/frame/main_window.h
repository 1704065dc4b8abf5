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
#include "app/record_session.h"
#include "replay/item_launcher.h"
#include "replay/shell_calls.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/main/commands/command_table.h"
#include "ui/main/intakes/intake_messages.h"
#include "ui/main/work/long_work.h"
#include "ui/main/frame/main_layout.h"
#include "ui/main/menus/main_menus.h"
#include "ui/main/work/progress_strip.h"
#include "ui/main/views/record_list.h"
#include "ui/main/commands/record_list_commands.h"
#include "ui/main/views/record_list_hint.h"
#include "ui/main/views/record_pages.h"
#include "ui/main/commands/replay_commands.h"
#include "ui/main/commands/search_commands.h"
#include "ui/main/views/search_panel.h"
#include "ui/main/views/selected_record.h"
#include "ui/main/frame/shown_parts.h"
#include "ui/main/frame/status_bar.h"
#include "ui/main/frame/window_hints.h"
#include "ui/main/intakes/window_intakes.h"
#include "ui/main/frame/window_keys.h"

namespace tv {

class InstanceBlock;
class Prompter;
class RecordingCommands;
class SmartRecord;
class StartupFilterView;

class MainWindowHosts;

class TTolvaneWindow {
public:
    TTolvaneWindow(Settings& settings, InstanceBlock* instance);
    ~TTolvaneWindow();

    // Creates the window (not yet shown) and starts the first-run timer.
    bool Create(HINSTANCE instance);
    // Shows the window as remembered: normal at its stored place, or maximised.
    void Show(int showCommand);
    // The window's keys (see WindowKeys); true when the message was one.
    bool TranslateShortcut(MSG& msg) { return keys_.Translate(hwnd_, parts_, msg); }
    HWND hwnd() const { return hwnd_; }
    HWND tvDocs() const { return pages_.views().TVDocs; }

    // The parts the user can show or hide, and the menus that switch them.
    bool menuBarShown() const { return shown_.menuBarShown(); }
    bool statusBarShown() const { return shown_.statusBarShown(); }
    bool recordListShown() const { return shown_.recordListShown(); }
    HMENU mainMenu() const { return menus_.MainMenu1; }
    HMENU appMenu() const { return menus_.PmApp; }
    HWND recordList() const { return LbRECs; }
    HWND statusBar() const { return status_.hwnd(); }
    HWND pageControl() const { return pages_.pageControl(); }
    HMENU treeMenu() const { return menus_.PmDocTree; }
    HMENU recordListMenu() const { return menus_.PmRecList; }
    HMENU moreMenu() const { return menus_.PopupMenuMore; }
    HWND hintTooltip() const { return hints_.tooltip(); }
    RecordViews& views() { return pages_.views(); }
    RecordSession& session() { return *session_; }
    ShownRecord& shownRecord() { return session_->record(); }
    RecordList& records() { return records_; }
    const MainMenus& menus() const { return menus_; }
    ProgressStrip& progress() { return progress_; }
    HWND searchBox() const { return search_.box(); }
    bool searchShown() const { return search_.shown(); }
    int textSize() { return views().textSize(); }
    bool newRecordFlag() const { return session_->newRecordFlag(); }
    void SetNewRecordFlag(bool on) { session_->SetNewRecordFlag(on); }
    std::wstring currentRecordPath() const { return session_->currentRecordPath(); }
    std::wstring RecordFolder() const { return options_.RecordFolder(); }
    Options* options() { return &options_; }
    TFrmMySettings* settingsDialog() { return FrmMySettings.get(); }
    // True while a long operation runs; what arrives meanwhile waits in `longWork()`.
    bool busy() const { return work_.busy(); }
    LongWork& longWork() { return work_; }
    // Questions and messages go through this; tests answer them.
    void SetPrompter(Prompter& prompter) { prompter_ = &prompter; }
    // Runs a command as its menu item or key would.
    void Command(UINT id) { OnCommand(id); }
    // True when a menu item or key with this command has something to do.
    bool Handles(UINT id) const { return commands_.Has(id); }
    // The record list's own keys (Delete, F5, Ctrl+A, Ctrl+V); true when the key was one of them.
    bool LbRECsKeyDown(UINT key) { return listCommands_->KeyDown(key); }
    RecordingCommands& recording() { return *recording_; }
    SmartRecord& smartRecord() { return *smart_; }
    StartupFilterView& startupFilter() { return *filter_; }
    // Shows the record selected in the list.
    void LbRECsClick() { selected_.Show(); }

    // The record list read again from the record folder; answers how many records it lists.
    int ReadRecordList();
    void SelectRecord(int index);
    // Laid out and painted, before the slower steps of the first run.
    void LayOut();

    // Text dropped on the window, taken once the drop has ended.
    void TextDropped(const std::wstring& text) { drops_.TextDropped(text); }
    // The window's drop target, as OLE finds it; null before the first-run step. Not add-ref'd.
    IDropTarget* dropTarget() const { return drops_.target(); }
    WindowIntakes& intakes() { return *intakes_; }
    ReplayCommands& replay() { return *replay_; }
    // What the window's openers hand to the shell; the real shell unless a test records it.
    void SetShellCalls(ShellCalls& shell) { shellCalls_ = &shell; }

private:
    friend class MainWindowHosts;
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void FormCreate();
    void CreateControls();
    void AddCommands();
    // Smart Record and the start-up filter list, joined to the recording commands.
    void WireSmartRecord();
    void FormResize();
    // What a search found, in the status bar and in the hint strip; empty takes it from the strip.
    void TellSearchOutcome(const std::wstring& text);
    // WM_CLOSE: the window closes once nothing runs (CloseNow).
    void FormCloseQuery();
    void CloseNow();
    void TimerFirstRunTimer();
    void EnsureSettingsDialog();
    bool ChooseRecordFolder();
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

    Settings& settings_;
    InstanceBlock* instance_;
    std::unique_ptr<MainWindowHosts> hosts_;
    Options options_;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    GdiOwner<HFONT> font_;
    WindowKeys keys_;
    RecordPages pages_;
    RecordList records_;
    std::unique_ptr<RecordSession> session_;
    LongWork work_;
    CommandTable commands_;
    std::unique_ptr<WindowIntakes> intakes_;
    std::unique_ptr<RecordListCommands> listCommands_;
    std::unique_ptr<RecordingCommands> recording_;
    std::unique_ptr<ReplayCommands> replay_;
    ShellCalls* shellCalls_ = &RealShellCalls();
    std::unique_ptr<RealResolutionMachine> launchMachine_;
    std::unique_ptr<ItemLauncher> launcher_;
    std::unique_ptr<StartupFilterView> filter_;
    std::unique_ptr<SmartRecord> smart_;

    // Menus
    MainMenus menus_;

    // Command strip
    HWND BtnRec = nullptr;
    HWND BtnAdd2 = nullptr;
    HWND BtnRecordByType = nullptr;
    HWND cbSmartRecord = nullptr;
    HWND PnlSmartRecord = nullptr;  // the Smart Record interval slider
    HWND LbRECs = nullptr;
    SearchPanel search_;  // shown by "Search..."
    SearchCommands searching_;
    MainParts parts_;
    Splitter splitter_;
    ProgressStrip progress_;
    StatusBar status_;
    HoverStatus hover_;
    WindowHints hints_;
    RecordListHint listHint_;
    SelectedRecord selected_;
    ShownParts shown_;
    Prompter* prompter_ = nullptr;
    IntakeMessages drops_;

    bool showRunAsAdmin_ = true;
    bool maximisedAtStart_ = false;
    bool creating_ = true;  // no layout passes until every control exists
    SIZE laidOut_{-1, -1};  // the client size of the last layout pass
    std::unique_ptr<TFrmMySettings> FrmMySettings;
    MenuChecks menuChecks_;
    int startupRecordIndex_ = -1;
};

}  // namespace tv
