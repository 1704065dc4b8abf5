#include "ui/main/frame/status_bar.h"

#include <commctrl.h>

#include "base/path_rules.h"
#include "base/strings.h"
#include "records/record_library.h"
#include "ui/main/views/record_list.h"
#include "ui/main/views/record_views.h"
#include "ui/main/frame/window_hints.h"
#include "ui/window_text.h"

namespace tv {

std::wstring AddedSummary(const AddedCounts& added, const std::wstring& done, const std::wstring& recordName) {
    struct Kind {
        int count;
        const wchar_t* one;
        const wchar_t* many;
    };
    const Kind kinds[] = {{added.programs, L"program", L"programs"},
                          {added.documents, L"document", L"documents"},
                          {added.folders, L"folder", L"folders"},
                          {added.pages, L"web page", L"web pages"}};
    std::wstring said;
    for (const Kind& k : kinds) {
        if (k.count <= 0) continue;
        if (!said.empty()) said += L", ";
        said += std::to_wstring(k.count) + L" " + (k.count == 1 ? k.one : k.many);
    }
    return (said.empty() ? L"Nothing new" : said) + L" " + done + L" " + recordName;
}

std::wstring SmartRecordIdleText(const SYSTEMTIME& at) {
    return Format(L"Smart Record: nothing new at %02d:%02d:%02d", at.wHour, at.wMinute, at.wSecond);
}

void StatusBar::Attach(HWND parent, HFONT font, int dpi, WindowHints* hints) {
    parent_ = parent;
    font_ = font;
    dpi_ = dpi;
    hints_ = hints;
}

void StatusBar::Ensure() {
    if (bar_) return;
    bar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | SBARS_SIZEGRIP, 0, 0, 0, 0, parent_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdStatusBar)), GetModuleHandleW(nullptr),
                           nullptr);
    if (font_) SendMessageW(bar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    int parts[] = {ScaleToDpi(250, dpi_), -1};
    SendMessageW(bar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    SendMessageW(bar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"No Items Selected."));
}

void StatusBar::SetText(int panel, const std::wstring& text, const std::wstring& hint) {
    Ensure();
    SendMessageW(bar_, SB_SETTEXTW, panel, reinterpret_cast<LPARAM>(text.c_str()));
    if (panel == 0 && hints_) hints_->Set(bar_, hint);
}

void StatusBar::Show(bool shown) {
    if (shown) Ensure();
    if (bar_) ShowWindow(bar_, shown ? SW_SHOW : SW_HIDE);
}

void StatusBar::DescribeRecord(const RecordList& list, const std::wstring& shownPath, const std::wstring& folder) {
    // The list's selection counts only when it is the record the trees show.
    int index = list.SelectedIndex();
    bool shown = index >= 0 && !shownPath.empty() && EqualsNoCase(FileNameOf(shownPath), list.Name(index) + kRecordExtension);
    if (shown) SetText(0, L"   File Name :" + RecordName(shownPath) + L" selected.", shownPath);
    else SetText(0, L"No Items Selected.");
    SetText(1, L" Location :" + folder);
}

void HoverStatus::NodeHovered(HWND, RecordNode& node) {
    if (!record_.items.Valid(node.data.itemIndex)) return;
    bar_.SetText(1, L" Location : " + record_.items.At(node.data.itemIndex).path);
    bar_.SetText(0, L"   Title : " + node.caption);
}

}  // namespace tv
