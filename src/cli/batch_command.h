// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_request.h"

#include <string>

namespace kelvane {

// Where a batch with --out-dir saves `project`: under its own file name in
// `outDir`.
std::string BatchTarget(const std::string& project, const std::string& outDir);

// Runs the request's command on each of its projects, each in a process of
// its own (this program again, told which project with --batch-item), at
// most `jobs` at once. Each project's messages are printed together when it
// is done, every line prefixed with its path; on a terminal a progress line
// shows how far the batch is. Two projects that would be saved under one
// name are refused before any starts. The exit status: 0 when every project
// succeeded, 1 when any failed, 2 for a clash.
int RunBatch(const CliRequest& request, int argc, char** argv);

} // namespace kelvane
