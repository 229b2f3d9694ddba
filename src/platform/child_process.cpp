// SPDX-License-Identifier: MIT
#include "platform/child_process.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
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

void KillGroup(pid_t group) {
    kill(-group, SIGKILL);
}

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, kResponsiveTick.count()));
}

} // namespace

ChildProcessOutcome RunChildProcess(const ChildProcessRun& run, WaitIndicator& waiter) {
    ChildProcessOutcome outcome;
    if (run.command.empty()) {
        outcome.startError = "no program named";
        return outcome;
    }
    Descriptor childInput, toChild, fromChild, childOutput;
    if (!MakePipe(childInput, toChild) || !MakePipe(fromChild, childOutput)) {
        outcome.startError = std::strerror(errno);
        return outcome;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, childInput.Get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, childOutput.Get(), STDOUT_FILENO);
    if (run.collectErrors)
        posix_spawn_file_actions_adddup2(&actions, childOutput.Get(), STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A group of its own, so that a hung module goes with all it started; and
    // the signals as a fresh program has them, whatever the front changed.
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

    std::vector<std::string> arguments = run.command;
    std::vector<std::string> environment = MergedEnvironment(run.environment);
    std::vector<char*> argv = PointersOf(arguments);
    std::vector<char*> envp = PointersOf(environment);
    pid_t pid = -1;
    const bool searchPath = run.command.front().find('/') == std::string::npos;
    const int spawnError =
        searchPath ? posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), envp.data())
                   : posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    childInput.Close();
    childOutput.Close();
    if (spawnError != 0) {
        outcome.startError = std::strerror(spawnError);
        return outcome;
    }
    outcome.started = true;
    Descriptor processHandle(static_cast<int>(syscall(SYS_pidfd_open, pid, 0)));

    fcntl(toChild.Get(), F_SETFL, O_NONBLOCK);
    // Without a limit, a deadline a year away: far enough, and no overflow.
    const double limit = run.timeoutSeconds > 0 ? run.timeoutSeconds : 365.0 * 24 * 3600;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(limit));
    size_t inputWritten = 0;
    if (run.input.empty())
        toChild.Close();
    bool outputOpen = true;
    while (outputOpen) {
        if (Clock::now() >= deadline) {
            outcome.timedOut = true;
            break;
        }
        pollfd watched[2] = {{fromChild.Get(), POLLIN, 0}, {toChild.Get(), POLLOUT, 0}};
        const nfds_t count = toChild.Get() >= 0 ? 2 : 1;
        const int ready = poll(watched, count, MillisecondsUntil(deadline));
        waiter.KeepResponsive();
        if (ready < 0 && errno != EINTR) {
            outcome.timedOut = true; // cannot wait any more: treat as stuck
            break;
        }
        if (count == 2 && (watched[1].revents & (POLLOUT | POLLERR | POLLHUP)) != 0) {
            const ssize_t written = WriteWithoutSigpipe(
                toChild.Get(), run.input.data() + inputWritten, run.input.size() - inputWritten);
            if (written > 0)
                inputWritten += static_cast<size_t>(written);
            // A child that stops reading gets no more; its answer will tell.
            if (inputWritten == run.input.size() || (written < 0 && errno != EAGAIN))
                toChild.Close();
        }
        if ((watched[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            char chunk[4096];
            const ssize_t got = read(fromChild.Get(), chunk, sizeof chunk);
            if (got > 0) {
                outcome.output.append(chunk, static_cast<size_t>(got));
                if (outcome.output.size() > run.outputLimit) {
                    outcome.outputTooLong = true;
                    break;
                }
            } else if (got == 0 || errno != EINTR) {
                outputOpen = false;
            }
        }
    }
    toChild.Close();
    fromChild.Close();

    // The output is closed; the program itself still gets until the deadline
    // to end. It is only looked at here, not reaped, so that its group cannot
    // have been handed to another process when it is killed below.
    while (!outcome.timedOut && !outcome.outputTooLong) {
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 &&
            errno != EINTR)
            break;
        if (info.si_pid == pid)
            break;
        if (Clock::now() >= deadline) {
            outcome.timedOut = true;
            break;
        }
        // The process descriptor wakes the wait the moment the program ends;
        // without one (old kernels), poll often instead of a whole tick.
        pollfd exited{processHandle.Get(), POLLIN, 0};
        if (processHandle.Get() >= 0)
            poll(&exited, 1, MillisecondsUntil(deadline));
        else
            poll(nullptr, 0, std::min(1, MillisecondsUntil(deadline)));
        waiter.KeepResponsive();
    }
    KillGroup(pid);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!outcome.timedOut && !outcome.outputTooLong) {
        outcome.exited = WIFEXITED(status);
        outcome.exitCode = outcome.exited ? WEXITSTATUS(status) : 0;
        outcome.signaled = WIFSIGNALED(status);
        outcome.signalNumber = outcome.signaled ? WTERMSIG(status) : 0;
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
