// The main window's openers: the launcher it hands items to, Open on the selected nodes, and
// the replay commands.
#include "ui/main/frame/main_window.h"

#include "ui/main/frame/main_window_parts.h"

#include "base/debug_log.h"
#include "capture/shell_windows.h"
#include "ui/main/menus/context_menus.h"
#include "ui/main/menus/main_menus.h"

namespace tv {

ItemLauncher& TTolvaneWindow::Launcher() {
    // A fresh machine each time: it remembers the drives' types for its life.
    launchMachine_ = std::make_unique<RealResolutionMachine>();
    launcher_ = std::make_unique<ItemLauncher>(
        *parts_->shellCalls, ProcessServices::Instance(), *launchMachine_,
        ProgramLauncherContext(hwnd_, [this] { parts_->commands.Run(kCmdHelp); }));
    return *launcher_;
}

void TTolvaneWindow::AddItemCommands() {
    parts_->commands.Add(kCmdOpen, [this](UINT) { OpenSelectedNode(); });
    parts_->items.AddCommands(parts_->commands);
    parts_->sendTo.AddCommands(parts_->commands);
    parts_->commands.Add(kCmdCreateBlankFile, [this](UINT) { parts_->listCommands.CreateaBlankFile1Click(); });
    parts_->commands.Add(kCmdCreateDuplicatedFile, [this](UINT) { parts_->listCommands.CopyandPaste1Click(); });
    parts_->commands.Add(kCmdReplayAll, [this](UINT) { parts_->replay.Replay1Click(); });
    parts_->commands.Add(kCmdReplayAtStart, [this](UINT) {
        // The item's own check mark toggles with the click.
        const bool checked = !(GetMenuState(parts_->menus.PmRecList, kCmdReplayAtStart, MF_BYCOMMAND) & MF_CHECKED);
        MarkReplayAtStart(parts_->menus, checked);
        parts_->replay.ReplayAllwhenwindowsstart1Click(checked);
        const int selected = parts_->records.SelectedIndex();
        MarkReplayAtStart(parts_->menus, selected >= 0 && selected == startupRecordIndex_);
    });
}

void TTolvaneWindow::OpenSelectedNode() {
    const ShownRecord& record = parts_->session.record();
    try {
        ItemLauncher& launcher = Launcher();
        for (RecordNode* node : parts_->pages.views().SelectedNodes(parts_->pages.activePage())) {
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
