#pragma once
// The program's main window, class "TTolvaneWindow": the frame around the record list, the
// record pages, the search panel and the progress strip. The shown record belongs to its
// RecordSession; the commands are rows of its command table.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/folders.h"
#include "app/options.h"
#include "app/record_session.h"
#include "app/startup.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/main/command_table.h"
#include "ui/main/long_work.h"
#include "ui/main/main_menus.h"
#include "ui/main/main_layout.h"
#include "ui/main/progress_strip.h"
#include "ui/main/record_list.h"
#include "ui/main/record_list_commands.h"
#include "ui/main/record_pages.h"
#include "ui/main/search_panel.h"
#include "ui/main/text_drop.h"
#include "ui/main/window_intakes.h"

namespace tv {

class InstanceBlock;
class Prompter;
class TFrmReName;

class MainWindowHosts;

class TTolvaneWindow : public RecordViewsHost, public TextDropHost {
public:
    TTolvaneWindow(Settings& settings, InstanceBlock* instance);
    ~TTolvaneWindow() override;
    SettingsStore& UserSettings() { return *settings_.user; }

    // Creates the window (not yet shown) and starts the first-run timer.
    bool Create(HINSTANCE instance);
    // Shows the window as remembered: normal at its stored place, or maximised.
    void Show(int showCommand);
    // The window's keyboard shortcuts (Ctrl+F, F1); true when the message was one.
    // Also Tab and Shift+Tab, which move the focus through the window's controls as in a dialog.
    bool TranslateShortcut(MSG& msg);
    HWND hwnd() const { return hwnd_; }
    HWND tvDocs() const { return pages_.views().TVDocs; }

    static std::wstring Caption();  // "TolVane Free 3.1"

    // The parts the user can show or hide, and the menus that switch them.
    bool menuBarShown() const { return GetMenu(hwnd_) != nullptr; }
    bool statusBarShown() const { return TntStatusBar1 && IsWindowVisible(TntStatusBar1); }
    bool recordListShown() const { return parts_.recordListShown; }
    HMENU mainMenu() const { return menus_.MainMenu1; }
    HMENU appMenu() const { return menus_.PmApp; }
    HWND recordList() const { return LbRECs; }
    HWND statusBar() const { return TntStatusBar1; }
    HWND pageControl() const { return pages_.pageControl(); }
    HMENU treeMenu() const { return menus_.PmDocTree; }
    HMENU recordListMenu() const { return menus_.PmRecList; }
    HMENU moreMenu() const { return menus_.PopupMenuMore; }
    RecordViews& views() { return pages_.views(); }
    RecordSession& session() { return *session_; }
    ShownRecord& shownRecord() { return session_->record(); }
    RecordList& records() { return records_; }
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
    // The record list's own keys (Delete, F5, Ctrl+A, Ctrl+V).
    bool LbRECsKeyDown(UINT key);  // true when the key was one of them
    // Shows the record selected in the list.
    void LbRECsClick();
    // Selects in the "All" tree the node of an item path.
    void SelectByPath(const std::wstring& path);
    // Adds dropped text to the shown record, saves it and selects its node.
    void TakeDroppedText(const std::wstring& text) { intakes_->TakeDroppedText(text); }

    // The record list read again from the record folder; answers how many records it lists.
    int ReadRecordList();
    void SelectRecord(int index);
    // Laid out and painted, before the slower steps of the first run.
    void LayOut();

    // RecordViewsHost
    void NodeHovered(HWND tree, RecordNode& node) override;

    // TextDropHost: the text is taken once the drop has ended, so the dragging program is free.
    void TextDropped(const std::wstring& text) override;
    void FilesDropped(const std::vector<std::wstring>& files) override;
    // The window's drop target, as OLE finds it; null before the first-run step. Not add-ref'd.
    IDropTarget* dropTarget() const { return textDrop_ ? textDrop_->target() : nullptr; }

private:
    friend class MainWindowHosts;
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    bool SetSplitterCursor(WPARAM wParam, LPARAM lParam);
    void FormCreate();
    void CreateControls();
    void AddCommands();
    void EnsureStatusBar();
    void FormResize();
    // WM_CLOSE: the window closes once nothing runs (CloseNow).
    void FormCloseQuery();
    void CloseNow();
    // Asks what becomes of a change that could not be saved: try the save again, save it as a
    // new record, or discard it. True once it is saved or discarded (or there is none); false
    // when the question was closed, and the change stays shown.
    bool SettleUnsavedChange();
    // Before another record is read into the trees, for the list's entry `index`: true when it
    // may be read, with `index` its entry then; false when the shown record stays.
    bool MayLeaveShownRecord(int& index);
    void TimerFirstRunTimer();
    void EnsureSettingsDialog();
    bool ChooseRecordFolder();
    void OnCommand(UINT id);
    void OnControl(HWND from, UINT code, UINT id);
    void ShowContextMenu(HWND from, LPARAM at);
    // Show or hide a part and keep both menu items in step; `store` writes the choice at once.
    void ApplyMenuBar(bool shown, bool store = true);
    void ApplyStatusBar(bool shown, bool store = true);
    void ApplyRecordList(bool shown, bool store = true);
    void StoreShownParts();
    void SaveLayout();
    void StoreSelectedRecord(int index);
    // Text size and search
    void ArrangeTextSizeClick(UINT id);
    void cbSearchClick();
    void ShowSearchPanel(bool shown);
    void BtnSSSearchClick();
    void EnsureProgressStrip();
    // Tab and Shift+Tab: the command strip, the record list, the search panel, the tabs, the
    // shown tree, then the Stop button while it shows.
    void MoveFocus(bool backwards);
    void SetStatusText(int panel, const std::wstring& text);
    // The status bar names the shown record when the list selects it, and says nothing is
    // selected otherwise.
    void DescribeState();
    int Scale(int pixels) const { return ScaleToDpi(pixels, dpi_); }

    Settings& settings_;
    InstanceBlock* instance_;
    std::unique_ptr<MainWindowHosts> hosts_;
    Options options_;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    HBRUSH background_ = nullptr;
    HACCEL shortcuts_ = nullptr;
    RecordPages pages_;
    RecordList records_;
    std::unique_ptr<RecordSession> session_;
    LongWork work_;
    CommandTable commands_;
    std::unique_ptr<WindowIntakes> intakes_;
    std::unique_ptr<RecordListCommands> listCommands_;

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
    MainParts parts_;
    Splitter splitter_;
    ProgressStrip progress_;
    HWND TntStatusBar1 = nullptr;
    Prompter* prompter_ = nullptr;
    std::unique_ptr<TextDropRegistration> textDrop_;

    bool showRunAsAdmin_ = true;
    bool maximisedAtStart_ = false;
    bool creating_ = true;  // no layout passes until every control exists
    SIZE laidOut_{-1, -1};  // the client size of the last layout pass
    bool shownPartsStored_ = false;
    std::unique_ptr<TFrmMySettings> FrmMySettings;
    MenuChecks menuChecks_;
    int startupRecordIndex_ = -1;
};

}  // namespace tv
