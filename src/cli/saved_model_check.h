// SPDX-License-Identifier: MIT
#pragma once

#include "store/project_settings.h"

namespace kelvane {

// Whether the project, saved now, reopens as the ICE model it has: both
// VEGA models are saved under one target name and told apart by the model
// name. Reports the problem when it would not.
bool ReopensAsSameModel(const ProjectSettings& settings);

} // namespace kelvane
