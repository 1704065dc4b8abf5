#include "replay/window_placer.h"

namespace tv {

namespace {
struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK TakeIfOf(HWND window, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
    search->found = window;
    return FALSE;
}
}  // namespace

HWND VisibleWindowOf(DWORD pid) {
    Search search{pid, nullptr};
    EnumWindows(TakeIfOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND PlaceStartedWindow(HANDLE process, const WindowPlace& place, DWORD timeoutMs, const std::function<void()>& wait) {
    const DWORD pid = GetProcessId(process);
    if (!pid || !place.known) return nullptr;
    const WindowPlace target = PlaceOnMonitors(place, CurrentMonitors());
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (HWND window = VisibleWindowOf(pid)) return PutWindowAt(window, target) ? window : nullptr;
        if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0 || GetTickCount64() - start >= timeoutMs) return nullptr;
        wait();
    }
}

}  // namespace tv
