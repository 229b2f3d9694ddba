#pragma once

#include "store/companion_buffer.h"
#include "store/fsr_file.h"
#include "store/project_settings.h"

#include <string>

namespace kelvane {

// The project's settings as the three key groups read them, one line each.
std::string ListSettings(const ProjectSettings& settings);

// The FSR file and the companion data files as the open left them: what each
// is, whether it belongs to the project and how much of it was read.
std::string ListCompanions(const ProjectSettings& settings, const FsrFile& fsr,
                           const CompanionBuffer* const buffers[3]);

} // namespace kelvane
