// SPDX-License-Identifier: MIT
#pragma once

#include "convert/module_host_protocol.h"
#include "platform/wait_indicator.h"

#include <string>
#include <string_view>

namespace kelvane {

// Where a conversion module runs: a native library in kelvane-module-host,
// a 32-bit Windows library in kelvane-module-host.exe under Wine.
enum class ModuleKind { Native, Windows };

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
