// SPDX-License-Identifier: MIT
#pragma once

// Runs of whole programs for the benchmarks: from the fork to the exit,
// their output thrown away.

#include <algorithm>
#include <chrono>
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
};

// Nothing when the program could not run or did not exit with 0.
inline std::optional<TimedRun> RunTimed(const std::vector<std::string>& command) {
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
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return std::nullopt;
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return TimedRun{std::chrono::duration<double, std::milli>(elapsed).count(),
                    double(usage.ru_maxrss) / 1024.0};
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace kelvane::bench
