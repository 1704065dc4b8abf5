#pragma once
// Where the main window's parts lie: the command strip along the top, the record list on the
// left with the splitter beside it, and beside the list the search panel, the record pages and
// the progress strip; the status bar along the bottom.
#include <windows.h>

namespace tv {

class ProgressStrip;
class RecordPages;
class SearchPanel;
class StatusBar;

// What a drag of the splitter leaves at the least, in pixels at 96 dpi: the record list's
// width, and the width beside it for the pages.
constexpr int kListLeastWidth = 40;
constexpr int kPagesLeastWidth = 120;

struct MainParts {
    HWND strip[4] = {};  // record button, add button, "..." button, Smart Record box
    int stripNeeds[4] = {};  // the least widths of those four, for narrow windows
    HWND slider = nullptr;
    HWND sliderLabel = nullptr;  // the Smart Record panel: its label, then the slider
    int sliderLabelWidth = 0;    // pixels
    class StartupFilterView* filter = nullptr;  // under the record pages, when shown
    HWND recordList = nullptr;
    bool recordListShown = true;
    int recordListWidth = 120;  // at 96 dpi
    const StatusBar* status = nullptr;
    ProgressStrip* progress = nullptr;
    SearchPanel* search = nullptr;
    RecordPages* pages = nullptr;
};

// Makes the command strip's buttons, box and slider in `parts`.
void CreateCommandStrip(HWND window, MainParts& parts);
// The least widths the strip's controls need in `font`.
void MeasureCommandStrip(MainParts& parts, HFONT font, int dpi);

// Places every part for the window's client size now.
void LayOutMainWindow(HWND window, const MainParts& parts, int dpi);

// The record list's right edge in client pixels: its width kept within what a drag of the
// splitter allows, so that no stored width hides the list, the pages or the splitter itself.
int RecordListRight(int recordListWidth, int clientWidth, int dpi);

// The splitter between the record list and the pages, dragged with the mouse.
class Splitter {
public:
    // True when client x lies on the splitter.
    bool Over(HWND window, const MainParts& parts, int x, int dpi) const;
    // WM_SETCURSOR of the window: the sizing cursor over the splitter; true when it was set.
    bool SetCursor(HWND window, WPARAM wParam, LPARAM lParam, const MainParts& parts, int dpi) const;
    // The mouse messages of the window; true when the message was the splitter's. `moved` runs
    // while it is dragged, `dropped` when it is let go.
    template <class Moved, class Dropped>
    bool HandleMouse(HWND window, UINT msg, LPARAM lParam, MainParts& parts, int dpi, Moved moved, Dropped dropped);

private:
    bool dragging_ = false;
};

}  // namespace tv

#include "ui/main/frame/main_layout_inl.h"
