// SPDX-License-Identifier: MIT
#pragma once

#include "convert/module_host_client.h"
#include "convert/module_host_protocol.h"

#include <optional>
#include <string>

namespace kelvane {

// What modules said when probed, kept on disk from one run to the next, so
// that an open need not start a host (and Wine, for a Windows module) to ask
// a module that has not changed. Only answers of modules that loaded are
// kept. An answer holds while the module file and the host program both keep
// their device, inode, length and modification time.
//
// Off until a front turns it on: tests of the core count the hosts started.
void UseStoredModuleProbes(bool use);

std::optional<ModuleHostAnswer> FindStoredProbe(const ModuleLocation& module);
// Failures to write are not reported: the next open asks the module again.
void StoreProbe(const ModuleLocation& module, const ModuleHostAnswer& answer);

// Where the answers are kept; empty when there is no cache folder.
std::string ProbeStorePath();

} // namespace kelvane
