// What the first-run step and the options ask of the main window, answered for it; the window
// itself is neither of those interfaces.
#include "ui/main/frame/window_hosts.h"

#include "ui/main/frame/main_window_parts.h"

#include <vector>

#include "app/shell_links.h"
#include "app/startup.h"
#include "base/file_util.h"
#include "ui/dialogs/prompter.h"

namespace tv {

namespace {
struct OwnedWindows {
    HWND owner;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectOwned(HWND w, LPARAM found) {
    auto* owned = reinterpret_cast<OwnedWindows*>(found);
    try {
        if (GetWindow(w, GW_OWNER) == owned->owner) owned->windows.push_back(w);
    } catch (...) {
        return FALSE;  // the windows found so far let go; the move is tried all the same
    }
    return TRUE;
}
}  // namespace

void MainWindowHosts::LoadAndApplyOptions() {
    DefaultRecordFolder();
    w_.EnsureSettingsDialog();
    w_.parts_->options.Load();
    w_.parts_->options.Apply();
}

void MainWindowHosts::TakeCommandLineItems() { tv::TakeCommandLineItems(w_.parts_->session, Startup().params); }

bool MainWindowHosts::RunningAsAdmin() { return IsRunningAsAdmin(); }

void MainWindowHosts::SetMenuChecks(const MenuChecks& checks) {
    w_.menuChecks_ = checks;
    w_.parts_->system.ShowMenuState();
}

bool MainWindowHosts::RunAsAdministrator() { return w_.parts_->system.RunAsAdministrator1Click(); }

void MainWindowHosts::ReplayStartupRecord() {
    // The record the user had selected stays the stored one: the first-run step selects it
    // again after the replay.
    w_.parts_->replay.ReplayStartupRecord([this](int index) {
        w_.SelectRecord(index);
        w_.parts_->selected.Show(false);
    });
}

void MainWindowHosts::PinStartMenuShortcut() { PinShortcut(StartMenuShortcutPath()); }

void MainWindowHosts::EnsureSendToShortcut() { CreateSendToShortcut(ModulePath()); }

void MainWindowHosts::PressRecordButton() { w_.parts_->recording.BtnRecClick(); }

void MainWindowHosts::RecordNewNow() { w_.parts_->recording.RecordNewNow(); }

void MainWindowHosts::Reopen(int resumeMarker) {
    // Posted, so the first-run step ends before the dialog's own loop starts.
    if (resumeMarker == kResumeAddItem) PostMessageW(w_.hwnd_, WM_COMMAND, MAKEWPARAM(kCmdAdd, 0), 0);
    if (resumeMarker == kResumeRecord) w_.parts_->recording.BtnRecClick();
    if (resumeMarker == kResumeSmartRecord) ResumeSmartRecord();
}

void MainWindowHosts::SetTextSize(int size) { w_.parts_->pages.views().SetTextSize(size); }

void MainWindowHosts::ApplyTextSize() {
    int size = w_.parts_->pages.views().textSize();
    for (size_t i = 0; i < std::size(kTextSizes); ++i)
        CheckMenuItem(w_.parts_->menus.PmDocTree, kCmdTextLargest + static_cast<UINT>(i),
                      MF_BYCOMMAND | (kTextSizes[i] == size ? MF_CHECKED : MF_UNCHECKED));
    w_.parts_->pages.views().SetTextSize(size);
}

void MainWindowHosts::SetRecordInterval(int seconds) { w_.parts_->smart.SetInterval(seconds); }

void MainWindowHosts::HideStartFilterList() { w_.parts_->filter.Hide(); }

void MainWindowHosts::Tell(const std::wstring& text) { w_.parts_->prompter->Tell(w_.hwnd_, text); }

void MainWindowHosts::ResumeSmartRecord() { w_.parts_->smart.SetChecked(true); }

void MainWindowHosts::SetAlwaysOnTop(bool onTop) {
    HWND window = w_.hwnd_;
    // Wine puts a window that owns other windows (its hints, its dialogs) just below them
    // rather than among the top-most windows: the owned windows let go of it for the move.
    OwnedWindows owned{window, {}};
    if (onTop) EnumThreadWindows(GetCurrentThreadId(), CollectOwned, reinterpret_cast<LPARAM>(&owned));
    for (HWND w : owned.windows) SetWindowLongPtrW(w, GWLP_HWNDPARENT, 0);
    SetWindowPos(window, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (HWND w : owned.windows) SetWindowLongPtrW(w, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(window));
}

}  // namespace tv
