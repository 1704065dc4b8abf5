#pragma once
// The Explorer menu item "Add to Tolvane ( create shortcut)": drawn by the handler, and when
// chosen it hands the selected paths to the program.
#include <string>
#include <vector>

#include "shellext/context_menu.h"

namespace tv::menu {

class TMyContextMenu : public TOwnerDrawContextMenu {
public:
    // One new handler with a reference count of one; null when memory ran out.
    static TMyContextMenu* Create();

    static constexpr char kItemText[] = "Add to Tolvane ( create shortcut)";
    static constexpr char kVerb[] = "TolvaneMenu";
    static constexpr char kHelpText[] = "Tolvane menu item.";
    static constexpr UINT kItemHeight = 23;
    static constexpr UINT kWidthBesideText = 36;

protected:
    UINT AddMenuItems(HMENU menu, UINT index, UINT idCmdFirst, UINT idCmdLast) override;
    UINT CommandCount() const override { return 1; }
    std::string GetHelpText(UINT offset) override;
    std::string GetVerb(UINT offset) override;
    HRESULT ExecuteCommand(UINT offset) override;
    void MeasureMenuItem(UINT itemId, UINT& width, UINT& height) override;
    void DrawMenuItem(HWND item, UINT itemId, HDC dc, const RECT& rect, UINT state) override;

private:
    TMyContextMenu() = default;
};

// Writes the paths to "ctmenu.txt" in the data folder (created when missing) in the program's
// text-file form. False when there is nothing to write or it could not be written.
bool WriteMenuHandOff(const std::vector<std::wstring>& paths);

// The program the hand-off starts: "tolvane.exe" in the folder of `libraryPath`.
std::wstring ProgramBeside(const std::wstring& libraryPath);

}  // namespace tv::menu
