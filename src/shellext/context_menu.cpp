#include "shellext/context_menu.h"

#include <shellapi.h>

#include <algorithm>

#include "base/drop_list.h"
#include "base/handles.h"
#include "shellext/gdi.h"
#include "shellext/module.h"

namespace tv::menu {

namespace {

// The four lowest flags: default only, verbs only, explore, no verbs.
constexpr UINT kLowFlags = CMF_DEFAULTONLY | CMF_VERBSONLY | CMF_EXPLORE | CMF_NOVERBS;

bool ItemsWanted(UINT flags) {
    return (flags & CMF_EXPLORE) != 0 || (flags != CMF_NORMAL && (flags & kLowFlags) == 0);
}

bool SameAsciiNoCase(const char* a, const std::string& b) {
    size_t i = 0;
    for (; a[i] && i < b.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return a[i] == '\0' && i == b.size();
}

bool SameAsciiNoCase(const wchar_t* a, const std::string& b) {
    size_t i = 0;
    for (; a[i] && i < b.size(); ++i) {
        wchar_t x = a[i], y = static_cast<unsigned char>(b[i]);
        if (x >= L'A' && x <= L'Z') x = x - L'A' + L'a';
        if (y >= L'A' && y <= L'Z') y = y - L'A' + L'a';
        if (x != y) return false;
    }
    return a[i] == L'\0' && i == b.size();
}

// Copies `text` into the caller's buffer of `cchMax` units, cut to fit with its terminating
// zero; nothing is written into a buffer of no units.
void CopyAnsi(const std::string& text, CHAR* out, UINT cchMax) {
    if (cchMax == 0) return;
    size_t n = std::min<size_t>(text.size(), cchMax - 1);
    std::copy_n(text.data(), n, out);
    out[n] = '\0';
}

void CopyWide(const std::string& text, WCHAR* out, UINT cchMax) {
    constexpr size_t kMaxChars = 254;
    if (cchMax == 0) return;
    size_t n = std::min({text.size(), static_cast<size_t>(cchMax - 1), kMaxChars});
    for (size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(text[i]);
    out[n] = L'\0';
}

// A path goes over as one line of the hand-off: one longer than a line carries, or holding a
// line break, would arrive cut, as the name of another file.
bool FitsHandOffLine(const std::wstring& path) {
    return path.size() <= TCustomContextMenu::kPathChars && path.find_first_of(L"\r\n") == std::wstring::npos;
}

}  // namespace

TCustomContextMenu::TCustomContextMenu() { ObjectCreated(); }

TCustomContextMenu::~TCustomContextMenu() { ObjectDestroyed(); }

STDMETHODIMP TCustomContextMenu::QueryInterface(REFIID riid, void** ppv) {
    try {
        static const InterfaceEntry table[] = {
            {&IID_IShellExtInit, InterfaceOffset<TCustomContextMenu, IShellExtInit>()},
            {&IID_IContextMenu, InterfaceOffset<TCustomContextMenu, IContextMenu>()},
            {nullptr, 0},
        };
        return QueryFromTable(this, table, riid, ppv);
    } catch (...) {
        return E_FAIL;
    }
}

STDMETHODIMP_(ULONG) TCustomContextMenu::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

STDMETHODIMP_(ULONG) TCustomContextMenu::Release() {
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP TCustomContextMenu::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) {
    try {
        // A set-up that fails leaves no earlier selection behind to be handed over.
        paths_.clear();
        if (!data) return E_INVALIDARG;
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        StorageMedium medium;
        HRESULT hr = medium.GetFrom(data, format);
        if (FAILED(hr)) return hr;
        if (!medium.global()) return E_FAIL;

        // The list is read here, within its block: the system's reader trusts the block's
        // offsets and zeros, and a hostile one sends it past the block's end.
        LockedGlobal list(medium.global());
        if (!list.bytes()) return E_FAIL;
        for (std::wstring& path : DropListNames(list.bytes(), list.size()))
            if (FitsHandOffLine(path)) paths_.push_back(std::move(path));
        return paths_.empty() ? E_FAIL : S_OK;
    } catch (...) {
        paths_.clear();
        return E_FAIL;
    }
}

STDMETHODIMP TCustomContextMenu::QueryContextMenu(HMENU menu, UINT index, UINT idCmdFirst,
                                                  UINT idCmdLast, UINT flags) {
    try {
        // Without a selection the item would hand over nothing.
        if (paths_.empty() || !ItemsWanted(flags) || idCmdFirst > idCmdLast) return E_FAIL;
        UINT used = AddMenuItems(menu, index, idCmdFirst, idCmdLast);
        if (used == 0) return E_FAIL;
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, used);
    } catch (...) {
        return E_FAIL;
    }
}

bool TCustomContextMenu::CommandOffset(const CMINVOKECOMMANDINFO& info, UINT& offset) {
    // A caller that passes a Unicode verb may pass an unrelated ANSI one beside it.
    if (info.cbSize >= sizeof(CMINVOKECOMMANDINFOEX) && (info.fMask & CMIC_MASK_UNICODE)) {
        const auto& ex = reinterpret_cast<const CMINVOKECOMMANDINFOEX&>(info);
        if (ex.lpVerbW && !IS_INTRESOURCE(ex.lpVerbW)) {
            for (UINT i = 0; i < CommandCount(); ++i) {
                if (SameAsciiNoCase(ex.lpVerbW, GetVerb(i))) {
                    offset = i;
                    return true;
                }
            }
            return false;
        }
    }
    if (IS_INTRESOURCE(info.lpVerb)) {
        offset = LOWORD(reinterpret_cast<ULONG_PTR>(info.lpVerb));
        return offset < CommandCount();
    }
    for (UINT i = 0; i < CommandCount(); ++i) {
        if (SameAsciiNoCase(info.lpVerb, GetVerb(i))) {
            offset = i;
            return true;
        }
    }
    return false;
}

STDMETHODIMP TCustomContextMenu::InvokeCommand(CMINVOKECOMMANDINFO* info) {
    try {
        if (!info || info->cbSize < sizeof(CMINVOKECOMMANDINFO)) return E_INVALIDARG;
        UINT offset = 0;
        if (!CommandOffset(*info, offset)) return E_FAIL;
        return ExecuteCommand(offset);
    } catch (...) {
        return E_FAIL;
    }
}

STDMETHODIMP TCustomContextMenu::GetCommandString(UINT_PTR idCmd, UINT type, UINT*, CHAR* name,
                                                  UINT cchMax) {
    try {
        if (cchMax == 0) return S_OK;
        if (!name) return E_INVALIDARG;
        auto offset = static_cast<UINT>(idCmd);
        switch (type) {
        case GCS_VERBA: CopyAnsi(GetVerb(offset), name, cchMax); break;
        case GCS_HELPTEXTA: CopyAnsi(GetHelpText(offset), name, cchMax); break;
        case GCS_VERBW: CopyWide(GetVerb(offset), reinterpret_cast<WCHAR*>(name), cchMax); break;
        case GCS_HELPTEXTW:
            CopyWide(GetHelpText(offset), reinterpret_cast<WCHAR*>(name), cchMax);
            break;
        default: break;  // nothing asked of us: the buffer stays as it was
        }
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

// --- TOwnerDrawContextMenu

STDMETHODIMP TOwnerDrawContextMenu::QueryInterface(REFIID riid, void** ppv) {
    try {
        // IContextMenu3 extends IContextMenu and IContextMenu2: one part answers for all three.
        static const InterfaceEntry table[] = {
            {&IID_IShellExtInit, InterfaceOffset<TOwnerDrawContextMenu, IShellExtInit>()},
            {&IID_IContextMenu, InterfaceOffset<TOwnerDrawContextMenu, IContextMenu3>()},
            {&IID_IContextMenu2, InterfaceOffset<TOwnerDrawContextMenu, IContextMenu3>()},
            {&IID_IContextMenu3, InterfaceOffset<TOwnerDrawContextMenu, IContextMenu3>()},
            {nullptr, 0},
        };
        return QueryFromTable(this, table, riid, ppv);
    } catch (...) {
        return E_FAIL;
    }
}
STDMETHODIMP_(ULONG) TOwnerDrawContextMenu::AddRef() { return TCustomContextMenu::AddRef(); }
STDMETHODIMP_(ULONG) TOwnerDrawContextMenu::Release() { return TCustomContextMenu::Release(); }

STDMETHODIMP TOwnerDrawContextMenu::QueryContextMenu(HMENU menu, UINT index, UINT idCmdFirst,
                                                     UINT idCmdLast, UINT flags) {
    return TCustomContextMenu::QueryContextMenu(menu, index, idCmdFirst, idCmdLast, flags);
}
STDMETHODIMP TOwnerDrawContextMenu::InvokeCommand(CMINVOKECOMMANDINFO* info) {
    return TCustomContextMenu::InvokeCommand(info);
}
STDMETHODIMP TOwnerDrawContextMenu::GetCommandString(UINT_PTR idCmd, UINT type, UINT* reserved,
                                                     CHAR* name, UINT cchMax) {
    return TCustomContextMenu::GetCommandString(idCmd, type, reserved, name, cchMax);
}

STDMETHODIMP TOwnerDrawContextMenu::HandleMenuMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
    return HandleMenuMsg2(msg, wParam, lParam, nullptr);
}

STDMETHODIMP TOwnerDrawContextMenu::HandleMenuMsg2(UINT msg, WPARAM, LPARAM lParam, LRESULT*) {
    try {
        switch (msg) {
        case WM_DRAWITEM: {
            auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (!draw || !draw->hDC) return E_FAIL;
            DrawMenuItem(static_cast<HWND>(draw->hwndItem), draw->itemID, draw->hDC,
                         draw->rcItem, draw->itemState);
            return S_OK;
        }
        case WM_MEASUREITEM: {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (!measure) return E_FAIL;
            MeasureMenuItem(measure->itemID, measure->itemWidth, measure->itemHeight);
            return S_OK;
        }
        default: return S_OK;
        }
    } catch (...) {
        return E_FAIL;
    }
}

int TOwnerDrawContextMenu::MenuTextWidth(const std::string& text) {
    MemoryDC dc(nullptr);
    if (!dc) return 0;
    // The size of the metrics before Vista added a field, so every Windows version fills it.
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    GdiObject font;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        font.reset(CreateFontIndirectA(&metrics.lfMenuFont));
    HGDIOBJ use = font ? font.get() : GetStockObject(SYSTEM_FONT);
    SelectedObject selected(dc.get(), use);
    SIZE size = {};
    if (!GetTextExtentPoint32A(dc.get(), text.data(), static_cast<int>(text.size()), &size))
        return 0;
    return size.cx;
}

}  // namespace tv::menu
