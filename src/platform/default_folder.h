// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kelvane {

// Where file dialogs start when the profile names no folder: the debugger's
// folder inside the Wine prefix when it exists, else the home folder.
std::string DefaultDialogFolder();

} // namespace kelvane
