// SPDX-License-Identifier: MIT
#pragma once

#include "convert/module_host_protocol.h"

namespace kelvane {

// Loads the request's module, makes the one call it asks for and unloads
// the module again. The block is called in a guarded copy, so a module that
// writes outside it is caught rather than believed.
ModuleHostAnswer AnswerModuleRequest(const ModuleHostRequest& request);

} // namespace kelvane
