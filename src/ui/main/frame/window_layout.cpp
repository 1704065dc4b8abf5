#include "ui/main/frame/window_layout.h"

#include <algorithm>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "ui/window_text.h"

namespace tv {

namespace {
constexpr int kDefaultWidth = 520;
}

RECT FitOnWorkArea(long long left, long long top, long long width, long long height, const RECT& workArea,
                   int defaultWidth, int defaultHeight) {
    const long long areaWidth = std::max<long long>(workArea.right - workArea.left, 1);
    const long long areaHeight = std::max<long long>(workArea.bottom - workArea.top, 1);
    if (width < kMinVisible) width = defaultWidth;
    if (height < kMinVisible) height = defaultHeight;
    const bool larger = width > areaWidth || height > areaHeight;
    width = std::clamp<long long>(width, std::min<long long>(kMinVisible, areaWidth), areaWidth);
    height = std::clamp<long long>(height, std::min<long long>(kMinVisible, areaHeight), areaHeight);
    // Some of the window on the area sideways and its top edge inside it: the user can reach it
    // and may have left it there on purpose.
    const long long visibleX = std::min<long long>(kMinVisible, width);
    const long long visibleY = std::min<long long>(kMinVisible, height);
    const bool reachable = left >= workArea.left + visibleX - width && left <= workArea.right - visibleX &&
                           top >= workArea.top && top <= workArea.bottom - visibleY;
    if (larger || !reachable) {
        // Moved the shortest way onto the area, whole and at its size: cutting it to the area's
        // edges instead would leave a sliver, and the sliver would be stored as its size.
        left = std::max<long long>(workArea.left, std::min<long long>(left, workArea.right - width));
        top = std::max<long long>(workArea.top, std::min<long long>(top, workArea.bottom - height));
    }
    return RECT{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(left + width),
                static_cast<LONG>(top + height)};
}

namespace {

// Wide enough that no default worked out from a hostile value overflows.
struct StoredPlace {
    long long left, top, width, height;
};

// The stored place; what is not stored defaults to a tall window at the right of `area`.
StoredPlace ReadPlace(const SettingsStore& user, const RECT& area) {
    const long long areaWidth = area.right - area.left, areaHeight = area.bottom - area.top;
    StoredPlace p;
    p.width = user.ReadInteger(keys::kDefault, keys::kWidth, kDefaultWidth);
    p.height = user.ReadInteger(keys::kDefault, keys::kHeight, static_cast<int>(areaHeight - 60));
    if (user.ReadString(keys::kDefault, keys::kLeft, L"").empty()) p.left = area.left + areaWidth - p.width - 15;
    else p.left = user.ReadInteger(keys::kDefault, keys::kLeft, 0);
    if (user.ReadString(keys::kDefault, keys::kTop, L"").empty()) p.top = area.top + areaHeight - p.height - 40;
    else p.top = user.ReadInteger(keys::kDefault, keys::kTop, 0);
    return p;
}

StoredGeometry Fit(SettingsStore& user, const StoredPlace& stored, const RECT& workArea, int defaultHeight) {
    StoredGeometry g;
    g.maximised = user.ReadInteger(keys::kDefault, keys::kWindowState, 1) != 1;
    g.bounds = FitOnWorkArea(stored.left, stored.top, stored.width, stored.height, workArea, kDefaultWidth,
                             defaultHeight);
    const int width = g.bounds.right - g.bounds.left, height = g.bounds.bottom - g.bounds.top;
    try {
        // Only what was corrected is written: an unchanged place writes nothing.
        if (width != stored.width) user.WriteInteger(keys::kDefault, keys::kWidth, width);
        if (height != stored.height) user.WriteInteger(keys::kDefault, keys::kHeight, height);
        if (g.bounds.left != stored.left) user.WriteInteger(keys::kDefault, keys::kLeft, g.bounds.left);
        if (g.bounds.top != stored.top) user.WriteInteger(keys::kDefault, keys::kTop, g.bounds.top);
    } catch (const SettingsWriteError&) {
        // A read-only settings file keeps the old place; the window still opens where it can be seen.
    }
    return g;
}

}  // namespace

StoredGeometry LoadWindowGeometry(SettingsStore& user, const RECT& workArea) {
    return Fit(user, ReadPlace(user, workArea), workArea, workArea.bottom - workArea.top - 60);
}

StoredGeometry LoadWindowGeometry(SettingsStore& user, int screenWidth, int screenHeight) {
    StoredPlace stored = ReadPlace(user, RECT{0, 0, screenWidth, screenHeight});
    // The monitor nearest the stored place; the rectangle is kept in range for the lookup only.
    auto clampToLong = [](long long v) { return static_cast<LONG>(std::clamp<long long>(v, -(1LL << 30), 1LL << 30)); };
    RECT probe{clampToLong(stored.left), clampToLong(stored.top),
               clampToLong(stored.left + std::max(stored.width, 1LL)), clampToLong(stored.top + std::max(stored.height, 1LL))};
    RECT workArea{0, 0, screenWidth, screenHeight};
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(MonitorFromRect(&probe, MONITOR_DEFAULTTONEAREST), &info)) workArea = info.rcWork;
    return Fit(user, stored, workArea, screenHeight - 60);
}

HWND CreateAtStoredPlace(SettingsStore& user, const wchar_t* windowClass, const std::wstring& caption, DWORD style,
                         HINSTANCE instance, void* param, bool& maximised) {
    StoredGeometry g = LoadWindowGeometry(user, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    maximised = g.maximised;
    RECT r = g.maximised ? RECT{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT} : g.bounds;
    int width = g.maximised ? CW_USEDEFAULT : r.right - r.left, height = g.maximised ? CW_USEDEFAULT : r.bottom - r.top;
    return CreateWindowExW(0, windowClass, caption.c_str(), style, r.left, r.top, width, height, nullptr, nullptr,
                           instance, param);
}

int FirstShowCommand(int requested, bool maximised) {
    if (maximised) return SW_SHOWMAXIMIZED;
    return requested == SW_SHOWMAXIMIZED || requested == SW_MAXIMIZE ? SW_SHOWNORMAL : requested;
}

void SaveWindowLayout(SettingsStore& user, HWND window, const LayoutState& state) {
    bool normal = !IsZoomed(window) && !IsIconic(window);
    if (normal) {
        RECT r;
        GetWindowRect(window, &r);
        user.WriteInteger(keys::kDefault, keys::kWidth, r.right - r.left);
        user.WriteInteger(keys::kDefault, keys::kHeight, r.bottom - r.top);
        user.WriteInteger(keys::kDefault, keys::kLeft, r.left);
        user.WriteInteger(keys::kDefault, keys::kTop, r.top);
    }
    user.WriteBool(keys::kDefault, keys::kSmartRecord, state.smartRecord);
    user.WriteInteger(keys::kDefault, keys::kRecordListWidth, state.recordListWidth);
    user.WriteInteger(keys::kDefault, keys::kWindowState, normal ? 1 : 0);
    StoreSelectedRecord(user, state.selectedRecord);
}

void StoreSelectedRecord(SettingsStore& user, int index) {
    user.WriteInteger(keys::kDefault, keys::kSelectedRecord, index);
}

HWND NextTabStop(const std::vector<HWND>& order, HWND focus, bool backwards,
                 const std::function<bool(HWND)>& canFocus) {
    const int n = static_cast<int>(order.size());
    int at = -1;
    for (int i = 0; i < n && at < 0; ++i)
        if (order[i] && focus && (order[i] == focus || IsChild(order[i], focus))) at = i;
    if (at < 0) at = backwards ? n : -1;
    for (int step = 1; step <= n; ++step) {
        int i = ((at + (backwards ? -step : step)) % n + n) % n;
        if (order[i] && canFocus(order[i])) return order[i];
    }
    return nullptr;
}

HWND MnemonicOwner(const std::vector<HWND>& order, wchar_t letter, const std::function<bool(HWND)>& canUse) {
    for (HWND control : order)
        if (control && MnemonicOf(TextOf(control)) == letter && canUse(control)) return control;
    return nullptr;
}

}  // namespace tv
