#pragma once
// Timing helpers shared by the benchmarks, and the one line each figure is reported in.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace bench {

// Every timed figure is the median of at least this many rounds.
constexpr int kMinRounds = 11;

inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <class F>
double Millis(F&& f) {
    auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Prints one figure: the medians of the program's rounds and of the baseline's rounds taken
// beside them, their ratio against the target, and the spread of the rounds' own ratios. The
// tab-separated "figure" line is what scripts/bench.sh gathers into its table; the line
// after it is for the reader of one benchmark's output.
inline void Report(const char* name, const std::vector<double>& program, const std::vector<double>& baseline,
                   double target) {
    const double p = Median(program), b = Median(baseline), ratio = b > 0 ? p / b : 0;
    std::vector<double> ratios;
    for (size_t i = 0; i < program.size() && i < baseline.size(); ++i)
        if (baseline[i] > 0) ratios.push_back(program[i] / baseline[i]);
    const double low = ratios.empty() ? 0 : *std::min_element(ratios.begin(), ratios.end());
    const double high = ratios.empty() ? 0 : *std::max_element(ratios.begin(), ratios.end());
    const bool within = b > 0 && ratio <= target;
    std::printf("figure\t%s\t%zu\t%.1f\t%.1f\t%.2f\t%.2f\t%.2f\t%.2f\t%s\n", name, program.size(), p, b, ratio, low,
                high, target, within ? "within" : "OVER");
    std::printf("%s: median %.1f ms against %.1f ms, ratio %.2f (rounds %.2f to %.2f, %zu rounds), target at most "
                "%.2f: %s\n",
                name, p, b, ratio, low, high, program.size(), target, within ? "within" : "OVER");
    std::fflush(stdout);
}

// Prints a figure whose target is a time of its own rather than a baseline: the limit stands
// in the baseline's column, and the ratio must stay at most 1.
inline void ReportLimit(const char* name, const std::vector<double>& program, double limitMs) {
    Report(name, program, std::vector<double>(program.size(), limitMs), 1.0);
}

}  // namespace bench
