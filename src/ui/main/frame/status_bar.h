#pragma once
// The main window's status bar: two panels, made when first shown or first written to, so it
// costs nothing on the way to the first paint.
#include <windows.h>

#include <functional>
#include <string>

#include "capture/add_operations.h"
#include "ui/main/views/record_views.h"

namespace tv {

class RecordList;
class WindowHints;

// What a recording or an intake put into a record, for the status bar: "3 programs, 2 documents,
// 1 folder recorded into Dec 10,2026_002", kinds with none left out; `done` is what happened
// ("recorded into", "added to").
std::wstring AddedSummary(const AddedCounts& added, const std::wstring& done, const std::wstring& recordName);
// A Smart Record tick that found nothing, with the time it ran.
std::wstring SmartRecordIdleText(const SYSTEMTIME& at);

class StatusBar {
public:
    // The window the bar belongs to, the font and dots per inch it is made with, and where its
    // hint goes.
    void Attach(HWND parent, HFONT font, int dpi, WindowHints* hints);
    void Ensure();
    // The first panel is narrow: each text written to it comes with the bar's hint, which holds
    // what the panel has no room for (none when empty).
    void SetText(int panel, const std::wstring& text, const std::wstring& hint = L"");
    void Show(bool shown);
    bool shown() const { return bar_ && IsWindowVisible(bar_); }
    HWND hwnd() const { return bar_; }
    // Names the shown record when the list selects it, its path in the hint, and says nothing
    // is selected otherwise; the second panel names the record folder.
    void DescribeRecord(const RecordList& list, const std::wstring& shownPath, const std::wstring& folder);

private:
    HWND parent_ = nullptr;
    HFONT font_ = nullptr;
    int dpi_ = 96;
    WindowHints* hints_ = nullptr;
    HWND bar_ = nullptr;  // TntStatusBar1
};

// The status bar names the node the mouse comes onto: its item's title and location.
class HoverStatus : public RecordViewsHost {
public:
    HoverStatus(StatusBar& bar, const ShownRecord& record) : bar_(bar), record_(record) {}
    void NodeHovered(HWND tree, RecordNode& node) override;
    void NodeActivated(HWND, RecordNode& node) override {
        if (activated) activated(node);
    }
    bool KeyPressed(HWND tree, UINT key) override { return keyPressed && keyPressed(tree, key); }
    // Enter and Space on a node: the window opens it.
    std::function<void(RecordNode&)> activated;
    // The trees' other keys, acted on by the window's item commands.
    std::function<bool(HWND tree, UINT key)> keyPressed;

private:
    StatusBar& bar_;
    const ShownRecord& record_;
};

}  // namespace tv
