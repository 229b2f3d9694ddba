// SPDX-License-Identifier: MIT
#include "convert/module_host_client.h"

#include "convert/module_discovery.h"
#include "convert/module_host_launch.h"
#include "platform/child_process.h"
#include "platform/code_page.h"
#include "platform/executable_path.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "store/path_helpers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kelvane {
namespace {

constexpr double kDefaultTimeoutSeconds = 120;
constexpr double kDefaultProbeTimeoutSeconds = 10;
// What a module prints is passed on up to this much; more is only counted.
constexpr size_t kModuleOutputKept = 64 * 1024;

std::string TimeoutText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

std::string& HostOverride(ModuleKind kind) {
    static std::string native, windows;
    return kind == ModuleKind::Windows ? windows : native;
}

// A positive number of seconds from the environment, else `fallback`.
double SecondsFromEnvironment(const char* name, double fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0')
        return fallback;
    char* end = nullptr;
    const double seconds = std::strtod(text, &end);
    return *end == '\0' && std::isfinite(seconds) && seconds > 0 ? seconds : fallback;
}

double TimeoutOf(ModuleHostCall call) {
    return call == ModuleHostCall::Probe ? ModuleProbeTimeoutSeconds() : ModuleCallTimeoutSeconds();
}

} // namespace

// The host is installed beside the program.
std::string HostProgram(ModuleKind kind) {
    if (!HostOverride(kind).empty())
        return HostOverride(kind);
    const std::string folder = ExecutableFolder();
    const std::string name = HostProgramName(kind);
    return folder.empty() ? name : JoinPath(folder, name);
}

double ModuleCallTimeoutSeconds() {
    return SecondsFromEnvironment("KELVANE_MODULE_TIMEOUT", kDefaultTimeoutSeconds);
}

double ModuleProbeTimeoutSeconds() {
    return SecondsFromEnvironment("KELVANE_PROBE_TIMEOUT", kDefaultProbeTimeoutSeconds);
}

ModuleHostOutcome CallModuleHost(const ModuleLocation& module, ModuleHostCall call,
                                 int32_t direction, const ModuleBlockBytes& block,
                                 WaitIndicator& waiter) {
    ModuleHostOutcome outcome;
    outcome.call = call;
    ModuleHostRequest request;
    request.call = call;
    request.direction = direction;
    request.modulePath = module.hostPath;
    request.block = block;
    const auto encoded = EncodeModuleRequest(request);
    if (!encoded) {
        outcome.failure = ModuleHostFailure::CannotStart;
        outcome.detail = "the module path is too long";
        return outcome;
    }
    std::string note;
    if (!HostCanStart(module, outcome.failure, note))
        return outcome;
    ScopedWait wait(waiter, note);
    ChildProcessRun run = HostCommand(module);
    run.input = std::move(*encoded);
    run.outputLimit = kModuleAnswerLimit;
    run.timeoutSeconds = TimeoutOf(call);
    // A process the module started may hold the answer's pipe open for ever.
    run.outputLength = ModuleAnswerLength;
    run.errorLimit = kModuleOutputKept;
    const ChildProcessOutcome ran = RunChildProcess(run, waiter);
    if (ran.errorBytesDropped > 0) {
        const std::string note = "\nkelvane: the conversion module " + module.file + " printed " +
                                 std::to_string(ran.errorBytesDropped) +
                                 " more bytes; they were left out\n";
        std::fputs(ProjectToLocale(note).c_str(), stderr);
    }

    std::string why;
    if (!ran.started) {
        outcome.failure = ModuleHostFailure::CannotStart;
        outcome.detail = ran.startError;
    } else if (ran.timedOut) {
        outcome.failure = ModuleHostFailure::TimedOut;
        outcome.detail = TimeoutText(TimeoutOf(call));
    } else if (ran.outputTooLong) {
        outcome.failure = ModuleHostFailure::BadAnswer;
        outcome.detail = "more than " + std::to_string(kModuleAnswerLimit) + " bytes";
    } else if (auto answer = DecodeModuleAnswer(ran.output, why)) {
        // A whole answer counts even if the host fell over after sending it.
        outcome.answer = std::move(*answer);
    } else if (ran.signaled) {
        outcome.failure = ModuleHostFailure::Crashed;
        outcome.detail = SignalDescription(ran.signalNumber);
    } else if (ran.output.empty() && ran.exitCode != 0) {
        outcome.failure = ModuleHostFailure::Exited;
        outcome.detail = std::to_string(ran.exitCode);
    } else if (ran.output.empty()) {
        outcome.failure = ModuleHostFailure::Exited;
        outcome.detail = "0";
    } else {
        outcome.failure = ModuleHostFailure::BadAnswer;
        outcome.detail = why + ", " + std::to_string(ran.output.size()) + " bytes";
    }
    return outcome;
}

std::string ModuleHostFailureMessage(const ModuleHostOutcome& outcome,
                                     const ModuleLocation& module) {
    const std::string& name = module.file;
    switch (outcome.failure) {
    case ModuleHostFailure::None:
        break;
    case ModuleHostFailure::CannotStart:
        return FormatResourceString(IDS_MODULE_HOST_CANNOT_START,
                                    {name, HostProgram(module.kind), outcome.detail});
    case ModuleHostFailure::WineMissing:
        return FormatResourceString(IDS_MODULE_NEEDS_WINE, {name});
    case ModuleHostFailure::Crashed:
        return FormatResourceString(IDS_MODULE_CRASHED, {name, outcome.detail});
    case ModuleHostFailure::Exited:
        return FormatResourceString(IDS_MODULE_EXITED, {name, outcome.detail});
    case ModuleHostFailure::TimedOut:
        return FormatResourceString(outcome.call == ModuleHostCall::Probe
                                        ? IDS_MODULE_PROBE_TIMED_OUT
                                        : IDS_MODULE_TIMED_OUT,
                                    {name, outcome.detail});
    case ModuleHostFailure::BadAnswer:
        return FormatResourceString(IDS_MODULE_BAD_ANSWER, {name, outcome.detail});
    }
    if (outcome.answer.status == ModuleHostStatus::Crashed)
        return FormatResourceString(IDS_MODULE_CRASHED, {name, outcome.answer.detail});
    if (outcome.answer.status == ModuleHostStatus::WroteOutsideBlock)
        return FormatResourceString(IDS_MODULE_WROTE_OUTSIDE_BLOCK, {name});
    return {};
}

std::string ModuleHostWarningMessage(const ModuleHostOutcome& outcome,
                                     const ModuleLocation& module) {
    if (outcome.failure != ModuleHostFailure::None || outcome.answer.leftProcesses == 0)
        return {};
    return FormatResourceString(IDS_MODULE_LEFT_PROCESSES,
                                {module.file, std::to_string(outcome.answer.leftProcesses)});
}

void SetModuleHostProgramsForTesting(std::string native, std::string windows) {
    HostOverride(ModuleKind::Native) = std::move(native);
    HostOverride(ModuleKind::Windows) = std::move(windows);
}

} // namespace kelvane
