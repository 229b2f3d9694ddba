// SPDX-License-Identifier: MIT
#pragma once

#include "cli/comm_options.h"

namespace kelvane {

struct Session;

// Runs Edit > Comm setting on the open project, playing the user who sets
// `options` and presses OK. An option whose control the dialog disables, or
// a detection that finds no device, is reported and the dialog cancelled, so
// the project keeps its values. True when the dialog ended with OK.
bool ApplyCommOptions(Session& session, const CommOptions& options);

} // namespace kelvane
