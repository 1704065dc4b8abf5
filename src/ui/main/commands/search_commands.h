#pragma once
// What the main window does with its search panel: "Search..." shows or hides it (with its
// check mark in the "more" menu), the focus leaves the panel before it hides, and a search with
// an empty box shows the selected record again.
#include <windows.h>

#include <functional>
#include <string>

namespace tv {

class RecordPages;
class SearchPanel;
struct SearchOutcome;

// What a search of `text` found, in the user's words: how many items in how many records.
std::wstring SearchOutcomeText(const std::wstring& text, const SearchOutcome& found);

class SearchCommands {
public:
    // `showSelectedRecord` shows the record the list selects; `searchAll` shows what every record
    // holds of a text; `layOut` lays the window out again.
    SearchCommands(SearchPanel& panel, RecordPages& pages, std::function<void()> showSelectedRecord,
                   std::function<void(const std::wstring&)> searchAll, std::function<void()> layOut);

    // The window the panel goes on, its font, the control before it in the tab order, and the
    // menu holding the "Search..." item.
    void Attach(HWND window, HFONT font, HWND after, HMENU moreMenu);
    void Switch();  // cbSearchClick
    void Show(bool shown);
    void Search();  // BtnSSSearchClick
    // The search box was left: its text joins the history, and it is searched.
    void BoxLeft();

private:
    SearchPanel& panel_;
    RecordPages& pages_;
    std::function<void()> showSelectedRecord_;
    std::function<void(const std::wstring&)> searchAll_;
    std::function<void()> layOut_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    HWND after_ = nullptr;
    HMENU moreMenu_ = nullptr;
};

}  // namespace tv
