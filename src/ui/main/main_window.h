#pragma once
// The program's main window, class "TTolvaneWindow".
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "app/folders.h"
#include "app/intake.h"
#include "app/startup.h"
#include "records/record_tree.h"
#include "ui/dialogs/options.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/main/progress_strip.h"
#include "ui/main/record_list.h"
#include "ui/main/record_views.h"
#include "ui/main/text_drop.h"

namespace tv {

class InstanceBlock;
class Prompter;
class TFrmReName;

class TTolvaneWindow : public RecordIntake,
                       public FirstRunHost,
                       public OptionsHost,
                       public RecordViewsHost,
                       public TextDropHost,
                       public AddWithTitleHost {
public:
    TTolvaneWindow(Settings& settings, InstanceBlock* instance);
    ~TTolvaneWindow() override;

    // Creates the window (not yet shown) and starts the first-run timer.
    bool Create(HINSTANCE instance);
    // Shows the window as remembered: normal at its stored place, or maximised.
    void Show(int showCommand);
    // The window's keyboard shortcuts (Ctrl+F, F1); true when the message was one.
    bool TranslateShortcut(MSG& msg);
    HWND hwnd() const { return hwnd_; }
    HWND tvDocs() const { return TVDocs; }

    static std::wstring Caption();  // "TolVane Free 3.1"

    // The parts the user can show or hide, and the menus that switch them.
    bool menuBarShown() const { return GetMenu(hwnd_) != nullptr; }
    bool statusBarShown() const { return TntStatusBar1 && IsWindowVisible(TntStatusBar1); }
    bool recordListShown() const { return recordListShown_; }
    HMENU mainMenu() const { return MainMenu1; }
    HMENU appMenu() const { return PmApp; }
    HWND recordList() const { return LbRECs; }
    HWND statusBar() const { return TntStatusBar1; }
    HWND pageControl() const { return PageControlTree; }
    HMENU treeMenu() const { return PmDocTree; }
    HMENU recordListMenu() const { return PmRecList; }
    HMENU moreMenu() const { return PopupMenuMore; }
    RecordViews& views() { return views_; }
    ShownRecord& shownRecord() { return record_; }
    RecordList& records() { return records_; }
    ProgressStrip& progress() { return progress_; }
    HWND searchBox() const { return ComboBoxSearch; }
    bool searchShown() const { return searchShown_; }
    int textSize() const { return textSize_; }
    bool newRecordFlag() const { return newRecord_; }
    void SetNewRecordFlag(bool on) { newRecord_ = on; }
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
    std::wstring currentRecordPath() const { return record_.currentRecordPath; }
    std::wstring RecordFolder() const;

    // RecordIntake
    HWND RecordTree() override { return TVDocs; }
    void LoadProgramNames() override {}
    void ClearLastAdded() override { lastAdded_.clear(); }
    bool Contains(const std::wstring& path) override;
    void NoteExisting(const std::wstring& path) override { lastAdded_ = path; }
    void AddItem(const std::wstring& path, const std::wstring& title) override;
    void SaveCurrentRecord() override;
    // Writes the shown record's three files under `recordPath`, then lists the records again.
    void WriteRecordTo(const std::wstring& recordPath);
    void ShowSelectedRecord() override { LbRECsClick(); }
    void ShowAllPageAndLastAdded() override;
    void RestoreSmartRecordBox() override;

    // FirstRunHost
    SettingsStore& UserSettings() override { return *settings_.user; }
    SettingsStore& CommonSettings() override { return *settings_.common; }
    void ShowRunAsAdminItems(bool show) override { showRunAsAdmin_ = show; }
    bool RunningAsAdmin() override;
    void PinStartMenuShortcut() override;
    void LoadAndApplyOptions() override;
    int ReadRecordList() override;
    void SelectRecord(int index) override;
    void TakeCommandLineItems() override;
    void LayOut() override {
        FormResize();
        UpdateWindow(hwnd_);  // painted before the slower steps of the first run
    }
    void EnsureSendToShortcut() override;
    void CheckForUpdate() override {}
    void ReplayStartupRecord() override {}
    void PressRecordButton() override {}
    void RecordNewNow() override {}
    void Reopen(int) override {}

    // OptionsHost
    void SetMenuChecks(const MenuChecks& checks) override { menuChecks_ = checks; }
    int StartupRecordIndex() override { return startupRecordIndex_; }
    void SetStartupRecordIndex(int index) override { startupRecordIndex_ = index; }
    void SetTextSize(int size) override { textSize_ = size; }
    void ApplyTextSize() override;
    void SetRecordInterval(int seconds) override;
    void SetAlwaysOnTop(bool onTop) override;
    void HideStartFilterList() override {}
    void ReadRecordList(const std::wstring&) override { ReadRecordList(); }

    // RecordViewsHost
    void NodeHovered(HWND tree, RecordNode& node) override;

    // TextDropHost: the text is taken once the drop has ended, so the dragging program is free.
    void TextDropped(const std::wstring& text) override;
    // Adds dropped text to the shown record, saves it and selects its node.
    void TakeDroppedText(const std::wstring& text);
    // AddWithTitleHost; the add-item dialog and page titles come with their own commands.
    bool ChosenRowTitle(std::wstring&) override { return false; }
    bool FetchPageTitle(const std::wstring&, std::wstring&) override { return false; }
    void RunAsAdministrator() override {}

    Options* options() { return options_.get(); }
    TFrmMySettings* settingsDialog() { return FrmMySettings.get(); }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void FormCreate();
    void CreateControls();
    void EnsureStatusBar();
    void FormResize();
    void FormCloseQuery();
    void TimerFirstRunTimer();
    void EnsureSettingsDialog();
    void OnCommand(UINT id);
    void LaterCommand(UINT id) {}  // commands whose work other parts of the program bring
    void ShowOrHide(UINT id);
    // Show or hide a part and keep both menu items in step; `store` writes the choice at once.
    void ApplyMenuBar(bool shown, bool store = true);
    void ApplyStatusBar(bool shown, bool store = true);
    void ApplyRecordList(bool shown, bool store = true);
    void StoreShownParts();
    void SaveLayout();
    void BtnHelpClick();
    void OpenApplicationPath1Click();
    void FilesDropped(HDROP drop);
    void DeviceArrived();
    void ShowPage(int page);
    void ShowWebPageTab();
    void OnNotify(NMHDR* hdr);
    void DrawTab(const DRAWITEMSTRUCT& item);
    // Record list commands
    void SelectCurrentRecord();
    void BtnRenameClick();
    void BtnDeleteClick();
    void DuplicateRecord();
    void ClearShownRecord();
    void ReplaceStrip(HIMAGELIST strip);
    // Text size and search
    void ArrangeTextSizeClick(UINT id);
    void cbSearchClick();
    void ShowSearchPanel(bool shown);
    void EnsureSearchPanel();  // made when first shown, off the way to the first paint
    void ComboBoxSearchExit();
    void BtnSSSearchClick();
    void EnsureProgressStrip();
    void SetStatusText(int panel, const std::wstring& text);
    int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
    bool OverSplitter(int x) const;

    Settings& settings_;
    InstanceBlock* instance_;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    HBRUSH background_ = nullptr;
    HACCEL shortcuts_ = nullptr;
    HIMAGELIST ImageList1 = nullptr;  // the working icon strip of the shown record
    ShownRecord record_;
    RecordViews views_;

    // Menus
    HMENU MainMenu1 = nullptr;
    HMENU PmApp = nullptr;
    HMENU PopupMenuMore = nullptr;
    HMENU PmRecList = nullptr;
    HMENU PmDocTree = nullptr;

    // Command strip
    HWND BtnRec = nullptr;
    HWND BtnAdd2 = nullptr;
    HWND BtnRecordByType = nullptr;
    HWND cbSmartRecord = nullptr;
    HWND PnlSmartRecord = nullptr;  // the Smart Record interval slider
    // Record list and details
    HWND LbRECs = nullptr;
    HWND PageControlTree = nullptr;
    HWND TVDocs = nullptr;
    RecordList records_;
    // Search panel, shown by "Search..."
    HWND ComboBoxSearch = nullptr;
    HWND BtnSSSearch = nullptr;
    bool searchShown_ = false;
    std::vector<std::wstring> searchHistory_;
    ProgressStrip progress_;
    HWND TntStatusBar1 = nullptr;
    bool webPageTab_ = false;
    // Recording state: the next save writes a new record; the record question chose its name.
    bool newRecord_ = false;
    bool nameChosen_ = false;
    std::unique_ptr<TFrmReName> FrmReName;
    Prompter* prompter_ = nullptr;
    std::unique_ptr<TextDropRegistration> textDrop_;

    int GbRecListWidth_ = 120;
    int stripNeeds_[4] = {};  // the least widths of the command strip's four controls
    bool recordListShown_ = true;
    bool draggingSplitter_ = false;
    std::wstring lastAdded_;
    bool showRunAsAdmin_ = true;
    bool maximisedAtStart_ = false;
    bool creating_ = true;  // no layout passes until every control exists
    SIZE laidOut_{-1, -1};  // the client size of the last layout pass
    bool shownPartsStored_ = false;
    std::unique_ptr<Options> options_;
    std::unique_ptr<TFrmMySettings> FrmMySettings;
    MenuChecks menuChecks_;
    int startupRecordIndex_ = -1;
    int textSize_ = 9;
};

}  // namespace tv
