// The handler as Explorer drives it: its interfaces, the menu item, its measuring and drawing,
// its command strings, the library's unload answer, and hostile calls.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>

#include "shellext/menu_fixture.h"

using namespace tvtest;
using namespace tvtest::menu;

namespace {

const char kItemText[] = "Add to Tolvane ( create shortcut)";

class MenuHandler : public RegisteredLibrary {};

struct Menu {
    HMENU handle = CreatePopupMenu();
    ~Menu() { DestroyMenu(handle); }
    int count() const { return GetMenuItemCount(handle); }
};

// A 32-bit top-down drawing surface filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < width * height; ++i)
            bits_[i] = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const {
        uint32_t v = bits_[y * width_ + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    uint32_t* bits_ = nullptr;
};

// The library's own "SOFTWARE" picture, read from its resources.
struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;  // top-down
    COLORREF At(int x, int y) const { return pixels[y * width + x]; }
};

Picture LibraryPicture(HMODULE library) {
    Picture picture;
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(library, L"SOFTWARE", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return picture;
    BITMAP info = {};
    GetObjectW(bitmap, sizeof(info), &info);
    picture.width = info.bmWidth;
    picture.height = info.bmHeight;
    BITMAPINFO want = {};
    want.bmiHeader.biSize = sizeof(want.bmiHeader);
    want.bmiHeader.biWidth = info.bmWidth;
    want.bmiHeader.biHeight = -info.bmHeight;
    want.bmiHeader.biPlanes = 1;
    want.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> raw(info.bmWidth * info.bmHeight);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, info.bmHeight, raw.data(), &want, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(bitmap);
    for (uint32_t v : raw) picture.pixels.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
    return picture;
}

constexpr COLORREF kWhite = RGB(255, 255, 255);

// Pixels of the picture at (x, y) that differ from it drawn with white left as `back`.
template <class PixelAt>
int PictureMismatches(const Picture& picture, int x, int y, COLORREF back, PixelAt at) {
    int wrong = 0;
    for (int py = 0; py < picture.height; ++py)
        for (int px = 0; px < picture.width; ++px) {
            COLORREF want = picture.At(px, py) == kWhite ? back : picture.At(px, py);
            if (at(x + px, y + py) != want) ++wrong;
        }
    return wrong;
}

template <class PixelAt>
int CountColour(const RECT& area, COLORREF colour, PixelAt at) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (at(x, y) == colour) ++n;
    return n;
}

// System colours of this session for the life of the object.
class ScopedSysColours {
public:
    ScopedSysColours(std::initializer_list<std::pair<int, COLORREF>> colours) {
        for (auto [element, value] : colours) {
            elements_.push_back(element);
            old_.push_back(GetSysColor(element));
            new_.push_back(value);
        }
        SetSysColors(static_cast<int>(elements_.size()), elements_.data(), new_.data());
    }
    ~ScopedSysColours() { SetSysColors(static_cast<int>(elements_.size()), elements_.data(), old_.data()); }

private:
    std::vector<int> elements_;
    std::vector<COLORREF> old_, new_;
};

// The menu font's width of the item text, measured here independently of the library.
int MenuFontTextWidth() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32A(dc, kItemText, 33, &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return size.cx;
}

}  // namespace

TEST_F(MenuHandler, AnswersForItsInterfacesWithOneIdentity) {
    auto handler = HandlerFor({L"C:\\windows"});
    ASSERT_TRUE(handler);
    tv::ComPtr<IUnknown> identity;
    ASSERT_HRESULT_SUCCEEDED(handler->QueryInterface(IID_IUnknown, identity.put_void()));
    for (const IID* iid : {&IID_IShellExtInit, &IID_IContextMenu, &IID_IContextMenu2, &IID_IContextMenu3}) {
        tv::ComPtr<IUnknown> part;
        ASSERT_HRESULT_SUCCEEDED(handler->QueryInterface(*iid, part.put_void()));
        tv::ComPtr<IUnknown> again;
        ASSERT_HRESULT_SUCCEEDED(part->QueryInterface(IID_IUnknown, again.put_void()));
        EXPECT_EQ(again.get(), identity.get());
    }
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(handler->QueryInterface(IID_IClassFactory, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
}

TEST_F(MenuHandler, TakesTheShellsOwnSelectionOfAFolderOrOfFiles) {
    TempFolder folder;
    CreateDirectoryW(folder.file(L"Sub Folder").c_str(), nullptr);
    for (const wchar_t* name : {L"a.txt", L"b c.txt", L"d.txt"}) WriteAll(folder.file(name), "x");
    for (const auto& names : {std::vector<std::wstring>{L"Sub Folder"},
                              std::vector<std::wstring>{L"a.txt", L"b c.txt", L"d.txt"}}) {
        tv::ComPtr<IDataObject> data;
        ASSERT_HRESULT_SUCCEEDED(ShellDataObject(folder.path(), names, data.put()));
        tv::ComPtr<IShellExtInit> init;
        ASSERT_HRESULT_SUCCEEDED(
            CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, init.put_void()));
        EXPECT_EQ(init->Initialize(nullptr, data.get(), nullptr), S_OK);
    }
}

TEST_F(MenuHandler, AddsItsOwnerDrawnItemOnlyWhenTheFlagsAskForIt) {
    auto handler = HandlerFor({L"C:\\windows"});
    ASSERT_TRUE(handler);
    for (UINT first : {5u, 0u}) {
        Menu menu;
        AppendMenuW(menu.handle, MF_STRING, 900, L"Open");
        EXPECT_EQ(handler->QueryContextMenu(menu.handle, 0, first, first + 100, CMF_EXPLORE), MAKE_HRESULT(0, 0, 1));
        ASSERT_EQ(menu.count(), 2);
        EXPECT_EQ(GetMenuItemID(menu.handle, 0), first);  // inserted at the index given
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
        ASSERT_TRUE(GetMenuItemInfoW(menu.handle, 0, TRUE, &info));
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
        EXPECT_EQ(info.fState, 0u);
        EXPECT_EQ(info.dwItemData, 0u);
    }
    for (UINT flags : {0x10u, 0x14u, 0x4u, 0x5u}) {
        Menu menu;
        EXPECT_EQ(handler->QueryContextMenu(menu.handle, 0, 5, 100, flags), MAKE_HRESULT(0, 0, 1)) << flags;
        EXPECT_EQ(menu.count(), 1) << flags;
    }
    for (UINT flags : {0x0u, 0x1u, 0x2u, 0x8u, 0x12u}) {
        Menu menu;
        EXPECT_EQ(handler->QueryContextMenu(menu.handle, 0, 5, 100, flags), E_FAIL) << flags;
        EXPECT_EQ(menu.count(), 0) << flags;
    }
    // No room for an identifier, or no menu: nothing added, no success.
    Menu menu;
    EXPECT_EQ(handler->QueryContextMenu(menu.handle, 0, 7, 6, CMF_EXPLORE), E_FAIL);
    EXPECT_EQ(menu.count(), 0);
    EXPECT_EQ(handler->QueryContextMenu(nullptr, 0, 5, 100, CMF_EXPLORE), E_FAIL);
}

TEST_F(MenuHandler, MeasuresAndDrawsTheItemWithItsPictureInBothStates) {
    auto handler = HandlerFor({L"C:\\windows"});
    ASSERT_TRUE(handler);
    const Picture picture = LibraryPicture(LoadedLibrary());
    ASSERT_EQ(picture.width, 14);
    ASSERT_EQ(picture.height, 14);
    const int white = CountColour({0, 0, 14, 14}, kWhite, [&](int x, int y) { return picture.At(x, y); });
    ASSERT_GT(white, 0) << "the picture has transparent parts";
    ASSERT_LT(white, 14 * 14) << "and visible ones";

    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    measure.itemID = 5;
    LRESULT result = 12345;
    ASSERT_EQ(handler->HandleMenuMsg2(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), &result), S_OK);
    EXPECT_EQ(result, 12345) << "the result is left alone";
    EXPECT_EQ(measure.itemHeight, 23u);
    const int textWidth = MenuFontTextWidth();
    ASSERT_GT(textWidth, 0);
    EXPECT_EQ(measure.itemWidth, static_cast<UINT>(textWidth + 36));
    MEASUREITEMSTRUCT again = {};
    again.CtlType = ODT_MENU;
    ASSERT_EQ(handler->HandleMenuMsg(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&again)), S_OK);
    EXPECT_EQ(again.itemWidth, measure.itemWidth);

    // Menu colours that white cannot be mistaken for.
    const COLORREF menuBack = RGB(231, 201, 163), menuText = RGB(12, 22, 121);
    const COLORREF selBack = RGB(40, 90, 200), selText = RGB(250, 240, 60);
    ScopedSysColours colours({{COLOR_MENU, menuBack}, {COLOR_MENUTEXT, menuText},
                              {COLOR_HIGHLIGHT, selBack}, {COLOR_HIGHLIGHTTEXT, selText}});
    const COLORREF outside = RGB(1, 2, 3);
    for (bool selected : {false, true}) {
        SCOPED_TRACE(selected ? "selected" : "not selected");
        const COLORREF back = selected ? selBack : menuBack, text = selected ? selText : menuText;
        Canvas canvas(measure.itemWidth + 20, 40, outside);
        SetBkColor(canvas.dc(), RGB(9, 9, 9));
        SetTextColor(canvas.dc(), RGB(8, 8, 8));
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_MENU;
        draw.itemID = 5;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = selected ? ODS_SELECTED : 0;
        draw.hDC = canvas.dc();
        draw.rcItem = {10, 7, 10 + static_cast<LONG>(measure.itemWidth), 7 + 23};
        const RECT r = draw.rcItem;
        ASSERT_EQ(handler->HandleMenuMsg2(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw), nullptr), S_OK);
        auto at = [&](int x, int y) { return canvas.At(x, y); };

        EXPECT_EQ(PictureMismatches(picture, r.left + 2, r.top + 2, back, at), 0);
        // The text: in its colour, right of the picture, below the top margin.
        EXPECT_GT(CountColour({r.left + 18, r.top + 3, r.right, r.bottom}, text, at), 40);
        EXPECT_EQ(CountColour({r.left, r.top, r.left + 18, r.bottom}, text, at), 0);
        EXPECT_EQ(CountColour({r.left, r.top, r.right, r.top + 2}, back, at), (r.right - r.left) * 2);
        EXPECT_EQ(at(r.right - 1, r.bottom - 1), back);
        // Nothing outside the item's rectangle changed.
        const int all = canvas.width() * canvas.height();
        const int inside = (r.right - r.left) * (r.bottom - r.top);
        EXPECT_EQ(CountColour({0, 0, canvas.width(), canvas.height()}, outside, at), all - inside);
        // The menu's device context is handed back as it came.
        EXPECT_EQ(GetBkColor(canvas.dc()), RGB(9, 9, 9));
        EXPECT_EQ(GetTextColor(canvas.dc()), RGB(8, 8, 8));
    }
}

namespace {
IContextMenu3* g_drawer = nullptr;
RECT g_drawnItem = {};  // on the screen
bool g_drawnSelected = false;

LRESULT CALLBACK MenuOwnerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if ((msg == WM_MEASUREITEM || msg == WM_DRAWITEM) && g_drawer) {
        if (msg == WM_DRAWITEM) {
            auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            g_drawnItem = draw->rcItem;
            g_drawnSelected = (draw->itemState & ODS_SELECTED) != 0;
            MapWindowPoints(WindowFromDC(draw->hDC), nullptr, reinterpret_cast<POINT*>(&g_drawnItem), 2);
        }
        LRESULT result = 0;
        if (g_drawer->HandleMenuMsg2(msg, wParam, lParam, &result) == S_OK) return TRUE;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}
}  // namespace

TEST_F(MenuHandler, ShowsTheItemInARealMenuPlainAndSelected) {
    auto handler = HandlerFor({L"C:\\windows"});
    ASSERT_TRUE(handler);
    const Picture picture = LibraryPicture(LoadedLibrary());
    ASSERT_EQ(picture.width, 14);
    WNDCLASSW cls = {};
    cls.lpfnWndProc = MenuOwnerProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    cls.lpszClassName = L"TolvaneMenuTestOwner";
    RegisterClassW(&cls);
    HWND owner = CreateWindowW(cls.lpszClassName, L"Menu owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                               300, 200, nullptr, nullptr, cls.hInstance, nullptr);
    ASSERT_NE(owner, nullptr);
    SetForegroundWindow(owner);
    Menu menu;
    AppendMenuW(menu.handle, MF_STRING, 900, L"Open");
    ASSERT_EQ(handler->QueryContextMenu(menu.handle, 1, 100, 200, CMF_EXPLORE | CMF_CANRENAME), MAKE_HRESULT(0, 0, 1));
    g_drawer = handler.get();

    struct Seen {
        int plainWrong = -1, selectedWrong = -1, selectedBack = 0, plainHighlight = -1, itemPixels = 0;
    } seen;
    auto screenPixels = [](RECT area) {
        // A copy of the screen's pixels, for comparing.
        auto canvas = std::make_shared<Canvas>(area.right, area.bottom, RGB(0, 0, 0));
        HDC screen = GetDC(nullptr);
        BitBlt(canvas->dc(), 0, 0, area.right, area.bottom, screen, 0, 0, SRCCOPY);
        ReleaseDC(nullptr, screen);
        return canvas;
    };
    // Looks at the screen every 100 ms until the item shows as expected (or 10 s went by),
    // since the menu and its repainting come when the machine gets to them.
    int phase = 0, tries = 0;
    std::function<void()> look = [&] {
        const RECT item = g_drawnItem;
        const bool selected = phase == 1;
        if (item.right > item.left && g_drawnSelected == selected) {
            auto shot = screenPixels({0, 0, item.right + 1, item.bottom + 1});
            auto at = [&](int x, int y) { return shot->At(x, y); };
            seen.itemPixels = (item.right - item.left) * (item.bottom - item.top);
            int wrong = PictureMismatches(picture, item.left + 2, item.top + 2,
                                          GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU), at);
            int highlight = CountColour(item, GetSysColor(COLOR_HIGHLIGHT), at);
            (selected ? seen.selectedWrong : seen.plainWrong) = wrong;
            (selected ? seen.selectedBack : seen.plainHighlight) = highlight;
            if (wrong == 0 || tries >= 100) {
                SaveScreenshot(ScreenshotFolder() + (selected ? L"\\menu_item_selected.png" : L"\\menu_item.png"));
                tries = 0;
                if (++phase == 2) {
                    EndMenu();
                    return;
                }
                // Down twice: past "Open" to the item.
                PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
                PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
            }
        }
        if (++tries > 200) {
            EndMenu();
            return;
        }
        RunSoon(look, 100);
    };
    g_drawnItem = {};
    RunSoon(look, 100);
    TrackPopupMenu(menu.handle, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, 80, 80, 0, owner, nullptr);
    g_drawer = nullptr;
    DestroyWindow(owner);

    EXPECT_GT(seen.itemPixels, 0);
    EXPECT_EQ(seen.plainWrong, 0);
    EXPECT_EQ(seen.plainHighlight, 0);
    EXPECT_EQ(seen.selectedWrong, 0);
    // Most of the selected item is the highlight colour; the text and the picture are the rest.
    EXPECT_GT(seen.selectedBack, seen.itemPixels / 2);
}

TEST_F(MenuHandler, GivesItsCommandStringsWithinTheCallersBuffer) {
    auto handler = HandlerFor({L"C:\\windows"});
    ASSERT_TRUE(handler);
    struct Row {
        UINT type;
        std::string text;
    };
    for (const Row& row : {Row{GCS_VERBA, "TolvaneMenu"}, Row{GCS_HELPTEXTA, "Tolvane menu item."}}) {
        char buf[64];
        memset(buf, 0x7F, sizeof(buf));
        EXPECT_EQ(handler->GetCommandString(0, row.type, nullptr, buf, 64), S_OK);
        EXPECT_EQ(std::string(buf), row.text);
        memset(buf, 0x7F, sizeof(buf));
        EXPECT_EQ(handler->GetCommandString(0, row.type, nullptr, buf, 4), S_OK);
        EXPECT_EQ(std::string(buf, 5), row.text.substr(0, 3) + std::string("\0\x7F", 2));
    }
    for (const Row& row : {Row{GCS_VERBW, "TolvaneMenu"}, Row{GCS_HELPTEXTW, "Tolvane menu item."}}) {
        wchar_t buf[64];
        wmemset(buf, 0x7F7F, 64);
        EXPECT_EQ(handler->GetCommandString(0, row.type, nullptr, reinterpret_cast<char*>(buf), 64), S_OK);
        EXPECT_EQ(std::wstring(buf), std::wstring(row.text.begin(), row.text.end()));
        wmemset(buf, 0x7F7F, 64);
        EXPECT_EQ(handler->GetCommandString(0, row.type, nullptr, reinterpret_cast<char*>(buf), 4), S_OK);
        EXPECT_EQ(std::wstring(buf, 5),
                  std::wstring(row.text.begin(), row.text.begin() + 3) + std::wstring(L"\0\x7F7F", 2));
    }
    // No room, or a type the handler has no text for: the buffer stays as it was.
    for (UINT type : {0u, 1u, 4u, 5u, 2u, 6u, 7u}) {
        char buf[16];
        memset(buf, 0x7F, sizeof(buf));
        const UINT cch = (type == 2 || type == 6 || type == 7) ? 16 : 0;
        EXPECT_EQ(handler->GetCommandString(0, type, nullptr, buf, cch), S_OK) << type;
        EXPECT_EQ(std::string(buf, 16), std::string(16, '\x7F')) << type;
    }
    EXPECT_EQ(handler->GetCommandString(0, GCS_VERBW, nullptr, nullptr, 16), E_INVALIDARG);
}

TEST_F(MenuHandler, MayBeUnloadedOnlyWhenNoHandlerAndNoLockRemain) {
    {
        // COM has loaded the library once a handler was made.
        auto first = NewHandler();
        ASSERT_TRUE(first);
    }
    auto canUnload = Export<HRESULT(WINAPI*)()>("DllCanUnloadNow");
    auto getClass = Export<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
    ASSERT_NE(canUnload, nullptr);
    ASSERT_NE(getClass, nullptr);
    EXPECT_EQ(canUnload(), S_OK);
    {
        auto handler = NewHandler();
        ASSERT_TRUE(handler);
        auto second = NewHandler();
        EXPECT_EQ(canUnload(), S_FALSE);
        handler.reset();
        EXPECT_EQ(canUnload(), S_FALSE);  // one is still alive
    }
    EXPECT_EQ(canUnload(), S_OK);

    tv::ComPtr<IClassFactory> factory;
    ASSERT_EQ(getClass(kClsid, IID_IClassFactory, factory.put_void()), S_OK);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(canUnload(), S_FALSE);
    tv::ComPtr<IContextMenu> made;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, made.put_void()), S_OK);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(canUnload(), S_FALSE);  // the handler remains
    made.reset();
    EXPECT_EQ(canUnload(), S_OK);
    // An unlock too many does not hide the next lock.
    factory->LockServer(FALSE);
    factory->LockServer(TRUE);
    EXPECT_EQ(canUnload(), S_FALSE);
    factory->LockServer(FALSE);
    EXPECT_EQ(canUnload(), S_OK);

    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(factory.get()), IID_IUnknown, &out),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClass(IID_IContextMenu, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClass(kClsid, IID_IContextMenu, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(getClass(kClsid, IID_IClassFactory, nullptr), E_POINTER);
    EXPECT_EQ(canUnload(), S_OK);
}

TEST_F(MenuHandler, RefusesHostileCallsWithoutHarm) {
    tv::ComPtr<IShellExtInit> init;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, init.put_void()));
    EXPECT_EQ(init->Initialize(nullptr, nullptr, nullptr), E_INVALIDARG);
    tv::ComPtr<IDataObject> formatless = NewFormatlessData();
    EXPECT_EQ(init->Initialize(nullptr, formatless.get(), nullptr), DV_E_FORMATETC);  // handed on as it came
    tv::ComPtr<IDataObject> empty = NewDropData({});
    EXPECT_EQ(init->Initialize(nullptr, empty.get(), nullptr), E_FAIL);

    tv::ComPtr<IContextMenu3> menu;
    ASSERT_HRESULT_SUCCEEDED(init->QueryInterface(IID_IContextMenu3, menu.put_void()));
    for (UINT msg : {WM_DRAWITEM, WM_MEASUREITEM}) {
        EXPECT_EQ(menu->HandleMenuMsg(msg, 0, 0), E_FAIL);
        EXPECT_EQ(menu->HandleMenuMsg2(msg, 0, 0, nullptr), E_FAIL);
    }
    EXPECT_EQ(menu->HandleMenuMsg2(WM_INITMENUPOPUP, 0, 0, nullptr), S_OK);
    DRAWITEMSTRUCT noDc = {};
    EXPECT_EQ(menu->HandleMenuMsg(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&noDc)), E_FAIL);
    EXPECT_EQ(menu->InvokeCommand(nullptr), E_INVALIDARG);
    CMINVOKECOMMANDINFO tooShort = {};
    tooShort.cbSize = 8;
    EXPECT_EQ(menu->InvokeCommand(&tooShort), E_INVALIDARG);
}
