#include "ui/main/views/record_pages.h"

#include <algorithm>

#include "base/handles.h"
#include "base/process_services.h"

namespace tv {

namespace {
// Pixels of the page control's frame kept below its tabs, under the trees' top edge.
constexpr int kFrameOverlap = 4;
const wchar_t* const kPages[] = {L"All", L"Application", L"File Folder", L"Web Page"};
const wchar_t kSearchResults[] = L"Search Results";

void InsertTab(HWND pages, int index) {
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<wchar_t*>(kPages[index]);
    SendMessageW(pages, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&tab));
}
}  // namespace

void RecordPages::Create(HWND parent, HIMAGELIST strip, HFONT font, RecordViewsHost* viewsHost, Host host) {
    font_ = font;
    host_ = std::move(host);
    // The tabs are drawn by the window, the active one in bold; a 32-bit copy on 64-bit Windows
    // keeps the standard drawing.
    DWORD tabStyle = ProcessServices::Instance().IsWow64Mode() ? 0 : TCS_OWNERDRAWFIXED;
    PageControlTree = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | tabStyle,
                                      0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdPageControl)),
                                      GetModuleHandleW(nullptr), nullptr);
    // "Web Page" joins the tabs once the record has a web page.
    for (int i = 0; i < 3; ++i) InsertTab(PageControlTree, i);
    views_.Create(parent, strip, viewsHost);
    // The trees lie over the page control's display area.
    SetWindowPos(views_.TVDocs, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void RecordPages::ShowPage(int page) {
    if (page == 3) ShowWebPageTab();
    TabCtrl_SetCurSel(PageControlTree, page);
    ShowWindow(views_.Tree(page), SW_SHOW);
    for (int i = 0; i < 4; ++i)
        if (i != page && views_.Existing(i)) ShowWindow(views_.Existing(i), SW_HIDE);
}

int RecordPages::activePage() const { return TabCtrl_GetCurSel(PageControlTree); }

void RecordPages::Place(HDWP& defer, const RECT& page) {
    const int width = page.right - page.left, height = page.bottom - page.top;
    RECT display{0, 0, width, height};
    TabCtrl_AdjustRect(PageControlTree, FALSE, &display);
    // The page control is only as tall as its tabs and the top of its frame; the trees take the
    // rest. A themed frame the height of the window would be painted whole under the trees
    // that cover it, on every paint and on the way to the first.
    const int stripHeight = std::min(height, static_cast<int>(display.top) + kFrameOverlap);
    if (defer)
        defer = DeferWindowPos(defer, PageControlTree, nullptr, page.left, page.top, width, stripHeight,
                               SWP_NOZORDER | SWP_NOACTIVATE);
    RECT trees{page.left, page.top + std::min(height, static_cast<int>(display.top)), page.right, page.bottom};
    views_.SetBounds(trees);
}

void RecordPages::ShowWebPageTab() {
    if (webPageTab_) return;
    webPageTab_ = true;
    InsertTab(PageControlTree, 3);
}

void RecordPages::MarkSearchResults(bool shown) {
    firstCaption_ = shown ? kSearchResults : nullptr;
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<wchar_t*>(shown ? kSearchResults : kPages[0]);
    SendMessageW(PageControlTree, TCM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tab));
    InvalidateRect(PageControlTree, nullptr, TRUE);
}

void RecordPages::ClearTrees() {
    views_.Clear();
    if (!webPageTab_) return;
    if (activePage() == 3) ShowPage(0);
    TabCtrl_DeleteItem(PageControlTree, 3);
    webPageTab_ = false;
}

bool RecordPages::DrawTab(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem != PageControlTree) return false;
    int index = static_cast<int>(item.itemID);
    if (index < 0 || index > 3) return true;
    bool active = TabCtrl_GetCurSel(PageControlTree) == index;
    const wchar_t* caption = index == 0 && firstCaption_ ? firstCaption_ : kPages[index];
    RECT r = item.rcItem;
    FillRect(item.hDC, &r, GetSysColorBrush(active ? COLOR_WINDOW : COLOR_BTNFACE));
    SelectedObject chosen(item.hDC, font_);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(item.hDC, caption, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    if (active) {
        // Bold drawn as the font engine emboldens: the same text once more, one pixel on. Loading
        // the bold face itself would cost the first paint a font file.
        OffsetRect(&r, 1, 0);
        DrawTextW(item.hDC, caption, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    return true;
}

bool RecordPages::Owns(HWND control) const {
    if (!control) return false;
    if (control == PageControlTree) return true;
    for (int i = 0; i < 4; ++i)
        if (control == views_.Existing(i)) return true;
    return false;
}

bool RecordPages::OnNotify(NMHDR* hdr, ShownRecord& record) {
    if (hdr->hwndFrom == PageControlTree) {
        if (hdr->code == TCN_SELCHANGE) ShowPage(TabCtrl_GetCurSel(PageControlTree));
        return true;
    }
    if (!Owns(hdr->hwndFrom)) return false;
    HWND tvDocs = views_.TVDocs;
    switch (hdr->code) {
        case NM_DBLCLK:
            if (host_.openSelected) host_.openSelected();
            break;
        case TVN_ITEMEXPANDINGW:
            // A large branch repaints smoothly when what is waiting is drawn first.
            if (hdr->hwndFrom == tvDocs) UpdateWindow(tvDocs);
            break;
        case TVN_ITEMEXPANDEDW: {
            auto* tv = reinterpret_cast<NMTREEVIEWW*>(hdr);
            auto* node = reinterpret_cast<RecordNode*>(tv->itemNew.lParam);
            if (hdr->hwndFrom != tvDocs || !node) break;
            if (tv->action & TVE_EXPAND) record.TVDocsExpanded(*node);
            else if (tv->action & TVE_COLLAPSE) record.TVDocsCollapsed(*node);
            break;
        }
        case TVN_GETINFOTIPW: {
            // The hint of a node is the path of its item.
            auto* tip = reinterpret_cast<NMTVGETINFOTIPW*>(hdr);
            auto* node = reinterpret_cast<RecordNode*>(tip->lParam);
            if (!node || !record.items.Valid(node->data.itemIndex) || !tip->pszText || tip->cchTextMax <= 0) break;
            lstrcpynW(tip->pszText, record.items.At(node->data.itemIndex).path.c_str(), tip->cchTextMax);
            break;
        }
        default:
            break;
    }
    return true;
}

void RecordPages::SelectPath(const std::wstring& path) {
    const ShownRecord* shown = views_.shown();
    if (!shown) return;
    PathQueries queries;
    queries.folderExists = [](const std::wstring& p) { return ProcessServices::Instance().FolderExists(p); };
    SelectByPath(views_.TVDocs, shown->items, path, queries);
}

void RecordPages::ShowSelectedRecord() {
    if (host_.showSelectedRecord) host_.showSelectedRecord();
}

void RecordPages::RestoreSmartRecordBox() {
    if (host_.restoreSmartRecordBox) host_.restoreSmartRecordBox();
}

}  // namespace tv
