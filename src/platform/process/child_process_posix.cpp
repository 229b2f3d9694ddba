// SPDX-License-Identifier: MIT
#include "platform/process/child_process.h"

#include "platform/process/pid_namespace_spawn.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kelvane {
namespace {

using Clock = std::chrono::steady_clock;

// How often the front gets a turn while the child runs.
constexpr auto kResponsiveTick = std::chrono::milliseconds(40);

class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    void Reset(int fd) {
        Close();
        m_fd = fd;
    }
    void Close() {
        if (m_fd >= 0)
            close(m_fd);
        m_fd = -1;
    }
    int Get() const { return m_fd; }

private:
    int m_fd = -1;
};

bool MakePipe(Descriptor& readEnd, Descriptor& writeEnd) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return false;
    readEnd.Reset(ends[0]);
    writeEnd.Reset(ends[1]);
    return true;
}

// The caller's environment with the run's entries put over it.
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& overrides) {
    std::vector<std::string> merged;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry)
        merged.emplace_back(*entry);
    for (const std::string& item : overrides) {
        const std::string name = item.substr(0, item.find('=') + 1);
        std::erase_if(merged, [&](const std::string& e) { return e.starts_with(name); });
        merged.push_back(item);
    }
    return merged;
}

std::vector<char*> PointersOf(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Writes to a pipe whose reader may be gone without the process being
// killed by SIGPIPE; a signal raised here is taken back before returning.
ssize_t WriteWithoutSigpipe(int fd, const char* data, size_t size) {
    sigset_t pipeOnly, previous;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);
    const ssize_t written = write(fd, data, size);
    const int writeError = errno;
    if (written < 0 && writeError == EPIPE && !wasPending) {
        const timespec noWait{0, 0};
        while (sigtimedwait(&pipeOnly, nullptr, &noWait) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = writeError;
    return written;
}

// posix_spawn in a process group of its own, so that a hung module goes with
// all it started, and with the signals as a fresh program has them,
// whatever the front changed. The error number, 0 when started.
int SpawnInOwnGroup(char* const argv[], char* const envp[], const int streams[3], bool searchPath,
                    pid_t& pid) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int target = 0; target < 3; ++target)
        if (streams[target] != target)
            posix_spawn_file_actions_adddup2(&actions, streams[target], target);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t noSignals, everySignal;
    sigemptyset(&noSignals);
    sigfillset(&everySignal);
    sigdelset(&everySignal, SIGKILL);
    sigdelset(&everySignal, SIGSTOP);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                              POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    posix_spawnattr_setsigdefault(&attributes, &everySignal);
    const int error = searchPath ? posix_spawnp(&pid, argv[0], &actions, &attributes, argv, envp)
                                 : posix_spawn(&pid, argv[0], &actions, &attributes, argv, envp);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return error;
}

void KillGroup(pid_t group) {
    kill(-group, SIGKILL);
}

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, kResponsiveTick.count()));
}

} // namespace

namespace {

// Standard error of a run, passed on up to its limit and counted past it.
class ErrorRelay {
public:
    ErrorRelay(size_t limit, uint64_t& dropped) : m_limit(limit), m_dropped(dropped) {}
    // Reads what is there now; false at the pipe's end.
    bool ReadFrom(int fd) {
        char chunk[4096];
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0)
            return errno == EINTR || errno == EAGAIN;
        if (got == 0)
            return false;
        const size_t kept = std::min(static_cast<size_t>(got), m_limit - m_passed);
        for (size_t done = 0; done < kept;) {
            const ssize_t n = write(STDERR_FILENO, chunk + done, kept - done);
            if (n <= 0 && errno != EINTR)
                break;
            done += n > 0 ? static_cast<size_t>(n) : 0;
        }
        m_passed += kept;
        m_dropped += static_cast<uint64_t>(got) - kept;
        return true;
    }

private:
    size_t m_limit;
    size_t m_passed = 0;
    uint64_t& m_dropped;
};

// How a program that ended by itself ended, from its wait status.
void SetEnd(ChildProcessOutcome& outcome, int status) {
    outcome.exited = WIFEXITED(status);
    outcome.exitCode = outcome.exited ? WEXITSTATUS(status) : 0;
    outcome.signaled = WIFSIGNALED(status);
    outcome.signalNumber = outcome.signaled ? WTERMSIG(status) : 0;
}

} // namespace

ChildProcessOutcome RunChildProcess(const ChildProcessRun& run, WaitIndicator& waiter) {
    ChildProcessOutcome outcome;
    if (run.command.empty()) {
        outcome.startError = "no program named";
        return outcome;
    }
    Descriptor childInput, toChild, fromChild, childOutput, errorsFromChild, childErrors;
    if (!MakePipe(childInput, toChild) || !MakePipe(fromChild, childOutput) ||
        (run.errorLimit > 0 && !run.collectErrors && !MakePipe(errorsFromChild, childErrors))) {
        outcome.startError = std::strerror(errno);
        return outcome;
    }
    const int childErrorStream = run.collectErrors        ? childOutput.Get()
                                 : childErrors.Get() >= 0 ? childErrors.Get()
                                                          : STDERR_FILENO;

    std::vector<std::string> arguments = run.command;
    std::vector<std::string> environment = MergedEnvironment(run.environment);
    std::vector<char*> argv = PointersOf(arguments);
    std::vector<char*> envp = PointersOf(environment);
    const bool searchPath = run.command.front().find('/') == std::string::npos;
    const int streams[3] = {childInput.Get(), childOutput.Get(), childErrorStream};
    pid_t pid = -1;
    int spawnError = 0;
    // Where namespaces are refused (or the program is looked up on PATH),
    // the usual start.
    const bool namespaceWanted =
        run.ownPidNamespace && std::getenv("KELVANE_NO_PID_NAMESPACE") == nullptr;
    if (!namespaceWanted || searchPath ||
        (pid = SpawnInNewPidNamespace(argv.data(), envp.data(), streams, spawnError)) < 0) {
        if (spawnError == 0 || IsNamespaceRefusal(spawnError))
            spawnError = SpawnInOwnGroup(argv.data(), envp.data(), streams, searchPath, pid);
    }
    childInput.Close();
    childOutput.Close();
    childErrors.Close();
    if (spawnError != 0) {
        outcome.startError = std::strerror(spawnError);
        return outcome;
    }
    outcome.started = true;
    Descriptor processHandle(static_cast<int>(syscall(SYS_pidfd_open, pid, 0)));

    fcntl(toChild.Get(), F_SETFL, O_NONBLOCK);
    if (errorsFromChild.Get() >= 0)
        fcntl(errorsFromChild.Get(), F_SETFL, O_NONBLOCK);
    ErrorRelay errors(run.errorLimit, outcome.errorBytesDropped);
    // Without a limit, a deadline a year away: far enough, and no overflow.
    const double limit = run.timeoutSeconds > 0 ? run.timeoutSeconds : 365.0 * 24 * 3600;
    auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                       std::chrono::duration<double>(limit));
    size_t inputWritten = 0;
    if (run.input.empty())
        toChild.Close();
    bool outputOpen = true, outputWhole = false;
    while (outputOpen) {
        if (Clock::now() >= deadline) {
            outcome.timedOut = true;
            break;
        }
        pollfd watched[3] = {{fromChild.Get(), POLLIN, 0},
                             {errorsFromChild.Get(), POLLIN, 0},
                             {toChild.Get(), POLLOUT, 0}};
        const int ready = poll(watched, 3, MillisecondsUntil(deadline));
        waiter.KeepResponsive();
        if (ready < 0 && errno != EINTR) {
            outcome.timedOut = true; // cannot wait any more: treat as stuck
            break;
        }
        if ((watched[2].revents & (POLLOUT | POLLERR | POLLHUP)) != 0) {
            const ssize_t written = WriteWithoutSigpipe(
                toChild.Get(), run.input.data() + inputWritten, run.input.size() - inputWritten);
            if (written > 0)
                inputWritten += static_cast<size_t>(written);
            // A child that stops reading gets no more; its answer will tell.
            if (inputWritten == run.input.size() || (written < 0 && errno != EAGAIN))
                toChild.Close();
        }
        if ((watched[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0 &&
            !errors.ReadFrom(errorsFromChild.Get()))
            errorsFromChild.Close();
        if ((watched[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            char chunk[4096];
            const ssize_t got = read(fromChild.Get(), chunk, sizeof chunk);
            if (got > 0) {
                outcome.output.append(chunk, static_cast<size_t>(got));
                if (outcome.output.size() > run.outputLimit) {
                    outcome.outputTooLong = true;
                    break;
                }
                const std::optional<size_t> whole =
                    run.outputLength ? run.outputLength(outcome.output) : std::nullopt;
                outputWhole = whole && outcome.output.size() >= *whole;
                outputOpen = !outputWhole;
            } else if (got == 0 || errno != EINTR) {
                outputOpen = false;
            }
        }
    }
    toChild.Close();
    fromChild.Close();
    if (outputWhole)
        deadline = std::min(deadline, Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                         std::chrono::duration<double>(
                                                             std::max(run.exitGraceSeconds, 0.0))));

    // The output is closed; the program itself still gets until the deadline
    // to end. It is only looked at here, not reaped, so that its group cannot
    // have been handed to another process when it is killed below.
    bool lateExit = false;
    while (!outcome.timedOut && !outcome.outputTooLong) {
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 &&
            errno != EINTR)
            break;
        if (info.si_pid == pid)
            break;
        if (Clock::now() >= deadline) {
            (outputWhole ? lateExit : outcome.timedOut) = true;
            break;
        }
        // The process descriptor wakes the wait the moment the program ends;
        // without one (old kernels), poll often instead of a whole tick.
        pollfd watched[2] = {{processHandle.Get(), POLLIN, 0}, {errorsFromChild.Get(), POLLIN, 0}};
        const int wait = processHandle.Get() >= 0 ? MillisecondsUntil(deadline)
                                                  : std::min(1, MillisecondsUntil(deadline));
        poll(watched, 2, wait);
        if ((watched[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0 &&
            !errors.ReadFrom(errorsFromChild.Get()))
            errorsFromChild.Close();
        waiter.KeepResponsive();
    }
    KillGroup(pid);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    // What the program wrote before it ended; a process it left may hold
    // the pipe open, so only what is there now.
    while (errorsFromChild.Get() >= 0 && errors.ReadFrom(errorsFromChild.Get())) {
        pollfd more{errorsFromChild.Get(), POLLIN, 0};
        if (poll(&more, 1, 0) <= 0)
            break;
    }
    outcome.killedAfterOutput = lateExit;
    if (!outcome.timedOut && !outcome.outputTooLong && !lateExit) {
        SetEnd(outcome, status);
    }
    return outcome;
}

struct WorkerProcess::State {
    Descriptor toWorker, fromWorker;
    pid_t pid = -1;
    std::string startError;
};

WorkerProcess::WorkerProcess() : m_state(std::make_unique<State>()) {}

WorkerProcess::~WorkerProcess() {
    if (Running())
        Finish(0);
}

bool WorkerProcess::Start(const std::vector<std::string>& command) {
    State& state = *m_state;
    state.startError.clear();
    if (command.empty()) {
        state.startError = "no program named";
        return false;
    }
    Descriptor workerInput, workerOutput;
    if (!MakePipe(workerInput, state.toWorker) || !MakePipe(state.fromWorker, workerOutput)) {
        state.startError = std::strerror(errno);
        return false;
    }
    std::vector<std::string> arguments = command;
    std::vector<std::string> environment = MergedEnvironment({});
    std::vector<char*> argv = PointersOf(arguments);
    std::vector<char*> envp = PointersOf(environment);
    const int streams[3] = {workerInput.Get(), workerOutput.Get(), workerOutput.Get()};
    const int error = SpawnInOwnGroup(argv.data(), envp.data(), streams,
                                      command.front().find('/') == std::string::npos, state.pid);
    if (error != 0) {
        state.startError = std::strerror(error);
        state.pid = -1;
        state.toWorker.Close();
        state.fromWorker.Close();
        return false;
    }
    return true;
}

const std::string& WorkerProcess::StartError() const {
    return m_state->startError;
}

bool WorkerProcess::Running() const {
    return m_state->pid > 0;
}

bool WorkerProcess::Send(std::string_view bytes) {
    const int fd = m_state->toWorker.Get();
    while (fd >= 0 && !bytes.empty()) {
        const ssize_t written = WriteWithoutSigpipe(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return fd >= 0;
}

bool WorkerProcess::Receive(std::string& output) {
    const int fd = m_state->fromWorker.Get();
    char chunk[4096];
    while (fd >= 0) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got > 0) {
            output.append(chunk, static_cast<size_t>(got));
            return true;
        }
        if (got == 0 || errno != EINTR)
            break;
    }
    return false;
}

ChildProcessOutcome WorkerProcess::Finish(double graceSeconds) {
    State& state = *m_state;
    ChildProcessOutcome outcome;
    outcome.started = state.pid > 0;
    state.toWorker.Close();
    if (state.pid <= 0)
        return outcome;
    const auto deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(std::max(graceSeconds, 0.0)));
    // Looked at, not reaped, until its group is killed: see RunChildProcess.
    while (true) {
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(state.pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 &&
            errno != EINTR)
            break;
        if (info.si_pid == state.pid)
            break;
        if (Clock::now() >= deadline) {
            outcome.timedOut = true;
            break;
        }
        poll(nullptr, 0, 5);
    }
    KillGroup(state.pid);
    int status = 0;
    while (waitpid(state.pid, &status, 0) < 0 && errno == EINTR) {
    }
    state.pid = -1;
    if (!outcome.timedOut) {
        SetEnd(outcome, status);
    }
    return outcome;
}

std::string SignalDescription(int signalNumber) {
    const char* name = sigabbrev_np(signalNumber);
    const char* description = strsignal(signalNumber);
    std::string text =
        name != nullptr ? std::string("SIG") + name : "signal " + std::to_string(signalNumber);
    if (description != nullptr)
        text += std::string(", ") + description;
    return text;
}

bool ProgramOnPath(const std::string& program) {
    if (program.find('/') != std::string::npos)
        return access(program.c_str(), X_OK) == 0;
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const size_t colon = rest.find(':');
        std::string folder(rest.substr(0, colon));
        if (folder.empty())
            folder = ".";
        const std::string candidate = folder + "/" + program;
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(candidate.c_str(), X_OK) == 0)
            return true;
        if (colon == std::string_view::npos)
            return false;
        rest.remove_prefix(colon + 1);
    }
}

} // namespace kelvane
