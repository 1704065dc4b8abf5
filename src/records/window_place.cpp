#include "records/window_place.h"

#include <algorithm>

#include "base/strings.h"

namespace tv {

namespace {

constexpr wchar_t kRectName[] = L"windowRect";
constexpr wchar_t kShownName[] = L"windowShown";
constexpr wchar_t kMonitorName[] = L"monitor";
constexpr wchar_t kWorkName[] = L"monitorWorkArea";

std::wstring RectText(const RECT& r) {
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
           std::to_wstring(r.bottom);
}

bool ParseRect(const std::wstring& text, RECT& r) {
    int v[4] = {};
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        size_t comma = text.find(L',', start);
        if ((i < 3) != (comma != std::wstring::npos)) return false;
        if (!ParseInteger(Trim(text.substr(start, comma - start)), v[i])) return false;
        start = comma + 1;
    }
    if (v[2] <= v[0] || v[3] <= v[1]) return false;
    r = {v[0], v[1], v[2], v[3]};
    return true;
}

const wchar_t* ShownText(ShownState s) {
    return s == ShownState::Maximised ? L"maximized" : s == ShownState::Minimised ? L"minimized" : L"normal";
}

bool ParseShown(const std::wstring& text, ShownState& s) {
    for (ShownState candidate : {ShownState::Normal, ShownState::Maximised, ShownState::Minimised})
        if (text == ShownText(candidate)) {
            s = candidate;
            return true;
        }
    return false;
}

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }
bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

long long Overlap(const RECT& a, const RECT& b) {
    RECT both;
    return IntersectRect(&both, &a, &b) ? 1LL * Width(both) * Height(both) : 0;
}

long long CentreDistance(const RECT& a, const RECT& b) {
    long long dx = (a.left + a.right) / 2 - (b.left + b.right) / 2, dy = (a.top + a.bottom) / 2 - (b.top + b.bottom) / 2;
    return dx * dx + dy * dy;
}

const MonitorArea& ChooseMonitor(const MonitorArea& stored, const std::vector<MonitorArea>& monitors) {
    for (const MonitorArea& m : monitors)
        if (!stored.device.empty() && EqualsNoCase(m.device, stored.device)) return m;
    const MonitorArea* best = &monitors.front();
    for (const MonitorArea& m : monitors) {
        long long a = Overlap(m.work, stored.work), b = Overlap(best->work, stored.work);
        if (a > b || (a == b && CentreDistance(m.work, stored.work) < CentreDistance(best->work, stored.work)))
            best = &m;
    }
    return *best;
}

// `offset` along one axis, at the same fraction of `to` as it was of `from`.
LONG Scaled(LONG offset, LONG from, LONG to) {
    return from > 0 ? static_cast<LONG>(1LL * offset * to / from) : 0;
}

LONG Inside(LONG start, LONG length, LONG low, LONG high) { return std::max(low, std::min(start, high - length)); }

// The offset of workspace coordinates (the placement calls' own) from screen coordinates.
POINT WorkspaceOffset(const MonitorArea& m) { return {m.work.left - m.bounds.left, m.work.top - m.bounds.top}; }

MonitorArea AreaOf(HMONITOR monitor) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof(info);
    MonitorArea area;
    if (!GetMonitorInfoW(monitor, &info)) return area;
    area.device = info.szDevice;
    area.work = info.rcWork;
    area.bounds = info.rcMonitor;
    return area;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    reinterpret_cast<std::vector<MonitorArea>*>(list)->push_back(AreaOf(monitor));
    return TRUE;
}

}  // namespace

std::vector<std::pair<const wchar_t*, std::wstring>> PlaceAttributes(const WindowPlace& place) {
    if (!place.known) return {};
    return {{kRectName, RectText(place.normal)},
            {kShownName, ShownText(place.shown)},
            {kMonitorName, place.monitor.device},
            {kWorkName, RectText(place.monitor.work)}};
}

WindowPlace PlaceFromAttributes(const AttributeReader& attribute) {
    WindowPlace place;
    std::wstring rect, shown, work;
    if (attribute(kRectName, rect) && attribute(kShownName, shown) && attribute(kMonitorName, place.monitor.device) &&
        attribute(kWorkName, work) && ParseRect(rect, place.normal) && ParseShown(shown, place.shown) &&
        ParseRect(work, place.monitor.work))
        place.known = true;
    return place.known ? place : WindowPlace{};
}

WindowPlace PlaceOnMonitors(const WindowPlace& stored, const std::vector<MonitorArea>& monitors) {
    if (monitors.empty()) return stored;
    WindowPlace placed = stored;
    placed.monitor = ChooseMonitor(stored.monitor, monitors);
    const RECT& from = stored.monitor.work;
    const RECT& to = placed.monitor.work;
    LONG w = std::min(Width(stored.normal), Width(to)), h = std::min(Height(stored.normal), Height(to));
    LONG left = stored.normal.left, top = stored.normal.top;
    if (!SameRect(from, to)) {
        left = to.left + Scaled(left - from.left, Width(from), Width(to));
        top = to.top + Scaled(top - from.top, Height(from), Height(to));
    }
    left = Inside(left, w, to.left, to.right);
    top = Inside(top, h, to.top, to.bottom);
    placed.normal = {left, top, left + w, top + h};
    return placed;
}

std::vector<MonitorArea> CurrentMonitors() {
    std::vector<MonitorArea> list;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
    return list;
}

WindowPlace PlaceOfWindow(HWND window) {
    KnownMonitors none;
    return PlaceOfWindow(window, none);
}

WindowPlace PlaceOfWindow(HWND window, KnownMonitors& known) {
    WindowPlace place;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(window, &wp)) return place;  // the window is gone
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    auto seen = std::find_if(known.begin(), known.end(), [monitor](const auto& m) { return m.first == monitor; });
    if (seen == known.end()) seen = known.insert(known.end(), {monitor, AreaOf(monitor)});
    place.monitor = seen->second;
    const POINT offset = WorkspaceOffset(place.monitor);
    place.normal = wp.rcNormalPosition;
    OffsetRect(&place.normal, offset.x, offset.y);
    // The placement says how the window shows; asking again would cost a call a window each.
    place.shown = wp.showCmd == SW_SHOWMINIMIZED   ? ShownState::Minimised
                  : wp.showCmd == SW_SHOWMAXIMIZED ? ShownState::Maximised
                                                   : ShownState::Normal;
    place.known = Width(place.normal) > 0 && Height(place.normal) > 0;
    return place;
}

bool PutWindowAt(HWND window, const WindowPlace& place) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(window, &wp)) return false;
    const POINT offset = WorkspaceOffset(place.monitor);
    wp.rcNormalPosition = place.normal;
    OffsetRect(&wp.rcNormalPosition, -offset.x, -offset.y);
    wp.flags = 0;
    wp.showCmd = place.shown == ShownState::Maximised   ? SW_SHOWMAXIMIZED
                 : place.shown == ShownState::Minimised ? SW_SHOWMINNOACTIVE
                                                        : SW_SHOWNORMAL;
    if (SetWindowPlacement(window, &wp)) return true;
    // Some systems (Wine) place only their own process's windows so; the window's program then
    // gets the same as a restore, a move and the shown state, one request each.
    if (IsIconic(window) || IsZoomed(window)) ShowWindow(window, SW_RESTORE);
    if (!SetWindowPos(window, nullptr, place.normal.left, place.normal.top, Width(place.normal),
                      Height(place.normal), SWP_NOZORDER | SWP_NOACTIVATE))
        return false;
    if (place.shown != ShownState::Normal) ShowWindow(window, wp.showCmd);
    return true;
}

}  // namespace tv
