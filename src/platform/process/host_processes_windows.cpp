// SPDX-License-Identifier: MIT
#include "platform/process/host_processes.h"

namespace kelvane {

// Windows has no PID namespaces and no orphans to adopt; a job object will
// hold the module's processes.
void SplitOffNamespaceFirst(void (*)(const std::string&)) {}

void AdoptOrphans() {}

uint32_t StopLeftoverProcesses() {
    return 0;
}

} // namespace kelvane
