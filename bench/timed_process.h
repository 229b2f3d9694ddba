// SPDX-License-Identifier: MIT
#pragma once

// Runs of whole programs for the benchmarks: from the fork to the exit,
// their output thrown away; for the desktop programs also to their first
// paint.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kelvane::bench {

struct TimedRun {
    double milliseconds = 0;
    double peakMiB = 0; // the program's largest resident size
    // From the fork to the byte the program writes after its first paint
    // (to KELVANE_FIRST_PAINT_FD); only when asked for.
    double firstPaintMilliseconds = 0;
};

// Nothing when the program could not run, did not exit with 0 or, when its
// first paint is watched, ended without telling of one.
inline std::optional<TimedRun> RunTimed(const std::vector<std::string>& command,
                                        bool watchFirstPaint = false) {
    int paint[2] = {-1, -1};
    if (watchFirstPaint && pipe2(paint, O_CLOEXEC) != 0)
        return std::nullopt;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (const std::string& part : command)
            argv.push_back(const_cast<char*>(part.c_str()));
        argv.push_back(nullptr);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        if (watchFirstPaint) {
            // The write end stays open across the exec; the read end does not.
            const int writeEnd = fcntl(paint[1], F_DUPFD, 3);
            setenv("KELVANE_FIRST_PAINT_FD", std::to_string(writeEnd).c_str(), 1);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    std::optional<double> painted;
    if (watchFirstPaint) {
        close(paint[1]);
        char byte = 0;
        ssize_t got;
        while ((got = read(paint[0], &byte, 1)) < 0 && errno == EINTR) {
        }
        if (got == 1)
            painted =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
        close(paint[0]);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0 || (watchFirstPaint && !painted))
        return std::nullopt;
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return TimedRun{std::chrono::duration<double, std::milli>(elapsed).count(),
                    double(usage.ru_maxrss) / 1024.0, painted.value_or(0)};
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace kelvane::bench
