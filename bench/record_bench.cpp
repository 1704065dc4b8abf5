// Writing and reading back a record of 5000 top-level nodes with two children each, into the
// four record trees, against a baseline of the unavoidable work measured in the same run.
#include <windows.h>
#include <objidl.h>
#include <commctrl.h>
#include <oleauto.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench_util.h"
#include "record_sample.h"
#include "records/record_file.h"
#include "support/test_support.h"
#include "ui/main/views/record_views.h"

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HWND host = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 400, nullptr,
                                nullptr, nullptr, nullptr);
    tv::RecordViews views;
    if (!views.Create(host, nullptr)) return 1;
    for (int page = 1; page < 4; ++page) views.Tree(page);  // all four trees are filled

    bench::PlainTrees plain(host);
    tvtest::TempFolder dir;

    // Writes and reads back a record of `top` nodes with `children` each; prints the figures.
    auto measure = [&](const char* what, const char* figure, int top, int children) {
        std::wstring file = dir.file(L"bench" + std::to_wstring(top) + L".tolvane");
        tv::ShownRecord source;
        bench::BuildRecord(source, top, children);
        const int kRounds = bench::kMinRounds;
        std::vector<double> writes, reads, baselines;
        size_t nodes = 0;
        int baselineNodes = 0;
        for (int round = 0; round < kRounds; ++round) {
            writes.push_back(bench::Millis([&] {
                tv::WriteRecordFile(source, file, L"bench");
                tv::WriteSelectionFile(source, tv::SelectionFilePath(file));
            }));
            tv::ShownRecord shown;
            reads.push_back(bench::Millis([&] {
                tv::ReadRecordFile(shown, file);
                tv::ReadSelectionFile(shown, tv::SelectionFilePath(file));
                views.Show(shown);
            }));
            nodes = shown.docs.NodeCount() + shown.apps.NodeCount() + shown.paths.NodeCount() + shown.pages.NodeCount();
            baselines.push_back(bench::Millis([&] { baselineNodes = bench::Baseline(file, plain); }));
            views.Clear();
        }
        double w = bench::Median(writes), r = bench::Median(reads), b = bench::Median(baselines);
        std::printf("%s: %u nodes in the four trees, baseline %d nodes in plain trees\n", what,
                    static_cast<unsigned>(nodes), baselineNodes);
        std::printf("write %.1f ms, (write+read)/baseline %.2f\n", w, (w + r) / b);
        bench::Report(figure, reads, baselines, 1.5);
    };
    measure("record of 5000 top-level nodes with 2 children", "read a 5000x2 record into the trees", 5000, 2);
    measure("everyday record of 50 programs with 3 documents", "read a 50x3 record into the trees", 50, 3);
    DestroyWindow(host);
    return 0;
}
