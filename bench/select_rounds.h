#pragma once
// The select benchmarks' common parts: the two sample records of 5000 top-level nodes with two
// children each, and the rounds that select them in a main window made in this process, each
// against the record benchmarks' baseline measured beside it.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_util.h"
#include "record_sample.h"
#include "app/folders.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "records/icon_strip.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/message_pump.h"

namespace bench {

// Nodes of each sample record in the "All" tree.
constexpr int kSelectRecordNodes = 5000 * 3;

// Writes the two sample records into `folder`. Their top-level captions differ ("Group",
// "Part"), so a picture of a tree tells which one it shows; they cost the same to show.
inline bool WriteSelectRecords(const std::wstring& folder) {
    HIMAGELIST strip = tv::CreateStandardStrip();
    bool written = true;
    const wchar_t* const words[] = {L"Group", L"Part"};
    const wchar_t* const names[] = {L"Dec 08,2026_001.tolvane", L"Dec 08,2026_002.tolvane"};
    for (int i = 0; i < 2 && written; ++i) {
        tv::ShownRecord source;
        BuildRecord(source, 5000, 2, words[i]);
        written = tv::WriteRecord(source, strip, folder + L"\\" + names[i], L"bench");
    }
    ImageList_Destroy(strip);
    if (!written) std::printf("could not write the sample records\n");
    return written;
}

// A main window made in this process over the records of `folder`, with all four trees made.
class InProcessSelect {
public:
    explicit InProcessSelect(const std::wstring& folder)
        : settings_(tv::OpenSettingsFiles()), first_(folder + L"\\Dec 08,2026_001.tolvane") {
        settings_.user->WriteString(tv::keys::kDefault, tv::keys::kRecordPath, folder);
        window_ = std::make_unique<tv::TTolvaneWindow>(settings_, nullptr);
        if (!window_->Create(GetModuleHandleW(nullptr))) {
            std::printf("no main window\n");
            window_.reset();
            return;
        }
        window_->Show(SW_SHOWNORMAL);
        for (int i = 0; i < 20; ++i, Sleep(20)) tv::ProcessMessages();  // the first-run step
        for (int page = 1; page < 4; ++page) window_->parts().pages.views().Tree(page);  // all four are filled
        if (window_->parts().records.Count() != 2) {
            std::printf("the record list shows %d records, not 2\n", window_->parts().records.Count());
            DestroyWindow(window_->hwnd());
            window_.reset();
            return;
        }
        plain_ = std::make_unique<PlainTrees>(window_->hwnd());
    }
    ~InProcessSelect() {
        plain_.reset();
        if (window_) DestroyWindow(window_->hwnd());
    }
    InProcessSelect(const InProcessSelect&) = delete;
    InProcessSelect& operator=(const InProcessSelect&) = delete;

    bool ok() const { return window_ != nullptr; }
    HWND hwnd() const { return window_->hwnd(); }

    // Milliseconds from selecting the list's entry `index` to the four trees filled and painted.
    double Select(int index) {
        return Millis([&] {
            window_->parts().records.SelectByIndex(index);
            window_->parts().selected.Show();
            // Painted as after a click: what the selection made invalid (the trees, the status
            // bar), not the rest of the window, which was painted already and did not change.
            RedrawWindow(window_->hwnd(), nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
        });
    }
    // The same work by bare calls over the first record: load, insert, and paint the trees as
    // the click does.
    double Baseline() {
        return Millis([&] {
            baselineNodes_ = bench::Baseline(first_, *plain_);
            for (HWND tree : plain_->trees) RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        });
    }
    // Nodes in the program's four trees, and inserted by the last baseline.
    unsigned Nodes() {
        unsigned nodes = 0;
        for (int page = 0; page < 4; ++page) nodes += TreeView_GetCount(window_->parts().pages.views().Tree(page));
        return nodes;
    }
    int baselineNodes() const { return baselineNodes_; }

private:
    tv::Settings settings_;
    std::wstring first_;
    std::unique_ptr<tv::TTolvaneWindow> window_;
    std::unique_ptr<PlainTrees> plain_;
    int baselineNodes_ = 0;
};

}  // namespace bench
