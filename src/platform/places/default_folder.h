// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kelvane {

// The debugger's folder as Windows names it, where the product installs.
inline constexpr const char* kDebuggerFolder = "C:\\KVX\\ferroSCOPE";

// Where file dialogs start when the profile names no folder: the debugger's
// folder inside the Wine prefix when it exists, else the home folder.
std::string DefaultDialogFolder();

} // namespace kelvane
