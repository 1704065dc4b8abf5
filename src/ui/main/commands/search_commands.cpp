#include "ui/main/commands/search_commands.h"

#include "app/record_session.h"
#include "base/strings.h"
#include "ui/main/menus/main_menus.h"
#include "ui/main/views/record_pages.h"
#include "ui/main/views/search_panel.h"

namespace tv {

std::wstring SearchOutcomeText(const std::wstring& text, const SearchOutcome& found) {
    const std::wstring quoted = L"\"" + Trim(text) + L"\"";
    if (found.items == 0) return L"No item matches " + quoted + L".";
    auto counted = [](int n, const wchar_t* one) { return std::to_wstring(n) + L" " + one + (n == 1 ? L"" : L"s"); };
    return counted(found.items, L"item") + L" in " + counted(found.records, L"record") +
           (found.items == 1 ? L" matches " : L" match ") + quoted + L".";
}

SearchCommands::SearchCommands(SearchPanel& panel, RecordPages& pages, std::function<void()> showSelectedRecord,
                               std::function<void(const std::wstring&)> searchAll, std::function<void()> layOut)
    : panel_(panel),
      pages_(pages),
      showSelectedRecord_(std::move(showSelectedRecord)),
      searchAll_(std::move(searchAll)),
      layOut_(std::move(layOut)) {}

void SearchCommands::Attach(HWND window, HFONT font, HWND after, HMENU moreMenu) {
    window_ = window;
    font_ = font;
    after_ = after;
    moreMenu_ = moreMenu;
}

void SearchCommands::Switch() { Show(!panel_.shown()); }

void SearchCommands::Show(bool shown) {
    if (shown) panel_.Ensure(window_, font_, after_);
    CheckMenuItem(moreMenu_, kCmdSearch, MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
    // The focus leaves the panel before it hides, so it is not lost with it.
    HWND focus = GetFocus();
    HWND box = panel_.box();
    if (!shown && focus && box && (focus == box || GetParent(focus) == box || focus == panel_.button()))
        SetFocus(pages_.views().TVDocs);
    panel_.Show(shown);
    if (!shown) showSelectedRecord_();
    layOut_();
    if (shown) SetFocus(panel_.box());
}

void SearchCommands::Search() {
    ShowWindow(pages_.pageControl(), SW_SHOW);
    // An empty box shows the selected record again.
    if (Trim(panel_.Text()).empty()) showSelectedRecord_();
    else searchAll_(panel_.Text());
}

void SearchCommands::BoxLeft() {
    panel_.RememberText();
    Search();
}

}  // namespace tv
