// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

namespace kelvane {

// Starts the program `argv[0]` (a path) with `envp` as the first process of
// a new PID namespace, made inside a new user namespace, which lets a user
// without privileges make one, mapping the caller's own user and group. It
// cannot see or signal the caller, and when it ends the kernel ends every
// process left in its namespace. Its standard streams are `streams` (0, 1,
// 2), it leads a process group of its own and has the signals as a fresh
// program has them. The process, or -1 with the error number in `error`.
pid_t SpawnInNewPidNamespace(char* const argv[], char* const envp[], const int streams[3],
                             int& error);

// Whether `error` from SpawnInNewPidNamespace says the system allows no such
// namespace here (rather than that the program could not be started).
bool IsNamespaceRefusal(int error);

} // namespace kelvane
