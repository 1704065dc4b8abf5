#include "replay/replay.h"

#include "base/handles.h"
#include "base/path_rules.h"
#include "base/scope_exit.h"
#include "base/strings.h"
#include "capture/shell_windows.h"

namespace tv {

namespace {
void CopyLevel(const std::vector<std::unique_ptr<RecordNode>>& nodes, const ShownRecord& record,
               std::vector<ReplayNode>& into) {
    into.reserve(nodes.size());
    for (const auto& node : nodes) {
        ReplayNode copy;
        if (record.items.Valid(node->data.itemIndex)) {
            copy.path = record.items.At(node->data.itemIndex).path;
            copy.place = record.items.At(node->data.itemIndex).place;
        }
        copy.title = node->caption;
        CopyLevel(node->children, record, copy.children);
        into.push_back(std::move(copy));
    }
}
}  // namespace

std::vector<ReplayNode> ReplayNodes(const ShownRecord& record) {
    std::vector<ReplayNode> top;
    CopyLevel(record.docs.top(), record, top);
    return top;
}

ReplayCounts CountReplayItems(const std::vector<ReplayNode>& top) {
    ReplayCounts counts;
    for (const ReplayNode& node : top) {
        if (counts.topLevel >= kReplayCountLimit) break;
        ++counts.topLevel;
        counts.all += 1 + static_cast<int>(node.children.size());
    }
    return counts;
}

int ReplayWalk(const std::vector<ReplayNode>& top, bool allChildren, const std::function<bool(const ReplayNode&)>& open,
               const ReplayPacing& pacing) {
    int visits = 0;
    for (const ReplayNode& node : top) {
        if (++visits >= kReplayVisitLimit) return visits;
        if (node.children.empty()) {
            pacing.pause();
            if (!open(node)) return visits;
            continue;
        }
        pacing.passMessages();
        const size_t n = node.children.size();
        for (size_t i = 0;; ++i) {
            if (++visits >= kReplayVisitLimit) return visits;
            pacing.pause();
            if (!allChildren && i > 0) break;
            if (!open(node.children[i])) return visits;
            if (i + 1 == n) break;
        }
    }
    return visits;
}

bool OpenReplayNode(const ReplayNode& node, ItemLauncher& launcher) {
    // The program never starts itself again.
    if (ToLower(Trim(FileNameOf(node.path))) == L"tolvane.exe") return true;
    std::wstring title = node.title, path = node.path;
    // A shell place the table recognised it has opened; the replacement name it may leave
    // behind ("Windows Photo Viewer", a Control Panel page) is nothing to open a second time.
    if (ShellWindowTable(title, path, ShellTableMode::Launch, &launcher) != 0) return true;
    return launcher.OpenItem(path, false);
}

bool OpenReplayNodePlaced(const ReplayNode& node, ItemLauncher& launcher, const WindowPlacing& placing) {
    if (!node.place.known) return OpenReplayNode(node, launcher);
    ShellCalls& shell = launcher.shell();
    shell.KeepStartedProcesses(true);
    OnExit keepNoMore([&shell] { shell.KeepStartedProcesses(false); });
    const bool opened = OpenReplayNode(node, launcher);
    UniqueHandle started(shell.TakeStartedProcess());
    if (started.valid()) PlaceStartedWindow(started.get(), node.place, placing.timeoutMs, placing.wait);
    return opened;
}

}  // namespace tv
