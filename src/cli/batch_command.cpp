// SPDX-License-Identifier: MIT
#include "cli/batch_command.h"

#include "cli/batch_end_mark.h"
#include "cli/batch_report.h"
#include "cli/console_output.h"
#include "cli/project_commands.h"
#include "platform/files/atomic_file.h"
#include "platform/files/deferred_flush.h"
#include "platform/process/child_process.h"
#include "platform/process/executable_path.h"
#include "platform/text/code_page.h"
#include "store/path_helpers.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <random>
#include <thread>
#include <unistd.h>

namespace kelvane {
namespace {

using Clock = std::chrono::steady_clock;

// Far more than any project's messages; a runaway worker is cut off there.
constexpr size_t kOutputLimit = 16 * 1024 * 1024;
// How long a worker whose input ended, or whose output did, has to end.
constexpr double kWorkerEndSeconds = 30;

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

// A worker's mark: random, so that no project's text is taken for it.
std::string WorkerToken() {
    std::random_device random;
    std::string token;
    for (int i = 0; i < 4; ++i) {
        char part[9];
        std::snprintf(part, sizeof part, "%08x", static_cast<unsigned>(random()));
        token += part;
    }
    return token;
}

// The batch's state that the worker threads share, and what they print.
// Each thread keeps a worker process and gives it the next project when it
// is done with one; a worker that dies is replaced for the rest.
class BatchRun {
public:
    BatchRun(const CliRequest& request, std::vector<std::string> workerArguments)
        : m_token(WorkerToken()), m_arguments(std::move(workerArguments)),
          m_records(request.projects.size()), m_showProgress(isatty(STDERR_FILENO) == 1),
          m_started(Clock::now()) {
        m_arguments.push_back("--batch-worker");
        m_arguments.push_back(m_token);
        for (size_t i = 0; i < m_records.size(); ++i) {
            m_records[i].path = request.projects[i];
            if (request.command == CliCommand::Convert)
                m_records[i].target = request.outDir.empty()
                                          ? request.projects[i]
                                          : BatchTarget(request.projects[i], request.outDir);
        }
    }

    void Work() {
        WorkerProcess worker;
        std::string output;
        for (size_t item = m_next++; item < m_records.size(); item = m_next++) {
            const auto start = Clock::now();
            RunOn(worker, output, item);
            m_records[item].seconds = std::chrono::duration<double>(Clock::now() - start).count();
            Print(item);
        }
        if (!worker.Running())
            return;
        // At the end of its input a worker writes the profile values it held.
        worker.Finish(kWorkerEndSeconds);
        while (worker.Receive(output)) {
        }
        std::lock_guard lock(m_mutex);
        std::fwrite(output.data(), 1, output.size(), stderr);
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

    std::vector<BatchRecord>& Records() { return m_records; }
    const std::vector<std::string>& FilesToFlush() const { return m_filesToFlush; }

private:
    void RunOn(WorkerProcess& worker, std::string& output, size_t item) {
        BatchRecord& record = m_records[item];
        if (!worker.Running() && !worker.Start(m_arguments)) {
            record.messages = {"kelvane-cli: could not start: " + worker.StartError()};
            return;
        }
        // A worker that no longer reads has died; what it wrote tells.
        worker.Send(std::to_string(item) + "\n");
        while (true) {
            if (const std::optional<ProjectEnd> end = FindProjectEnd(output, m_token)) {
                record.messages = Lines(output.substr(0, end->at));
                record.succeeded = end->status == kExitDone;
                output.erase(0, end->at + end->length);
                std::lock_guard lock(m_mutex);
                m_filesToFlush.insert(m_filesToFlush.end(), end->files.begin(), end->files.end());
                return;
            }
            if (output.size() > kOutputLimit) {
                worker.Finish(0);
                record.messages = Lines(output);
                record.messages.push_back("kelvane-cli: stopped: too much output");
                output.clear();
                return;
            }
            if (!worker.Receive(output))
                break;
        }
        const ChildProcessOutcome outcome = worker.Finish(kWorkerEndSeconds);
        while (worker.Receive(output)) {
        }
        record.messages = Lines(output);
        output.clear();
        if (outcome.signaled)
            record.messages.push_back("kelvane-cli: ended by " +
                                      SignalDescription(outcome.signalNumber));
        else if (outcome.exited)
            record.messages.push_back("kelvane-cli: ended with exit status " +
                                      std::to_string(outcome.exitCode) +
                                      " before the project was done");
        else
            record.messages.push_back("kelvane-cli: stopped: it did not end");
    }

    void Print(size_t item) {
        const BatchRecord& record = m_records[item];
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

    const std::string m_token;
    std::vector<std::string> m_arguments;
    std::vector<BatchRecord> m_records;
    const bool m_showProgress;
    const Clock::time_point m_started;
    std::atomic<size_t> m_next{0};
    std::mutex m_mutex;
    std::condition_variable m_changed;
    size_t m_done = 0, m_failed = 0;
    std::vector<std::string> m_filesToFlush;
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
    // Tests put a program of their own in the worker's place.
    const char* worker = std::getenv("KELVANE_BATCH_WORKER");
    std::vector<std::string> arguments = {worker != nullptr ? worker : ExecutablePath()};
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

    // The sets saved into --out-dir reach the disk together, before the
    // report says they succeeded.
    int flushError = 0;
    if (!FlushToDisk(batch.FilesToFlush(), flushError)) {
        const std::string why = std::strerror(flushError);
        PrintProblem("the projects saved in " + request.outDir +
                     " were not flushed to disk: " + why);
        for (BatchRecord& record : batch.Records())
            if (record.succeeded) {
                record.succeeded = false;
                record.messages.push_back("kelvane-cli: not flushed to disk: " + why);
            }
    }
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
