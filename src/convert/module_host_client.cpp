// SPDX-License-Identifier: MIT
#include "convert/module_host_client.h"

#include "convert/module_discovery.h"
#include "platform/absolute_path.h"
#include "platform/child_process.h"
#include "platform/code_page.h"
#include "platform/executable_path.h"
#include "platform/file_name_case.h"
#include "platform/wine_prefix.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "store/path_helpers.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

constexpr double kDefaultTimeoutSeconds = 120;
constexpr double kDefaultProbeTimeoutSeconds = 10;
// What a module prints is passed on up to this much; more is only counted.
constexpr size_t kModuleOutputKept = 64 * 1024;
constexpr const char* kNativeHost = "kelvane-module-host";
constexpr const char* kWindowsHost = "kelvane-module-host.exe";

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(NativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The module file `path` names, in another letter case when only that is
// there (a table written on Windows); `path` itself when there is none, or
// more than one.
std::string ModuleFileInAnyCase(const std::string& path) {
    const FoundFile found = FindFileIgnoringCase(path);
    return found.match == NameMatch::OtherCase && IsRegularFile(found.path) ? found.path : path;
}

bool IsWindowsPath(std::string_view path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
           path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

// The name with a three-character extension (or ".so") replaced by ".dll".
std::string WindowsModuleFileName(std::string_view modulePath) {
    std::string path(modulePath);
    if (path.ends_with(".so"))
        path.resize(path.size() - 3);
    else
        CheckExtension(path, "dll", 1);
    path.append(".dll");
    return path;
}

// Where a bare name is looked for first: beside the program.
std::string PlaceOf(const std::string& name) {
    if (name.find('/') != std::string::npos)
        return name;
    const std::string folder = ExecutableFolder();
    return folder.empty() ? name : folder + "/" + name;
}

// A Unix file in Wine's terms: the Z: drive is the root of the file system.
std::string WineDrivePath(const std::string& unixPath) {
    std::string path = "Z:" + ProjectToUtf8(AbsolutePath(unixPath));
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// A Windows path's file in the Unix file system, through the prefix's drive
// links (dosdevices/c: -> ../drive_c).
std::string UnixPathOfWindowsPath(const std::string& windowsPath) {
    std::string path = WinePrefix() + "/dosdevices/" +
                       static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0]))) +
                       ":";
    for (char c : windowsPath.substr(2))
        path.push_back(c == '\\' ? '/' : c);
    return path;
}

std::string TimeoutText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

// Wine creates a missing prefix on its first start, which takes seconds.
bool WinePrefixMissing() {
    struct stat info {};
    return stat(NativePath(WinePrefix() + "/system.reg").c_str(), &info) != 0;
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

ChildProcessRun HostRun(const ModuleLocation& module, ModuleHostCall call, std::string request) {
    ChildProcessRun run;
    const std::string host = HostProgram(module.kind);
    if (module.kind == ModuleKind::Windows) {
        run.command = {"wine", NativePath(host)};
        // Quiet, and no offer to install .NET or a browser engine into a new
        // prefix: nobody is there to answer it.
        if (std::getenv("WINEDEBUG") == nullptr)
            run.environment.push_back("WINEDEBUG=-all");
        if (std::getenv("WINEDLLOVERRIDES") == nullptr)
            run.environment.push_back("WINEDLLOVERRIDES=mscoree,mshtml=");
    } else {
        run.command = {NativePath(host)};
    }
    run.input = std::move(request);
    run.outputLimit = kModuleAnswerLimit;
    run.timeoutSeconds = TimeoutOf(call);
    // A process the module started may hold the answer's pipe open for ever.
    run.outputLength = ModuleAnswerLength;
    run.errorLimit = kModuleOutputKept;
    // Wine's own processes (its server) must outlive a call.
    run.ownPidNamespace = module.kind == ModuleKind::Native;
    return run;
}

} // namespace

// The host is installed beside the program.
std::string HostProgram(ModuleKind kind) {
    if (!HostOverride(kind).empty())
        return HostOverride(kind);
    const std::string folder = ExecutableFolder();
    return (folder.empty() ? std::string() : folder + "/") +
           (kind == ModuleKind::Windows ? kWindowsHost : kNativeHost);
}

ModuleLocation LocateModule(std::string_view modulePath) {
    ModuleLocation location;
    const std::string path(modulePath);
    if (IsWindowsPath(path)) {
        location.kind = ModuleKind::Windows;
        location.fieldName = WindowsModuleFileName(path);
        // Wine finds the file in any case itself; the file is for the cache.
        location.file = ModuleFileInAnyCase(UnixPathOfWindowsPath(location.fieldName));
        location.hostPath = ProjectToUtf8(location.fieldName);
        return location;
    }
    location.fieldName = ModuleFileName(path);
    const std::string placed = PlaceOf(location.fieldName);
    location.file = ModuleFileInAnyCase(placed);
    // The host takes a bare name from its own folder, which is the
    // program's; a name found in another case is given as the file found.
    location.hostPath = location.file == placed ? location.fieldName : location.file;
    if (IsRegularFile(location.file))
        return location;
    const std::string windowsName = WindowsModuleFileName(path);
    const std::string windowsFile = ModuleFileInAnyCase(PlaceOf(windowsName));
    if (IsRegularFile(windowsFile)) {
        location.kind = ModuleKind::Windows;
        location.fieldName = windowsName;
        location.file = windowsFile;
        location.hostPath = WineDrivePath(windowsFile);
        return location;
    }
    // Neither is there: the system's library search may still know it.
    location.file = location.fieldName;
    return location;
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
    if (module.kind == ModuleKind::Windows && !ProgramOnPath("wine")) {
        outcome.failure = ModuleHostFailure::WineMissing;
        return outcome;
    }

    // Said once a run: later calls find the prefix made.
    static bool toldPreparingWine = false;
    std::string note;
    if (module.kind == ModuleKind::Windows && !toldPreparingWine && WinePrefixMissing()) {
        note = LoadResourceString(IDS_PREPARING_WINE);
        toldPreparingWine = true;
    }
    ScopedWait wait(waiter, note);
    const ChildProcessOutcome run = RunChildProcess(HostRun(module, call, *encoded), waiter);
    if (run.errorBytesDropped > 0) {
        const std::string note = "\nkelvane: the conversion module " + module.file + " printed " +
                                 std::to_string(run.errorBytesDropped) +
                                 " more bytes; they were left out\n";
        std::fputs(ProjectToLocale(note).c_str(), stderr);
    }

    std::string why;
    if (!run.started) {
        outcome.failure = ModuleHostFailure::CannotStart;
        outcome.detail = run.startError;
    } else if (run.timedOut) {
        outcome.failure = ModuleHostFailure::TimedOut;
        outcome.detail = TimeoutText(TimeoutOf(call));
    } else if (run.outputTooLong) {
        outcome.failure = ModuleHostFailure::BadAnswer;
        outcome.detail = "more than " + std::to_string(kModuleAnswerLimit) + " bytes";
    } else if (auto answer = DecodeModuleAnswer(run.output, why)) {
        // A whole answer counts even if the host fell over after sending it.
        outcome.answer = std::move(*answer);
    } else if (run.signaled) {
        outcome.failure = ModuleHostFailure::Crashed;
        outcome.detail = SignalDescription(run.signalNumber);
    } else if (run.output.empty() && run.exitCode != 0) {
        outcome.failure = ModuleHostFailure::Exited;
        outcome.detail = std::to_string(run.exitCode);
    } else if (run.output.empty()) {
        outcome.failure = ModuleHostFailure::Exited;
        outcome.detail = "0";
    } else {
        outcome.failure = ModuleHostFailure::BadAnswer;
        outcome.detail = why + ", " + std::to_string(run.output.size()) + " bytes";
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
