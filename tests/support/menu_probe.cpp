// A client of the Explorer menu library in a process of its own, so that a test can end it
// when the library hangs: it hands a new handler the file-list block read from a file, asks
// for the menu item, and chooses the item when it was added (which writes "ctmenu.txt").
//   menu_probe BLOCK_FILE REPORT_FILE
// The report is one line: the set-up's result in hex, the items added, the media released.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "base/handles.h"
#include "shellext/menu_client.h"
#include "support/test_data_object.h"
#include "support/test_support.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    tv::ComScope com;
    tvtest::TestData data(CF_HDROP, tvtest::ReadAll(argv[1]));
    tv::ComPtr<IShellExtInit> init;
    if (FAILED(CoCreateInstance(tvtest::menu::kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                                init.put_void())))
        return 3;
    const HRESULT setUp = init->Initialize(nullptr, &data, nullptr);

    tv::ComPtr<IContextMenu> menu;
    if (FAILED(init->QueryInterface(IID_IContextMenu, menu.put_void()))) return 4;
    HMENU popup = CreatePopupMenu();
    menu->QueryContextMenu(popup, 0, 1, 100, CMF_EXPLORE);
    const int items = GetMenuItemCount(popup);
    DestroyMenu(popup);
    if (items > 0) {
        CMINVOKECOMMANDINFO info = {};
        info.cbSize = sizeof(info);
        info.lpVerb = MAKEINTRESOURCEA(0);
        info.nShow = SW_SHOWNORMAL;
        menu->InvokeCommand(&info);
    }

    char line[64];
    std::snprintf(line, sizeof(line), "%08lX %d %d", static_cast<unsigned long>(setUp), items, data.released);
    return tvtest::WriteAll(argv[2], line) ? 0 : 5;
}
