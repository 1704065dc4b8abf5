#include "shellext/my_context_menu.h"

#include <shellapi.h>
#include <shlobj.h>

#include <new>

#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/text_file.h"
#include "shellext/gdi.h"
#include "shellext/module.h"

namespace tv::menu {

namespace {
constexpr int kPictureMargin = 2;
constexpr int kTextLeft = 18;
constexpr int kTextTop = 3;
constexpr COLORREF kTransparent = RGB(255, 255, 255);
}  // namespace

TMyContextMenu* TMyContextMenu::Create() { return new (std::nothrow) TMyContextMenu(); }

UINT TMyContextMenu::AddMenuItems(HMENU menu, UINT index, UINT idCmdFirst, UINT) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_ID | MIIM_TYPE;
    item.fType = MFT_OWNERDRAW;
    item.wID = idCmdFirst;
    return InsertMenuItemA(menu, index, TRUE, &item) ? 1 : 0;
}

std::string TMyContextMenu::GetHelpText(UINT) { return kHelpText; }

std::string TMyContextMenu::GetVerb(UINT) { return kVerb; }

HRESULT TMyContextMenu::ExecuteCommand(UINT) {
    std::wstring library = LibraryPath();
    if (library.empty()) return E_FAIL;
    // Without a fresh file the program would add whatever an older hand-off left there.
    if (!WriteMenuHandOff(SelectedPaths())) return E_FAIL;

    std::wstring program = ProgramBeside(library);
    SHELLEXECUTEINFOW run = {};
    run.cbSize = sizeof(run);
    run.fMask = SEE_MASK_FLAG_NO_UI;  // a missing program is no reason to show Explorer a box
    run.lpVerb = L"Open";
    run.lpFile = program.c_str();
    run.lpParameters = L"/ctmenu";
    run.nShow = SW_SHOW;
    ShellExecuteExW(&run);
    return S_OK;
}

void TMyContextMenu::MeasureMenuItem(UINT, UINT& width, UINT& height) {
    height = kItemHeight;
    width = static_cast<UINT>(MenuTextWidth(kItemText)) + kWidthBesideText;
}

void TMyContextMenu::DrawMenuItem(HWND, UINT, HDC dc, const RECT& rect, UINT state) {
    const bool selected = (state & ODS_SELECTED) != 0;
    const int back = selected ? COLOR_HIGHLIGHT : COLOR_MENU;
    const int text = selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT;

    // The menu's device context goes back to the menu as it came.
    int saved = SaveDC(dc);
    SetBkColor(dc, GetSysColor(back));
    SetTextColor(dc, GetSysColor(text));
    FillRect(dc, &rect, GetSysColorBrush(back));

    GdiObject picture(LoadBitmapW(Module(), L"SOFTWARE"));
    if (picture)
        DrawTransparentBitmap(dc, static_cast<HBITMAP>(picture.get()), rect.left + kPictureMargin,
                              rect.top + kPictureMargin, kTransparent);
    TextOutA(dc, rect.left + kTextLeft, rect.top + kTextTop, kItemText, sizeof(kItemText) - 1);
    if (saved) RestoreDC(dc, saved);
}

bool WriteMenuHandOff(const std::vector<std::wstring>& paths) {
    if (paths.empty()) return false;
    wchar_t documents[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)))
        return false;
    std::wstring folder = NormaliseFolder(std::wstring(documents) + L"\\tolvane\\");
    CreateFolderTree(folder);  // a failure shows when the file cannot be written
    return WriteTextLines(folder + L"ctmenu.txt", paths);
}

std::wstring ProgramBeside(const std::wstring& libraryPath) {
    size_t cut = libraryPath.find_last_of(L'\\');
    std::wstring folder = cut == std::wstring::npos ? std::wstring() : libraryPath.substr(0, cut + 1);
    return folder + L"tolvane.exe";
}

}  // namespace tv::menu
