#pragma once

#include "store/project_settings.h"

#include <string>

namespace kelvane {

// The project's settings as the three key groups read them, one line each.
std::string ListSettings(const ProjectSettings& settings);

} // namespace kelvane
