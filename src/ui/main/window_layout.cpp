#include "ui/main/window_layout.h"

#include "app/settings_store.h"

namespace tv {

namespace {
const wchar_t kDefault[] = L"default";
}

StoredGeometry LoadWindowGeometry(const SettingsStore& user, int screenWidth, int screenHeight) {
    StoredGeometry g;
    if (user.ReadInteger(kDefault, L"WindStateInd", 1) != 1) {
        g.maximised = true;
        return g;
    }
    int width = user.ReadInteger(kDefault, L"Width", 520);
    int height = user.ReadInteger(kDefault, L"Height", screenHeight - 60);
    int left = user.ReadInteger(kDefault, L"Left", screenWidth - width - 15);
    int top = user.ReadInteger(kDefault, L"Top", screenHeight - height - 40);
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
        user.WriteInteger(kDefault, L"Width", r.right - r.left);
        user.WriteInteger(kDefault, L"Height", r.bottom - r.top);
        user.WriteInteger(kDefault, L"Left", r.left);
        user.WriteInteger(kDefault, L"Top", r.top);
    }
    user.WriteBool(kDefault, L"cbSmartRecord", state.smartRecord);
    user.WriteInteger(kDefault, L"GbRecList", state.recordListWidth);
    user.WriteInteger(kDefault, L"WindStateInd", normal ? 1 : 0);
    user.WriteInteger(kDefault, L"LbRECs", state.selectedRecord);
}

}  // namespace tv
