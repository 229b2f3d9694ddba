// SPDX-License-Identifier: MIT
// Times kelvane from process start to the end of the first paint of its main window
// with a project loaded, against a bare Qt main window, several runs each,
// and prints the medians and their ratio.
//
// Usage: kelvane_startup_bench KELVANE BARE_WINDOW PROJECT
// The programs run on QT_QPA_PLATFORM (offscreen unless set).
#include "timed_process.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 9;

// Milliseconds from fork to the end of the program's first paint; negative
// when it failed.
double TimeRun(const std::vector<std::string>& command) {
    const auto run = kelvane::bench::RunTimed(command, true);
    return run ? run->firstPaintMilliseconds : -1;
}

using kelvane::bench::Median;

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s KELVANE BARE_WINDOW PROJECT\n", argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM",
           std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "offscreen", 1);
    setenv("KELVANE_EXIT_AFTER_FIRST_PAINT", "1", 1);
    const std::vector<std::string> kelvane = {argv[1], argv[3]};
    const std::vector<std::string> bare = {argv[2]};

    std::vector<double> kelvaneTimes, bareTimes;
    // One run each first, so that both start from a warm file cache.
    TimeRun(kelvane);
    TimeRun(bare);
    for (int run = 0; run < kRuns; ++run) {
        const double k = TimeRun(kelvane);
        const double b = TimeRun(bare);
        if (k < 0 || b < 0) {
            std::fprintf(stderr, "a program failed to start or to paint\n");
            return 1;
        }
        kelvaneTimes.push_back(k);
        bareTimes.push_back(b);
    }
    const double kelvaneMedian = Median(kelvaneTimes);
    const double bareMedian = Median(bareTimes);
    std::printf("platform: %s\n", std::getenv("QT_QPA_PLATFORM"));
    std::printf("kelvane with %s, start to first paint: median %.1f ms over %d runs\n", argv[3],
                kelvaneMedian, kRuns);
    std::printf("bare Qt main window: median %.1f ms over %d runs\n", bareMedian, kRuns);
    std::printf("ratio: %.2f (aim: at most 1.5)\n", kelvaneMedian / bareMedian);
    return 0;
}
