// SPDX-License-Identifier: MIT
#pragma once

#include "convert/module_host_protocol.h"
#include "platform/process/wait_indicator.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kelvane {

// Where a conversion module runs: a native library in kelvane-module-host,
// a 32-bit Windows library in kelvane-module-host.exe under Wine. On Linux
// a 64-bit Windows library runs in kelvane-module-host64.exe under Wine's
// 64-bit loader (Windows64); Windows gives Native for it.
enum class ModuleKind { Native, Windows, Windows64 };

struct ModuleLocation {
    ModuleKind kind = ModuleKind::Native;
    std::string fieldName; // what m_szConvertModule holds for it: NAME.so or NAME.dll
    std::string file;      // the file as the checks found it, for messages and the cache
    std::string hostPath;  // what the host is told to load
};

// Finds the module a table value or m_szConvertModule names: NAME.so where
// it exists (beside the program for a bare name), else NAME.dll where that
// exists, for Wine; else NAME.so for the system's library search. A Windows
// path (C:\...) names a file of the user's Wine prefix.
ModuleLocation LocateModule(std::string_view modulePath);

enum class ModuleHostFailure {
    None,        // the host answered; see answer.status
    CannotStart, // detail: the host's path and why
    WineMissing,
    Crashed,  // detail: the signal or exception
    Exited,   // detail: the exit status
    TimedOut, // detail: the seconds waited
    BadAnswer // detail: what was wrong with it
};

struct ModuleHostOutcome {
    ModuleHostCall call = ModuleHostCall::Probe;
    ModuleHostFailure failure = ModuleHostFailure::None;
    std::string detail;
    ModuleHostAnswer answer;
};

// The limit of one conversion call: KELVANE_MODULE_TIMEOUT seconds, 120
// unless set; of one probe, which converts nothing: KELVANE_PROBE_TIMEOUT
// seconds, 10 unless set.
double ModuleCallTimeoutSeconds();
double ModuleProbeTimeoutSeconds();
// The limit of one USB device listing: KELVANE_USB_TIMEOUT seconds, 10
// unless set.
double UsbListingTimeoutSeconds();

// How the answer to one kind of request is read.
struct HostAnswerReader {
    size_t limit = 0; // no whole answer is longer
    // The whole answer's length, once the bytes that have come tell it.
    std::function<std::optional<size_t>(std::string_view)> length;
    // Takes a whole answer; false, with the reason in `why`, for anything else.
    std::function<bool(std::string_view bytes, std::string& why)> decode;
    const char* what = ""; // "the conversion module", for a note on what it printed
};

// A reader that decodes the answer into `answer`.
template <class Answer>
HostAnswerReader
AnswerReader(Answer& answer, size_t limit, std::optional<size_t> (*length)(std::string_view),
             std::optional<Answer> (*decode)(std::string_view, std::string&), const char* what) {
    HostAnswerReader reader;
    reader.limit = limit;
    reader.length = length;
    reader.decode = [&answer, decode](std::string_view bytes, std::string& why) {
        auto decoded = decode(bytes, why);
        if (decoded)
            answer = std::move(*decoded);
        return decoded.has_value();
    };
    reader.what = what;
    return reader;
}

// One run of the host of `module` with `request`, waiting at most
// `timeoutSeconds` with `waiter`: None once `reader` took the answer, else
// the failure, with its detail.
ModuleHostFailure RunModuleHost(const ModuleLocation& module, const ModuleHostRequest& request,
                                const HostAnswerReader& reader, double timeoutSeconds,
                                WaitIndicator& waiter, std::string& detail);

// One call of the module in its host, waiting with `waiter`.
ModuleHostOutcome CallModuleHost(const ModuleLocation& module, ModuleHostCall call,
                                 int32_t direction, const ModuleBlockBytes& block,
                                 WaitIndicator& waiter);

// The message for an outcome whose failure is not None, or whose host
// reported Crashed or WroteOutsideBlock; empty for every other outcome.
std::string ModuleHostFailureMessage(const ModuleHostOutcome& outcome,
                                     const ModuleLocation& module);

// The warning for an answer that stands although the module left processes
// running, which the host stopped; empty for every other outcome.
std::string ModuleHostWarningMessage(const ModuleHostOutcome& outcome,
                                     const ModuleLocation& module);

// Tests put other programs in the hosts' place; empty texts restore them.
// The host program that runs a module of this kind.
std::string HostProgram(ModuleKind kind);

void SetModuleHostProgramsForTesting(std::string native, std::string windows);

} // namespace kelvane
