#pragma once
// The page control of the main window with the four record trees lying on it: "All",
// "Application", "File Folder" and, once the record has a web page, "Web Page". It is what the
// shown record is displayed on.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "app/record_session.h"
#include "ui/main/views/record_views.h"

namespace tv {

class RecordPages : public RecordDisplay {
public:
    // What the pages need from the window around them.
    struct Host {
        std::function<void()> showSelectedRecord;
        std::function<void()> restoreSmartRecordBox;
        std::function<void()> openSelected;  // a double click on a node
    };

    // Creates the page control and the "All" tree as children of `parent`.
    void Create(HWND parent, HIMAGELIST strip, HFONT font, RecordViewsHost* viewsHost, Host host);
    HWND pageControl() const { return PageControlTree; }
    RecordViews& views() { return views_; }
    const RecordViews& views() const { return views_; }
    // Shows the page (0 to 3) and hides the other trees.
    void ShowPage(int page);
    int activePage() const;
    // Lays the page control out in `page` (client coordinates) and the trees in its display area.
    void Place(HDWP& defer, const RECT& page);
    // The page control's owner-drawn tab; false when `item` is not one of its tabs.
    bool DrawTab(const DRAWITEMSTRUCT& item);
    // The page control's and the trees' notifications; false when `hdr` comes from neither.
    bool OnNotify(NMHDR* hdr, ShownRecord& record);
    // True for the page control and every tree that exists.
    bool Owns(HWND control) const;

    // RecordDisplay
    // An emptied record has no web page: the "Web Page" tab goes until one is read or added.
    void ClearTrees() override;
    void ShowRecord(const ShownRecord& record) override { views_.Show(record); }
    void InsertNode(int page, const RecordNode& node) override { views_.Insert(page, node); }
    void SetStrip(HIMAGELIST strip) override { views_.SetStrip(strip); }
    void ShowWebPageTab() override;
    // The first tab says whether its tree holds search results or the whole record.
    void MarkSearchResults(bool shown);
    void ShowFirstPage() override { ShowPage(0); }
    // Selects in the "All" tree the node of an item path of the shown record.
    void SelectPath(const std::wstring& path) override;
    HWND AllTree() override { return views_.TVDocs; }
    void ShowSelectedRecord() override;
    void RestoreSmartRecordBox() override;

private:
    HWND PageControlTree = nullptr;
    RecordViews views_;
    HFONT font_ = nullptr;
    bool webPageTab_ = false;
    const wchar_t* firstCaption_ = nullptr;  // the first tab's caption; "All" when null
    Host host_;
};

}  // namespace tv
