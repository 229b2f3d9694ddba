// SPDX-License-Identifier: MIT
#pragma once

// What differs by system in finding a module and starting its host
// (module_host_launch_posix.cpp, module_host_launch_windows.cpp).

#include "convert/module_host_client.h"
#include "platform/process/child_process.h"

#include <string>

namespace kelvane {

// The file name of the host of a module kind, beside the program.
const char* HostProgramName(ModuleKind kind);
// False, with the failure, when the host cannot be started at all; `note`
// says what the wait is for when it will take long.
bool HostCanStart(const ModuleLocation& module, ModuleHostFailure& failure, std::string& note);
// Makes what a host needs before its first start, waiting with `waiter`:
// Wine makes a missing prefix at its first start, which takes seconds, and
// a host stopped at its call's limit meanwhile leaves the prefix half made,
// so that every later start in it hangs. Once a run; what fails here the
// host's own start then tells.
void PrepareHostStart(const ModuleLocation& module, WaitIndicator& waiter);
// The command and environment that start the module's host.
ChildProcessRun HostCommand(const ModuleLocation& module);

} // namespace kelvane
