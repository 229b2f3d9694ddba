// SPDX-License-Identifier: MIT
#pragma once

#include "cli/file_model_options.h"

namespace kelvane {

struct Session;

// Runs Edit > Files & ICE model setting on the open project, playing the
// user who types the paths, moves the FRD files into the MPV file's folder,
// chooses the model and presses OK. The model stays as the project has it
// unless `options` names one. A refused option or a refused OK is reported
// and the dialog cancelled, so the project keeps its values. True when the
// dialog ended with OK and the settings will reach the files on saving.
bool ApplyFileModelOptions(Session& session, const FileModelOptions& options);

} // namespace kelvane
