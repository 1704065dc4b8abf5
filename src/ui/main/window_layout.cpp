#include "ui/main/window_layout.h"

#include "app/settings_keys.h"
#include "app/settings_store.h"

namespace tv {

namespace {
}

StoredGeometry LoadWindowGeometry(const SettingsStore& user, int screenWidth, int screenHeight) {
    StoredGeometry g;
    if (user.ReadInteger(keys::kDefault, keys::kWindowState, 1) != 1) {
        g.maximised = true;
        return g;
    }
    int width = user.ReadInteger(keys::kDefault, keys::kWidth, 520);
    int height = user.ReadInteger(keys::kDefault, keys::kHeight, screenHeight - 60);
    int left = user.ReadInteger(keys::kDefault, keys::kLeft, screenWidth - width - 15);
    int top = user.ReadInteger(keys::kDefault, keys::kTop, screenHeight - height - 40);
    if (top + height > screenHeight) height = screenHeight - top;
    if (left + width > screenWidth) width = screenWidth - left;
    g.bounds = RECT{left, top, left + width, top + height};
    return g;
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
    user.WriteInteger(keys::kDefault, keys::kSelectedRecord, state.selectedRecord);
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

}  // namespace tv
