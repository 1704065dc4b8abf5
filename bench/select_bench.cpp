// Selecting a record in the main window's record list, from the click to the four record trees
// filled and painted, for a record of 5000 top-level nodes with two children each; against the
// record benchmarks' baseline measured in the same run.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "select_rounds.h"
#include "support/test_support.h"

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    tvtest::ScopedDataFolders folders;
    tvtest::TempFolder dir;
    // Two records, so that every round changes the record shown.
    if (!bench::WriteSelectRecords(dir.path())) return 1;
    bench::InProcessSelect window(dir.path());
    if (!window.ok()) return 1;
    std::vector<double> selects, baselines;
    for (int round = 0; round < bench::kMinRounds; ++round) {
        selects.push_back(window.Select(round % 2));
        baselines.push_back(window.Baseline());
    }
    std::printf("select a record of 5000 top-level nodes with 2 children: %u nodes in the four trees, baseline %d nodes in plain trees\n",
                window.Nodes(), window.baselineNodes());
    bench::Report("select a 5000x2 record until painted", selects, baselines, 1.5);
    return 0;
}
