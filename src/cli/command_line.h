// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_request.h"

#include <optional>

namespace kelvane {

// Reads the command line into `request`, its texts converted to the project
// code page. Returns the exit status when the command line is already dealt
// with: help or version printed (0), or wrong usage reported (2); nothing
// when the request is to be run.
std::optional<int> ParseCommandLine(int argc, char** argv, CliRequest& request);

} // namespace kelvane
