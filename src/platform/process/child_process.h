// SPDX-License-Identifier: MIT
#pragma once

#include "platform/process/wait_indicator.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// One run of a helper program: `input` is written to its standard input,
// which is then closed, and its standard output is collected; its standard
// error is the caller's unless it is collected with the output.
struct ChildProcessRun {
    std::vector<std::string> command; // program (a path, or a name looked up on PATH), arguments
    std::vector<std::string> environment; // NAME=VALUE entries set on top of the caller's
    std::string input;
    size_t outputLimit = 0;     // more output than this ends the run
    double timeoutSeconds = 0;  // zero or less: no limit
    bool collectErrors = false; // standard error goes into the output too
    // When it tells the whole output's length, the output ends there rather
    // than at the pipe's end (which a process the program started may keep
    // open); the program then has `exitGraceSeconds` to end, or is killed.
    std::function<std::optional<size_t>(std::string_view)> outputLength;
    double exitGraceSeconds = 2;
    // Above zero: standard error is passed on to the caller's up to this many
    // bytes and the rest counted, read all along so that the program never
    // waits on it.
    size_t errorLimit = 0;
    // Started as the first process of a PID namespace of its own, where the
    // system allows it, so that it can neither see nor signal the caller,
    // and whatever it leaves goes with it; else as usual, without a word.
    bool ownPidNamespace = false;
};

struct ChildProcessOutcome {
    bool started = false;
    std::string startError; // why it did not start
    std::string output;
    bool outputTooLong = false;
    bool timedOut = false; // killed, with every process it started
    bool exited = false;   // ended by itself with exitCode
    int exitCode = 0;
    bool signaled = false; // ended by signalNumber
    int signalNumber = 0;
    bool killedAfterOutput = false; // the whole output came, but it did not end in time
    uint64_t errorBytesDropped = 0; // standard error past errorLimit
};

// Runs the program in a process group of its own and waits for it, calling
// `waiter.KeepResponsive()` meanwhile. When it runs out of time or writes too
// much, the whole group is killed. Whatever the program started and left
// behind is killed with the group when the program ends.
ChildProcessOutcome RunChildProcess(const ChildProcessRun& run, WaitIndicator& waiter);

// A helper program that runs beside the caller and is given work as it goes:
// its standard input is a pipe the caller writes to, its standard output
// and error one pipe the caller reads. It runs in a process group (a job
// on Windows) of its own, killed with all it started when it is finished.
class WorkerProcess {
public:
    WorkerProcess();
    ~WorkerProcess(); // kills a worker still running
    WorkerProcess(const WorkerProcess&) = delete;
    WorkerProcess& operator=(const WorkerProcess&) = delete;

    // False, with the reason in StartError(), when it could not be started.
    bool Start(const std::vector<std::string>& command);
    const std::string& StartError() const;
    bool Running() const;
    // False when the worker no longer reads.
    bool Send(std::string_view bytes);
    // Waits for output and appends what came; false at the output's end.
    bool Receive(std::string& output);
    // Closes its input, gives it `graceSeconds` to end and kills what is
    // left. Only the end fields of the outcome are filled in; what it wrote
    // last can still be received.
    ChildProcessOutcome Finish(double graceSeconds);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// "SIGSEGV, Segmentation fault" for a signal number.
std::string SignalDescription(int signalNumber);

// Whether a program name is found on PATH (or, with a '/', is executable).
bool ProgramOnPath(const std::string& program);

} // namespace kelvane
