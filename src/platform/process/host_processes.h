// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace kelvane {

// What a conversion module starts belongs to its call: the module host
// takes in the processes the module leaves and stops them before it exits,
// so that nothing of a call outlives it.

// Where the host was started as the first process of a PID namespace of its
// own, it stays there only to wait: the call runs in a child, whose signals
// behave as anywhere else (the first process of a namespace ignores its
// own). The child's exit status is passed on, and its death by a signal is
// answered as a crash through `answerCrash`; the namespace, and whatever is
// left in it, ends with the first process. Returns in the child, or at once
// where there is no such namespace.
void SplitOffNamespaceFirst(void (*answerCrash)(const std::string& description));

// Makes the host the parent of every orphan below it.
void AdoptOrphans();

// Kills and reaps every process still below the host; how many were
// running.
uint32_t StopLeftoverProcesses();

} // namespace kelvane
