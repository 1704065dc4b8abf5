#pragma once
// A small framework for Explorer menu handlers: `TCustomContextMenu` takes the selection and
// answers the shell's menu calls, a derived handler supplies its items, texts and command;
// `TOwnerDrawContextMenu` adds the owner-draw messages for handlers that draw their items.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "shellext/com_table.h"

namespace tv::menu {

class TCustomContextMenu : public IShellExtInit, public IContextMenu {
public:
    TCustomContextMenu(const TCustomContextMenu&) = delete;
    TCustomContextMenu& operator=(const TCustomContextMenu&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IShellExtInit
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY progId) override;

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT idCmdFirst, UINT idCmdLast,
                                  UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    STDMETHODIMP GetCommandString(UINT_PTR idCmd, UINT type, UINT* reserved, CHAR* name,
                                  UINT cchMax) override;

    // A path taken from a drop is at most this many characters; longer ones are left out.
    static constexpr UINT kPathChars = 1023;

protected:
    TCustomContextMenu();
    virtual ~TCustomContextMenu();

    // Inserts the handler's items at `index` with identifiers from `idCmdFirst`; the number of
    // identifiers used, 0 for none.
    virtual UINT AddMenuItems(HMENU menu, UINT index, UINT idCmdFirst, UINT idCmdLast) = 0;
    virtual UINT CommandCount() const = 0;
    virtual std::string GetHelpText(UINT offset) = 0;
    virtual std::string GetVerb(UINT offset) = 0;
    virtual HRESULT ExecuteCommand(UINT offset) = 0;

    const std::vector<std::wstring>& SelectedPaths() const { return paths_; }

private:
    // The command offset the caller means, or false when it names none of ours.
    bool CommandOffset(const CMINVOKECOMMANDINFO& info, UINT& offset);

    LONG refs_ = 1;
    std::vector<std::wstring> paths_;
};

class TOwnerDrawContextMenu : public TCustomContextMenu, public IContextMenu3 {
public:
    // IUnknown and IContextMenu, reached through the IContextMenu3 part as well.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT idCmdFirst, UINT idCmdLast,
                                  UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    STDMETHODIMP GetCommandString(UINT_PTR idCmd, UINT type, UINT* reserved, CHAR* name,
                                  UINT cchMax) override;

    // IContextMenu2 and IContextMenu3: one implementation serves both.
    STDMETHODIMP HandleMenuMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;
    STDMETHODIMP HandleMenuMsg2(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Width in pixels of an ANSI text in the menu font; 0 when it cannot be measured.
    static int MenuTextWidth(const std::string& text);

protected:
    TOwnerDrawContextMenu() = default;

    virtual void MeasureMenuItem(UINT itemId, UINT& width, UINT& height) = 0;
    virtual void DrawMenuItem(HWND item, UINT itemId, HDC dc, const RECT& rect, UINT state) = 0;
};

}  // namespace tv::menu
