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
// kept, and for a day the word of modules whose probe hung, so that an open
// does not wait for them again. An entry holds while the module file and the
// host program both keep their device, inode, length and modification time.
//
// Off until a front turns it on: tests of the core count the hosts started.
void UseStoredModuleProbes(bool use);

// A probe's outcome as stored: an answer, or the time-out of a hung probe.
std::optional<ModuleHostOutcome> FindStoredProbe(const ModuleLocation& module);
// Keeps an answer of a module that loaded, or a probe that timed out; failures
// to write are not reported: the next open asks the module again.
void StoreProbe(const ModuleLocation& module, const ModuleHostOutcome& outcome);

// Where the answers are kept; empty when there is no cache folder.
std::string ProbeStorePath();

} // namespace kelvane
