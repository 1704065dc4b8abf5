// The main window's openers: the launcher it hands items to, Open on the selected nodes, and
// the replay commands.
#include "ui/main/frame/main_window.h"

#include "base/debug_log.h"
#include "capture/shell_windows.h"
#include "ui/main/menus/context_menus.h"
#include "ui/main/menus/main_menus.h"

namespace tv {

ItemLauncher& TTolvaneWindow::Launcher() {
    // A fresh machine each time: it remembers the drives' types for its life.
    launchMachine_ = std::make_unique<RealResolutionMachine>();
    launcher_ = std::make_unique<ItemLauncher>(*shellCalls_, ProcessServices::Instance(), *launchMachine_,
                                               ProgramLauncherContext(hwnd_, [this] { commands_.Run(kCmdHelp); }));
    return *launcher_;
}

void TTolvaneWindow::AddItemCommands() {
    commands_.Add(kCmdOpen, [this](UINT) { OpenSelectedNode(); });
    commands_.Add(kCmdReplayAll, [this](UINT) { replay_->Replay1Click(); });
    commands_.Add(kCmdReplayAtStart, [this](UINT) {
        // The item's own check mark toggles with the click.
        const bool checked = !(GetMenuState(menus_.PmRecList, kCmdReplayAtStart, MF_BYCOMMAND) & MF_CHECKED);
        MarkReplayAtStart(menus_, checked);
        replay_->ReplayAllwhenwindowsstart1Click(checked);
        MarkReplayAtStart(menus_, records_.SelectedIndex() >= 0 && records_.SelectedIndex() == startupRecordIndex_);
    });
}

void TTolvaneWindow::OpenSelectedNode() {
    const ShownRecord& record = session_->record();
    try {
        ItemLauncher& launcher = Launcher();
        for (RecordNode* node : views().SelectedNodes(pages_.activePage())) {
            if (!record.items.Valid(node->data.itemIndex)) continue;
            std::wstring title = node->caption, path = record.items.At(node->data.itemIndex).path;
            if (ShellWindowTable(title, path, ShellTableMode::Launch, &launcher) != 0) continue;
            // A node with children stands for a whole site: its address opens at the home page.
            if (!launcher.OpenItem(path, !node->children.empty())) break;
        }
    } catch (...) {
        LogSwallowed(L"opening the selected items");
    }
}

}  // namespace tv
