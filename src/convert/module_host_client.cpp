// SPDX-License-Identifier: MIT
#include "convert/module_host_client.h"

#include "convert/module_discovery.h"
#include "convert/module_host_launch.h"
#include "platform/process/child_process.h"
#include "platform/process/executable_path.h"
#include "platform/text/code_page.h"
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
constexpr double kDefaultUsbTimeoutSeconds = 10;
// What a module prints is passed on up to this much; more is only counted.
constexpr size_t kModuleOutputKept = 64 * 1024;

std::string TimeoutText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

std::string& HostOverride(ModuleKind kind) {
    static std::string native, windows, windows64;
    return kind == ModuleKind::Windows     ? windows
           : kind == ModuleKind::Windows64 ? windows64
                                           : native;
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

double UsbListingTimeoutSeconds() {
    return SecondsFromEnvironment("KELVANE_USB_TIMEOUT", kDefaultUsbTimeoutSeconds);
}

ModuleHostFailure RunModuleHost(const ModuleLocation& module, const ModuleHostRequest& request,
                                const HostAnswerReader& reader, double timeoutSeconds,
                                WaitIndicator& waiter, std::string& detail) {
    auto encoded = EncodeModuleRequest(request);
    if (!encoded) {
        detail = "the module path is too long";
        return ModuleHostFailure::CannotStart;
    }
    ModuleHostFailure failure = ModuleHostFailure::None;
    std::string note;
    if (!HostCanStart(module, failure, note))
        return failure;
    ScopedWait wait(waiter, note);
    PrepareHostStart(module, waiter);
    ChildProcessRun run = HostCommand(module);
    run.input = std::move(*encoded);
    run.outputLimit = reader.limit;
    run.timeoutSeconds = timeoutSeconds;
    // A process the library started may hold the answer's pipe open for ever.
    run.outputLength = reader.length;
    run.errorLimit = kModuleOutputKept;
    const ChildProcessOutcome ran = RunChildProcess(run, waiter);
    if (ran.errorBytesDropped > 0) {
        const std::string dropped = "\nkelvane: " + std::string(reader.what) + " " + module.file +
                                    " printed " + std::to_string(ran.errorBytesDropped) +
                                    " more bytes; they were left out\n";
        std::fputs(ProjectToLocale(dropped).c_str(), stderr);
    }

    std::string why;
    if (!ran.started) {
        detail = ran.startError;
        return ModuleHostFailure::CannotStart;
    }
    if (ran.timedOut) {
        detail = TimeoutText(timeoutSeconds);
        return ModuleHostFailure::TimedOut;
    }
    if (ran.outputTooLong) {
        detail = "more than " + std::to_string(reader.limit) + " bytes";
        return ModuleHostFailure::BadAnswer;
    }
    // A whole answer counts even if the host fell over after sending it.
    if (reader.decode(ran.output, why))
        return ModuleHostFailure::None;
    if (ran.signaled) {
        detail = SignalDescription(ran.signalNumber);
        return ModuleHostFailure::Crashed;
    }
    if (ran.output.empty()) {
        detail = std::to_string(ran.exitCode);
        return ModuleHostFailure::Exited;
    }
    detail = why + ", " + std::to_string(ran.output.size()) + " bytes";
    return ModuleHostFailure::BadAnswer;
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
    const HostAnswerReader reader =
        AnswerReader(outcome.answer, kModuleAnswerLimit, ModuleAnswerLength, DecodeModuleAnswer,
                     "the conversion module");
    outcome.failure =
        RunModuleHost(module, request, reader, TimeoutOf(call), waiter, outcome.detail);
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
