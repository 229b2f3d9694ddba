// SPDX-License-Identifier: MIT
#include "cli/batch_command.h"

#include "cli/batch_report.h"
#include "cli/console_output.h"
#include "cli/project_commands.h"
#include "platform/atomic_file.h"
#include "platform/child_process.h"
#include "platform/code_page.h"
#include "platform/executable_path.h"
#include "store/path_helpers.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace kelvane {
namespace {

using Clock = std::chrono::steady_clock;

// Far more than any project's messages; a runaway child is cut off there.
constexpr size_t kOutputLimit = 16 * 1024 * 1024;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

// The batch's state that the workers share, and what they print.
class BatchRun {
public:
    BatchRun(const CliRequest& request, std::vector<std::string> childArguments)
        : m_request(request), m_arguments(std::move(childArguments)),
          m_records(request.projects.size()), m_showProgress(isatty(STDERR_FILENO) == 1),
          m_started(Clock::now()) {
        for (size_t i = 0; i < m_records.size(); ++i) {
            m_records[i].path = request.projects[i];
            if (request.command == CliCommand::Convert)
                m_records[i].target = request.outDir.empty()
                                          ? request.projects[i]
                                          : BatchTarget(request.projects[i], request.outDir);
        }
    }

    void Work() {
        for (size_t item = m_next++; item < m_records.size(); item = m_next++)
            Run(item);
    }

    // Redraws the progress line until every project is done.
    void ShowProgressUntilDone() {
        std::unique_lock lock(m_mutex);
        while (m_done < m_records.size()) {
            DrawProgress();
            m_changed.wait_for(lock, std::chrono::milliseconds(200));
        }
        if (m_showProgress)
            std::fputs("\r\033[K", stderr);
    }

    const std::vector<BatchRecord>& Records() const { return m_records; }

private:
    void Run(size_t item) {
        ChildProcessRun run;
        run.command = m_arguments;
        run.command.push_back("--batch-item");
        run.command.push_back(std::to_string(item));
        run.outputLimit = kOutputLimit;
        run.collectErrors = true;
        const auto start = Clock::now();
        const ChildProcessOutcome outcome = RunChildProcess(run, SilentWaitIndicator());
        BatchRecord& record = m_records[item];
        record.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        record.messages = Lines(outcome.output);
        record.succeeded = outcome.exited && outcome.exitCode == kExitDone;
        if (!outcome.started)
            record.messages.push_back("kelvane-cli: could not start: " + outcome.startError);
        else if (outcome.signaled)
            record.messages.push_back("kelvane-cli: ended by " +
                                      SignalDescription(outcome.signalNumber));
        else if (outcome.outputTooLong)
            record.messages.push_back("kelvane-cli: stopped: too much output");

        std::lock_guard lock(m_mutex);
        if (m_showProgress)
            std::fputs("\r\033[K", stderr);
        const std::string prefix = ProjectToLocale(record.path) + ": ";
        for (const std::string& line : record.messages)
            std::fprintf(stdout, "%s%s\n", prefix.c_str(), line.c_str());
        std::fflush(stdout);
        ++m_done;
        m_failed += record.succeeded ? 0 : 1;
        DrawProgress();
        m_changed.notify_all();
    }

    void DrawProgress() {
        if (!m_showProgress)
            return;
        const double elapsed = std::chrono::duration<double>(Clock::now() - m_started).count();
        std::fprintf(stderr, "\r\033[K%zu done, %zu failed, of %zu (%.1f s)", m_done - m_failed,
                     m_failed, m_records.size(), elapsed);
        std::fflush(stderr);
    }

    const CliRequest& m_request;
    const std::vector<std::string> m_arguments;
    std::vector<BatchRecord> m_records;
    const bool m_showProgress;
    const Clock::time_point m_started;
    std::atomic<size_t> m_next{0};
    std::mutex m_mutex;
    std::condition_variable m_changed;
    size_t m_done = 0, m_failed = 0;
};

// Two projects that would be written to one place: said, and true.
bool TargetsClash(const CliRequest& request) {
    if (request.command != CliCommand::Convert)
        return false;
    std::map<std::string, std::string> claimed; // target, project
    bool clash = false;
    for (const std::string& project : request.projects) {
        const std::string target =
            request.outDir.empty() ? project : BatchTarget(project, request.outDir);
        const auto [where, fresh] = claimed.emplace(target, project);
        if (!fresh) {
            PrintProblem(where->second + " and " + project + " would both be saved as " + target);
            clash = true;
        }
    }
    if (clash)
        PrintProblem("nothing was converted");
    return clash;
}

unsigned Processors() {
    return std::max(std::thread::hardware_concurrency(), 1u);
}

} // namespace

std::string BatchTarget(const std::string& project, const std::string& outDir) {
    const size_t separator = FindLastSeparator(project);
    const std::string name =
        separator == std::string::npos ? project : project.substr(separator + 1);
    return JoinPath(outDir, name);
}

int RunBatch(const CliRequest& request, int argc, char** argv) {
    if (TargetsClash(request))
        return kExitUsage;
    std::vector<std::string> arguments = {ExecutablePath()};
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);

    BatchRun batch(request, arguments);
    const unsigned jobs =
        std::min<size_t>(request.jobs > 0 ? static_cast<unsigned>(request.jobs) : Processors(),
                         request.projects.size());
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < jobs; ++i)
        workers.emplace_back([&batch] { batch.Work(); });
    batch.ShowProgressUntilDone();
    for (std::thread& worker : workers)
        worker.join();

    bool allSucceeded = true;
    for (const BatchRecord& record : batch.Records())
        allSucceeded = allSucceeded && record.succeeded;
    if (!request.reportPath.empty()) {
        int error = 0;
        if (!WriteFileAtomically(request.reportPath, BatchReportJson(batch.Records()), error)) {
            PrintProblem("the report " + request.reportPath +
                         " was not written: " + std::strerror(error));
            return kExitFailed;
        }
    }
    return allSucceeded ? kExitDone : kExitFailed;
}

} // namespace kelvane
