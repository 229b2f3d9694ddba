// SPDX-License-Identifier: MIT
// Times kelvane from process start to the end of the first paint of its main window
// with a project loaded, against a bare Qt main window, with and without a
// menu bar and lines of text, several runs each, and prints the medians and
// their ratios. Other builds of kelvane given after
// the project run in the same rounds, so that a change is timed against the
// same noise, and each is printed beside the first.
//
// Usage: kelvane_startup_bench [--runs N] KELVANE BARE_WINDOW PROJECT [OTHER_KELVANE...]
// The programs run on QT_QPA_PLATFORM (offscreen unless set).
#include "timed_process.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
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

struct Program {
    std::vector<std::string> command;
    std::vector<double> times;
};

} // namespace

int main(int argc, char** argv) {
    int runs = kRuns;
    int first = 1;
    if (argc > 2 && std::string(argv[1]) == "--runs") {
        runs = std::max(1, std::atoi(argv[2]));
        first = 3;
    }
    if (argc - first < 3) {
        std::fprintf(stderr,
                     "usage: %s [--runs N] KELVANE BARE_WINDOW PROJECT [OTHER_KELVANE...]\n",
                     argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM",
           std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "offscreen", 1);
    setenv("KELVANE_EXIT_AFTER_FIRST_PAINT", "1", 1);
    const std::string project = argv[first + 2];
    // kelvane first, then the others, then the two bare windows.
    std::vector<Program> programs{{{argv[first], project}, {}}};
    for (int other = first + 3; other < argc; ++other)
        programs.push_back({{argv[other], project}, {}});
    programs.push_back({{argv[first + 1]}, {}});
    programs.push_back({{argv[first + 1], "--text"}, {}});
    const size_t others = programs.size() - 2;

    // One run each first, so that all start from a warm file cache.
    for (Program& program : programs)
        TimeRun(program.command);
    // Every other round in the opposite order, so that none always follows
    // the same program.
    for (int run = 0; run < runs; ++run)
        for (size_t i = 0; i < programs.size(); ++i) {
            Program& program = programs[run % 2 == 0 ? i : programs.size() - 1 - i];
            const double milliseconds = TimeRun(program.command);
            if (milliseconds < 0) {
                std::fprintf(stderr, "%s failed to start or to paint\n",
                             program.command.front().c_str());
                return 1;
            }
            program.times.push_back(milliseconds);
        }

    const double kelvaneMedian = Median(programs.front().times);
    const double bareMedian = Median(programs[others].times);
    const double textMedian = Median(programs[others + 1].times);
    std::printf("platform: %s\n", std::getenv("QT_QPA_PLATFORM"));
    std::printf("kelvane with %s, start to first paint: median %.1f ms over %d runs\n",
                project.c_str(), kelvaneMedian, runs);
    for (size_t other = 1; other < others; ++other) {
        const double otherMedian = Median(programs[other].times);
        // Each round's difference: the two ran seconds apart, in the same load.
        std::vector<double> differences;
        for (int run = 0; run < runs; ++run)
            differences.push_back(programs[other].times[run] - programs.front().times[run]);
        std::printf("%s: median %.1f ms, %+.1f ms against kelvane; median of the rounds' "
                    "differences %+.1f ms\n",
                    programs[other].command.front().c_str(), otherMedian,
                    otherMedian - kelvaneMedian, Median(differences));
    }
    std::printf("bare Qt main window: median %.1f ms over %d runs\n", bareMedian, runs);
    std::printf("ratio: %.2f (aim: at most 1.5)\n", kelvaneMedian / bareMedian);
    std::printf("bare Qt main window with a menu bar and text: median %.1f ms, ratio %.2f\n",
                textMedian, kelvaneMedian / textMedian);
    return 0;
}
