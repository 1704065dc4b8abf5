#pragma once
// The start-up filter list under the record pages: the programs Windows starts that a
// recording held back, shown after a recording when the user wants them, with commands to add,
// open or locate them and rows that can be dragged onto the record tree.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "capture/startup_filter.h"
#include "base/handles.h"
#include "capture/windows_start.h"
#include "ui/main/commands/command_table.h"
#include "ui/window_text.h"

namespace tv {

class ItemLauncher;
class Options;
class RealResolutionMachine;
class RecordListView;
class RecordSession;
class ShellCalls;

class StartupFilterView {
public:
    struct Parts {
        RecordSession& session;
        RecordListView& list;
        Options& options;
        std::function<HWND()> tree;          // `TVDocs`, where rows are dropped
        std::function<void()> layOut;
        std::function<void()> openSettings;  // "Settings..."
    };
    // `startMan` answers which programs Windows starts; the machine's own unless given.
    explicit StartupFilterView(Parts parts, std::unique_ptr<TWindowsStartMan> startMan = nullptr);
    ~StartupFilterView();
    StartupFilterView(const StartupFilterView&) = delete;
    StartupFilterView& operator=(const StartupFilterView&) = delete;

    // The list and its frame are made when a recording first finds rows for them: most runs
    // never do, and a list view is among the dearer controls to make on the way to the first paint.
    void Create(HWND window, HFONT font);

    // The filter every recording's running-program scan asks ("Filter Windows Start").
    StartupFilter Filter();
    // A recording by hand starts from an empty, hidden list; Smart Record keeps it.
    void BeforeRecording(bool smart);
    // After every recording: the rows shown, and the list too when the user wants it.
    void AfterRecording();
    void Hide();
    bool shown() const { return shown_; }
    StartupFilterList& rows() { return rows_; }

    // Lays the group out at the bottom of `area`; answers the height it took from it.
    int Place(HDWP& defer, const RECT& area, int dpi);
    // WM_NOTIFY of the window; true when it came from the list.
    bool OnNotify(const NMHDR& header);

    // `PmFilterStartup`: each runs over the selected rows in list order.
    void AddtoRecord1Click();
    void Open3Click();
    void OpencontainerFolder1Click();
    // Rows dragged from the list and let go at `screen`: added when that lies on the record tree.
    bool DropAt(POINT screen);
    // The shell the openers hand their work to; the real one unless a test gives another.
    void UseShell(ShellCalls& shell);
    // True when a command of `PmFilterStartup` has something to do.
    bool Handles(UINT id) const { return commands_.Has(id); }

    HWND gbFilterAutoStart = nullptr;
    HWND LvAutoRunFilter = nullptr;
    HWND SpFilterAutoStart = nullptr;
    MenuOwner PmFilterStartup;

private:
    void EnsureControls();
    std::vector<int> SelectedRows() const;
    void FillList();
    void ShowPopup();
    void DragRows();
    ItemLauncher& Launcher();
    LRESULT SplitterMessage(HWND splitter, UINT msg, WPARAM wParam, LPARAM lParam);

    Parts p_;
    std::unique_ptr<TWindowsStartMan> startMan_;
    StartupFilterList rows_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    bool shown_ = false;
    int height_ = 140;  // the group's height at 96 dpi, changed with the splitter
    int dpi_ = 96;
    bool sizing_ = false;
    ShellCalls* shell_ = nullptr;
    std::unique_ptr<RealResolutionMachine> machine_;
    std::unique_ptr<ItemLauncher> launcher_;
    ControlHook splitterHook_;
    ControlHook groupHook_;
    CommandTable commands_;  // the rows of `PmFilterStartup`
};

}  // namespace tv
