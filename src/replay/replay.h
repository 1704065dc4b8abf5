#pragma once
// Opening a whole record again: the record's tree walked as the window shows it, top-level
// items first and their child items under them, each handed to the item launcher.
#include <functional>
#include <string>
#include <vector>

#include "records/record_tree.h"
#include "replay/item_launcher.h"
#include "replay/window_placer.h"

namespace tv {

// A replay stops after this many steps; the rest is left to the user.
constexpr int kReplayVisitLimit = 1000;
// The item counts of the replay question look at no more top-level items than this.
constexpr int kReplayCountLimit = 5000;

// One node of the shown record as the replay opens it: the path of its item and its caption.
struct ReplayNode {
    std::wstring path, title;
    std::vector<ReplayNode> children;
    WindowPlace place = {};  // where its window stood, when it was recorded
};

// The "All" tree of the record, copied: the window stays live during a replay, and what it
// opens must not change under it.
std::vector<ReplayNode> ReplayNodes(const ShownRecord& record);

struct ReplayCounts {
    int topLevel = 0;  // top-level items
    int all = 0;       // top-level items and their direct children
};
ReplayCounts CountReplayItems(const std::vector<ReplayNode>& top);

// What the walk does between items.
struct ReplayPacing {
    std::function<void()> pause = [] {};          // before each item it opens: 10 ms and a message pass
    std::function<void()> passMessages = [] {};   // on reaching an item with children
};

// Walks the top-level nodes and their children: a node with children is never opened itself;
// with `allChildren` every child is opened, otherwise the first. `open` answers false to stop
// the replay at that node. Returns the steps taken; kReplayVisitLimit or more means the walk
// stopped at the limit.
int ReplayWalk(const std::vector<ReplayNode>& top, bool allChildren, const std::function<bool(const ReplayNode&)>& open,
               const ReplayPacing& pacing = {});

// Opens one node: never the program itself, shell places through the shell-window table,
// everything else through the launcher. False when the launcher failed on the way.
bool OpenReplayNode(const ReplayNode& node, ItemLauncher& launcher);

// The same, and for a node with a recorded place, the window of the program the launcher
// started is waited for (at most `timeoutMs`, `wait` between looks) and moved to that place.
struct WindowPlacing {
    DWORD timeoutMs = kPlaceWaitMs;
    std::function<void()> wait = [] {};
};
bool OpenReplayNodePlaced(const ReplayNode& node, ItemLauncher& launcher, const WindowPlacing& placing);

}  // namespace tv
