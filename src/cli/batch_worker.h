// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_request.h"

namespace kelvane {

// Runs the projects the batch sends on standard input, each as a process of
// its own would (the command line again, told the project's number), one
// after another. Profile writes are held until input ends; with --out-dir
// the saves' flushes are left to the batch. The exit status: 0, or 1 when
// the held profile values could not be written.
int RunBatchWorker(const CliRequest& request, int argc, char** argv);

} // namespace kelvane
