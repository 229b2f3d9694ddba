// SPDX-License-Identifier: MIT
#include "platform/process/child_process.h"
#include "platform/text/code_page.h"
#include "platform/text/windows_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>
#include <windows.h>

namespace kelvane {
namespace {

using Clock = std::chrono::steady_clock;

// How often the pipes are looked at while the child runs: anonymous pipes
// cannot be waited on, only asked how much they hold.
constexpr DWORD kPollMilliseconds = 5;

class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    void Reset(HANDLE handle) {
        Close();
        m_handle = handle;
    }
    void Close() {
        if (IsOpen())
            CloseHandle(m_handle);
        m_handle = nullptr;
    }
    bool IsOpen() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }
    HANDLE Release() { return std::exchange(m_handle, nullptr); }

private:
    HANDLE m_handle = nullptr;
};

// A pipe whose `childEnd` is inheritable and whose other end is not.
bool MakePipe(Handle& readEnd, Handle& writeEnd, bool childReads) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inheritable, 0))
        return false;
    readEnd.Reset(read);
    writeEnd.Reset(write);
    return SetHandleInformation(childReads ? write : read, HANDLE_FLAG_INHERIT, 0);
}

// One argument as the C runtime's command-line parser reads it back.
void AppendQuoted(std::wstring& line, const std::wstring& argument) {
    if (!line.empty())
        line += L' ';
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += argument;
        return;
    }
    line += L'"';
    for (size_t i = 0;; ++i) {
        size_t backslashes = 0;
        while (i < argument.size() && argument[i] == L'\\') {
            ++i;
            ++backslashes;
        }
        if (i == argument.size()) {
            line.append(backslashes * 2, L'\\');
            break;
        }
        if (argument[i] == L'"')
            line.append(backslashes * 2 + 1, L'\\');
        else
            line.append(backslashes, L'\\');
        line += argument[i];
    }
    line += L'"';
}

std::wstring Wide(const std::string& projectText) {
    return WidePath(projectText);
}

// The caller's environment with the run's entries put over it, as the
// block CreateProcessW takes: NAME=VALUE\0 ... \0.
std::wstring EnvironmentBlock(const std::vector<std::string>& overrides) {
    std::vector<std::wstring> merged;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1)
            merged.emplace_back(entry);
        FreeEnvironmentStringsW(block);
    }
    for (const std::string& item : overrides) {
        const std::wstring wide = Wide(item);
        const std::wstring name = wide.substr(0, wide.find(L'=') + 1);
        std::erase_if(merged, [&](const std::wstring& e) {
            return e.size() >= name.size() &&
                   CompareStringOrdinal(e.data(), static_cast<int>(name.size()), name.data(),
                                        static_cast<int>(name.size()), TRUE) == CSTR_EQUAL;
        });
        merged.push_back(wide);
    }
    std::wstring block;
    for (const std::wstring& entry : merged)
        block += entry + L'\0';
    block += L'\0';
    return block;
}

std::string SystemMessage(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text != nullptr ? text : L"", length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.'))
        message.pop_back();
    std::string described = ProjectFromWide(message);
    return described.empty() ? "error " + std::to_string(code) : described;
}

// Bytes waiting in a pipe: 0 when none, -1 at its end.
long long Available(HANDLE pipe) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr))
        return -1;
    return available;
}

// Reads what a pipe holds now into `bytes` (at most `most`); false at its end.
bool ReadAvailable(Handle& pipe, std::string& bytes, size_t most) {
    if (!pipe.IsOpen())
        return false;
    const long long available = Available(pipe.Get());
    if (available < 0) {
        pipe.Close();
        return false;
    }
    if (available == 0)
        return true;
    const size_t want = std::min<size_t>(static_cast<size_t>(available), most);
    const size_t old = bytes.size();
    bytes.resize(old + want);
    DWORD got = 0;
    if (!ReadFile(pipe.Get(), bytes.data() + old, static_cast<DWORD>(want), &got, nullptr)) {
        bytes.resize(old);
        pipe.Close();
        return false;
    }
    bytes.resize(old + got);
    return true;
}

// Standard error of a run, passed on up to its limit and counted past it.
class ErrorRelay {
public:
    ErrorRelay(size_t limit, uint64_t& dropped) : m_limit(limit), m_dropped(dropped) {}
    void ReadFrom(Handle& pipe) {
        std::string chunk;
        while (ReadAvailable(pipe, chunk, 4096) && !chunk.empty()) {
            const size_t kept = std::min(chunk.size(), m_limit - m_passed);
            DWORD written = 0;
            if (kept > 0)
                WriteFile(GetStdHandle(STD_ERROR_HANDLE), chunk.data(), static_cast<DWORD>(kept),
                          &written, nullptr);
            m_passed += kept;
            m_dropped += chunk.size() - kept;
            chunk.clear();
        }
    }

private:
    size_t m_limit;
    size_t m_passed = 0;
    uint64_t& m_dropped;
};

// The child's standard input, written by a thread of its own: a pipe
// write blocks while the child does not read.
struct InputWriter {
    HANDLE pipe = nullptr;
    const std::string* input = nullptr;

    static DWORD WINAPI Run(void* self) {
        auto& writer = *static_cast<InputWriter*>(self);
        size_t done = 0;
        while (done < writer.input->size()) {
            DWORD written = 0;
            const DWORD want =
                static_cast<DWORD>(std::min<size_t>(writer.input->size() - done, 1 << 16));
            // A child that stops reading gets no more; its answer will tell.
            if (!WriteFile(writer.pipe, writer.input->data() + done, want, &written, nullptr))
                break;
            done += written;
        }
        CloseHandle(writer.pipe);
        return 0;
    }
};

// How a program that ended by itself ended: an exception (0xC0000005 and
// the like) counts as a signal.
void SetEnd(ChildProcessOutcome& outcome, DWORD code) {
    outcome.signaled = code >= 0xC0000000u;
    outcome.exited = !outcome.signaled;
    outcome.exitCode = outcome.exited ? static_cast<int>(code) : 0;
    outcome.signalNumber = outcome.signaled ? static_cast<int>(code) : 0;
}

} // namespace

ChildProcessOutcome RunChildProcess(const ChildProcessRun& run, WaitIndicator& waiter) {
    ChildProcessOutcome outcome;
    if (run.command.empty()) {
        outcome.startError = "no program named";
        return outcome;
    }
    Handle childInput, toChild, fromChild, childOutput, errorsFromChild, childErrors;
    const bool relayErrors = run.errorLimit > 0 && !run.collectErrors;
    if (!MakePipe(childInput, toChild, true) || !MakePipe(fromChild, childOutput, false) ||
        (relayErrors && !MakePipe(errorsFromChild, childErrors, false))) {
        outcome.startError = SystemMessage(GetLastError());
        return outcome;
    }
    HANDLE errorStream = run.collectErrors ? childOutput.Get()
                         : relayErrors     ? childErrors.Get()
                                           : GetStdHandle(STD_ERROR_HANDLE);
    // Only these handles go to the child, whatever else is inheritable.
    HANDLE inherited[3] = {childInput.Get(), childOutput.Get(), errorStream};
    DWORD inheritedCount = errorStream == childOutput.Get() ? 2 : 3;
    Handle errorCopy;
    if (!run.collectErrors && !relayErrors) {
        // The caller's own standard error, as an inheritable copy.
        HANDLE copy = nullptr;
        if (errorStream != nullptr && errorStream != INVALID_HANDLE_VALUE &&
            DuplicateHandle(GetCurrentProcess(), errorStream, GetCurrentProcess(), &copy, 0, TRUE,
                            DUPLICATE_SAME_ACCESS)) {
            errorCopy.Reset(copy);
            inherited[2] = errorStream = copy;
        } else {
            inheritedCount = 2;
            errorStream = nullptr;
        }
    }

    SIZE_T attributeSize = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &attributeSize);
    std::vector<char> attributeMemory(attributeSize);
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeMemory.data());
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = childInput.Get();
    startup.StartupInfo.hStdOutput = childOutput.Get();
    startup.StartupInfo.hStdError = errorStream;
    const bool listed =
        InitializeProcThreadAttributeList(attributes, 1, 0, &attributeSize) &&
        UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                  inheritedCount * sizeof(HANDLE), nullptr, nullptr);
    if (listed)
        startup.lpAttributeList = attributes;

    // The job holds the program and all it starts: closing it kills them.
    Handle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job.IsOpen())
        SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits,
                                sizeof limits);

    std::wstring commandLine;
    for (const std::string& argument : run.command)
        AppendQuoted(commandLine, Wide(argument));
    std::wstring environment = EnvironmentBlock(run.environment);
    PROCESS_INFORMATION process{};
    const DWORD flags =
        CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT | (listed ? EXTENDED_STARTUPINFO_PRESENT : 0);
    const BOOL created =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, flags,
                       environment.data(), nullptr, &startup.StartupInfo, &process);
    const DWORD createError = GetLastError();
    if (listed)
        DeleteProcThreadAttributeList(attributes);
    childInput.Close();
    childOutput.Close();
    childErrors.Close();
    errorCopy.Close();
    if (!created) {
        outcome.startError = SystemMessage(createError);
        return outcome;
    }
    Handle processHandle(process.hProcess), threadHandle(process.hThread);
    if (job.IsOpen())
        AssignProcessToJobObject(job.Get(), processHandle.Get());
    ResumeThread(threadHandle.Get());
    outcome.started = true;

    InputWriter writer{toChild.Get(), &run.input};
    HANDLE writerThread = nullptr;
    if (!run.input.empty())
        writerThread = CreateThread(nullptr, 0, &InputWriter::Run, &writer, 0, nullptr);
    if (writerThread == nullptr)
        toChild.Close();
    else
        toChild.Release(); // the writer closes its end

    ErrorRelay errors(run.errorLimit, outcome.errorBytesDropped);
    const double limit = run.timeoutSeconds > 0 ? run.timeoutSeconds : 365.0 * 24 * 3600;
    auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                       std::chrono::duration<double>(limit));
    bool outputWhole = false, ended = false;
    while (fromChild.IsOpen()) {
        if (Clock::now() >= deadline) {
            outcome.timedOut = true;
            break;
        }
        errors.ReadFrom(errorsFromChild);
        const size_t before = outcome.output.size();
        const bool open = ReadAvailable(fromChild, outcome.output, run.outputLimit + 1 - before);
        if (outcome.output.size() > run.outputLimit) {
            outcome.outputTooLong = true;
            break;
        }
        if (outcome.output.size() > before && run.outputLength) {
            const std::optional<size_t> whole = run.outputLength(outcome.output);
            if (whole && outcome.output.size() >= *whole) {
                outputWhole = true;
                break;
            }
        }
        if (!open)
            break;
        if (outcome.output.size() == before) {
            // Nothing new: wait on the program a moment, which also ends at
            // its exit. A process it left may keep the pipe open after it.
            if (WaitForSingleObject(processHandle.Get(), kPollMilliseconds) == WAIT_OBJECT_0) {
                if (ended)
                    break;
                ended = true; // one more look for what it wrote last
            }
        }
        waiter.KeepResponsive();
    }
    if (outputWhole)
        deadline = std::min(deadline, Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                         std::chrono::duration<double>(
                                                             std::max(run.exitGraceSeconds, 0.0))));
    bool lateExit = false;
    while (!outcome.timedOut && !outcome.outputTooLong) {
        if (WaitForSingleObject(processHandle.Get(), kPollMilliseconds * 4) == WAIT_OBJECT_0)
            break;
        if (Clock::now() >= deadline) {
            (outputWhole ? lateExit : outcome.timedOut) = true;
            break;
        }
        errors.ReadFrom(errorsFromChild);
        waiter.KeepResponsive();
    }
    // Whatever the program started and left goes with it.
    if (job.IsOpen())
        TerminateJobObject(job.Get(), 1);
    else
        TerminateProcess(processHandle.Get(), 1);
    WaitForSingleObject(processHandle.Get(), INFINITE);
    errors.ReadFrom(errorsFromChild);
    if (writerThread != nullptr) {
        CancelSynchronousIo(writerThread);
        WaitForSingleObject(writerThread, INFINITE);
        CloseHandle(writerThread);
    }
    outcome.killedAfterOutput = lateExit;
    DWORD code = 0;
    if (!outcome.timedOut && !outcome.outputTooLong && !lateExit &&
        GetExitCodeProcess(processHandle.Get(), &code)) {
        SetEnd(outcome, code);
    }
    return outcome;
}

struct WorkerProcess::State {
    Handle toWorker, fromWorker, process, job;
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
    Handle workerInput, workerOutput;
    if (!MakePipe(workerInput, state.toWorker, true) ||
        !MakePipe(state.fromWorker, workerOutput, false)) {
        state.startError = SystemMessage(GetLastError());
        return false;
    }
    HANDLE inherited[2] = {workerInput.Get(), workerOutput.Get()};
    SIZE_T attributeSize = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &attributeSize);
    std::vector<char> attributeMemory(attributeSize);
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeMemory.data());
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = workerInput.Get();
    startup.StartupInfo.hStdOutput = workerOutput.Get();
    startup.StartupInfo.hStdError = workerOutput.Get();
    const bool listed = InitializeProcThreadAttributeList(attributes, 1, 0, &attributeSize) &&
                        UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                                  inherited, sizeof inherited, nullptr, nullptr);
    if (listed)
        startup.lpAttributeList = attributes;
    state.job.Reset(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (state.job.IsOpen())
        SetInformationJobObject(state.job.Get(), JobObjectExtendedLimitInformation, &limits,
                                sizeof limits);
    std::wstring commandLine;
    for (const std::string& argument : command)
        AppendQuoted(commandLine, Wide(argument));
    std::wstring environment = EnvironmentBlock({});
    PROCESS_INFORMATION process{};
    const DWORD flags =
        CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT | (listed ? EXTENDED_STARTUPINFO_PRESENT : 0);
    const BOOL created =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, flags,
                       environment.data(), nullptr, &startup.StartupInfo, &process);
    const DWORD createError = GetLastError();
    if (listed)
        DeleteProcThreadAttributeList(attributes);
    if (!created) {
        state.startError = SystemMessage(createError);
        state.toWorker.Close();
        state.fromWorker.Close();
        state.job.Close();
        return false;
    }
    state.process.Reset(process.hProcess);
    Handle thread(process.hThread);
    if (state.job.IsOpen())
        AssignProcessToJobObject(state.job.Get(), state.process.Get());
    ResumeThread(thread.Get());
    return true;
}

const std::string& WorkerProcess::StartError() const {
    return m_state->startError;
}

bool WorkerProcess::Running() const {
    return m_state->process.IsOpen();
}

bool WorkerProcess::Send(std::string_view bytes) {
    const Handle& pipe = m_state->toWorker;
    while (pipe.IsOpen() && !bytes.empty()) {
        DWORD written = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1 << 16));
        if (!WriteFile(pipe.Get(), bytes.data(), want, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return pipe.IsOpen();
}

bool WorkerProcess::Receive(std::string& output) {
    Handle& pipe = m_state->fromWorker;
    char chunk[4096];
    DWORD got = 0;
    if (!pipe.IsOpen() || !ReadFile(pipe.Get(), chunk, sizeof chunk, &got, nullptr) || got == 0)
        return false;
    output.append(chunk, got);
    return true;
}

ChildProcessOutcome WorkerProcess::Finish(double graceSeconds) {
    State& state = *m_state;
    ChildProcessOutcome outcome;
    outcome.started = state.process.IsOpen();
    state.toWorker.Close();
    if (!state.process.IsOpen())
        return outcome;
    const auto wait = static_cast<DWORD>(std::max(graceSeconds, 0.0) * 1000);
    outcome.timedOut = WaitForSingleObject(state.process.Get(), wait) != WAIT_OBJECT_0;
    if (state.job.IsOpen())
        TerminateJobObject(state.job.Get(), 1);
    else
        TerminateProcess(state.process.Get(), 1);
    WaitForSingleObject(state.process.Get(), INFINITE);
    DWORD code = 0;
    if (!outcome.timedOut && GetExitCodeProcess(state.process.Get(), &code)) {
        SetEnd(outcome, code);
    }
    state.process.Close();
    state.job.Close();
    return outcome;
}

std::string SignalDescription(int signalNumber) {
    const auto code = static_cast<DWORD>(signalNumber);
    char number[16];
    std::snprintf(number, sizeof number, "0x%08lX", static_cast<unsigned long>(code));
    const char* name = nullptr;
    switch (code) {
    case 0xC0000005:
        name = "access violation";
        break;
    case 0xC000001D:
        name = "illegal instruction";
        break;
    case 0xC0000094:
        name = "integer division by zero";
        break;
    case 0xC00000FD:
        name = "stack overflow";
        break;
    case 0xC0000374:
        name = "heap corruption";
        break;
    case 0xC0000409:
        name = "stack buffer overrun";
        break;
    case 0xC000013A:
        name = "ended by Ctrl+C";
        break;
    default:
        break;
    }
    return std::string("exception ") + number + (name != nullptr ? std::string(", ") + name : "");
}

bool ProgramOnPath(const std::string& program) {
    const std::wstring wide = Wide(program);
    wchar_t found[MAX_PATH];
    return SearchPathW(nullptr, wide.c_str(), L".exe", MAX_PATH, found, nullptr) > 0;
}

} // namespace kelvane
