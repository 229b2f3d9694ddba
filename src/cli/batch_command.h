// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_request.h"

#include <string>

namespace kelvane {

// Where a batch with --out-dir saves `project`: under its own file name in
// `outDir`.
std::string BatchTarget(const std::string& project, const std::string& outDir);

// Runs the request's command on each of its projects in at most `jobs`
// worker processes (this program again, with --batch-worker), each given
// one project after another, so that a crash stops only its own project.
// Saves into --out-dir are flushed to disk together at the end. Each project's messages are printed
// together when it is done, every line prefixed with its path; on a terminal a progress line shows
// how far the batch is. Two projects that would be saved under one name are refused before any
// starts. The exit status: 0 when every project succeeded, 1 when any failed, 2 for a clash.
int RunBatch(const CliRequest& request, int argc, char** argv);

} // namespace kelvane
