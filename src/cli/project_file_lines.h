// SPDX-License-Identifier: MIT
#pragma once

#include "store/project_settings.h"

#include <string>
#include <vector>

namespace kelvane {

// What `show` prints after the summary: the files Edit > Files & ICE model
// setting edits, as the next save writes them.
//   MPV file: PATH.mpv
//   MCI file: PATH       (nothing after the colon without an MCI file)
//   FRD N: PATH          (one line per FRD file, N from 1 in the Target order)
std::vector<std::string> ProjectFileLines(const ProjectSettings& settings);

} // namespace kelvane
