#pragma once
// The add-item dialog "Add document": five pages listing what the user may add (installed
// programs, running programs, open folders and pages, recent documents, recent folders) over a
// strip where any address can be typed or picked. Confirming adds the selected rows, or the
// typed address, to the shown record.
#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/intake.h"
#include "base/handles.h"
#include "capture/open_locations.h"
#include "capture/running_programs.h"
#include "ui/dialogs/dialog_parts.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/modal_dialog.h"

namespace tv {

class Options;
class SettingsStore;

// Where the pages' rows and the dialog's other needs come from; the real machine unless a test
// puts its own in.
struct AddItemSources {
    std::function<std::vector<std::wstring>()> programFolders;  // the user's, then everyone's
    std::function<std::wstring()> recentFolder;
    std::function<std::vector<ProgramPair>()> runningPrograms;
    std::function<std::vector<LocationPair>()> openLocations;
    std::function<bool(const std::wstring& path)> inStartupFilterList = [](const std::wstring&) { return false; };
    FolderPicker picker = PickFolder;
    // The path-or-address open of the shortcut menu; nothing is opened without one.
    std::function<void(const std::wstring& pathOrAddress)> open;
};
AddItemSources RealAddItemSources(const std::wstring& ownPath);

class TFrmActionAdd {
public:
    enum { kPageInstalled, kPageRunning, kPageOpen, kPageRecentDocuments, kPageRecentFolders, kPageCount };

    TFrmActionAdd(Options& options, SettingsStore& userSettings, RecordIntake& record, AddItemSources sources);
    ~TFrmActionAdd();
    TFrmActionAdd(const TFrmActionAdd&) = delete;
    TFrmActionAdd& operator=(const TFrmActionAdd&) = delete;

    // The whole opening: the stored page and name option, the address remembered in `lastAddress`,
    // shown modally; afterwards `lastAddress` is the address box's text and both are stored.
    // True when something was confirmed.
    bool Open(HWND owner, std::wstring& lastAddress);

    HWND hwnd() const { return hwnd_; }
    int activePage() const;
    void SelectPage(int index);
    HWND List(int page) const { return lists_[page]; }
    bool loading() const { return loading_; }
    // How many page loads have finished (or stopped) since the dialog was made.
    int loadsDone() const { return loadsDone_; }
    COLORREF addressColour() const { return addressColour_; }
    bool adminStripShown() const { return adminStripShown_; }

    // Controls, named as the program has always named them.
    HWND lbAction = nullptr, EdtAction = nullptr, lbName = nullptr, EdtName = nullptr, cbNeedAlterName = nullptr;
    HWND BtnAdd = nullptr, SpeedButton1 = nullptr, BtnChoose = nullptr, btnRefresh = nullptr;
    HWND PageControl1 = nullptr;
    HWND LvInstallPrograms = nullptr, LbApps = nullptr, LbFiles = nullptr, LbRecentDocuments = nullptr,
         LvRecentFolders = nullptr;
    HWND PnlHint = nullptr, Gauge1 = nullptr;
    HWND PanelHint = nullptr, CheckBox1 = nullptr;  // the elevation strip and its box
    MenuOwner PopupMenu1;                           // the lists' and the tabs' shortcut menu

    // Handlers, reachable by tests as the controls reach them.
    void BtnAddClick();
    void SpeedButton1Click();
    void BtnChooseClick();
    void PageControl1Change();  // loads the current page
    void ListClick(HWND list);
    void BtnRunAsAdminClick();
    void Opencontainingfolder1Click();
    void Open1Click();

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    bool Create(HWND owner);
    void FormCreate();
    void FormResize();
    void ShowPageList();
    void ApplyNeedAlterName();
    void SetAddressColour(COLORREF colour);
    ModalDialog::Behaviour Behaviour();
    bool Keys(const MSG& msg);  // Ctrl+Tab, Ctrl+A

    // A page load: the progress strip shows, the list hides, and the queue runs between rows
    // so Escape and Cancel can stop it.
    void LoadInstalledPrograms();
    void LoadRecentLists();
    void LoadRunningPrograms();
    void LoadOpenLocations();
    void ShowProgress(bool shown);
    void ShowAdminStrip(bool shown);
    void ShowPopupMenu(HWND from, LPARAM at);
    std::wstring SelectedRowPath();
    void Hint(const std::wstring& text);
    void StepGauge();
    void RowShown(const std::wstring& text);  // a listed row's text and gauge step, shown at the next pump
    void ShowRowProgress();
    bool StopAsked();  // lets the queue run; true once the load should end
    int IconOf(const std::wstring& path);
    static int IconWhenDrawn(const std::wstring& path);
    std::vector<std::pair<std::wstring, std::wstring>> ChosenPairs();
    void StorePage(int index);
    void Close(bool confirmed);

    HWND Control(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id = 0,
                 DWORD exStyle = 0);
    int S(int v) const { return MulDiv(v, dpi_, 96); }

    Options& options_;
    SettingsStore& user_;
    RecordIntake& record_;
    AddItemSources sources_;
    HWND hwnd_ = nullptr;
    HWND lists_[kPageCount] = {};
    HFONT font_ = nullptr;  // the modal helper's
    GdiOwner<HFONT> boldFont_;
    GdiOwner<HBRUSH> addressBrush_;
    GdiOwner<HBRUSH> greyBrush_;
    ImageListOwner strip_;  // the dialog's own icon strip
    AdminStrip adminStrip_;
    COLORREF addressColour_ = RGB(255, 255, 255);
    int dpi_ = 96;
    bool ownerDrawnTabs_ = false;
    bool loading_ = false;
    bool stop_ = false;
    bool progressShown_ = false;
    bool adminStripShown_ = false;
    int loadsDone_ = 0;
    ULONGLONG pumpedAt_ = 0;
    std::wstring rowHint_;
    int rowSteps_ = 0;
    std::unordered_map<std::wstring, int> icons_;  // lower-cased path: image in `strip_`
    std::vector<std::wstring> collected_;  // the installed-programs search's paths, this listing's only
    ModalDialog modal_;
};

}  // namespace tv
