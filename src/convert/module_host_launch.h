// SPDX-License-Identifier: MIT
#pragma once

// What differs by system in finding a module and starting its host
// (module_host_launch_posix.cpp, module_host_launch_windows.cpp).

#include "convert/module_host_client.h"
#include "platform/child_process.h"

#include <string>

namespace kelvane {

// The file name of the host of a module kind, beside the program.
const char* HostProgramName(ModuleKind kind);
// False, with the failure, when the host cannot be started at all; `note`
// says what the wait is for when it will take long.
bool HostCanStart(const ModuleLocation& module, ModuleHostFailure& failure, std::string& note);
// The command and environment that start the module's host.
ChildProcessRun HostCommand(const ModuleLocation& module);

} // namespace kelvane
