// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/help_viewer.h"
#include "res/string_table.h"

class QWidget;

namespace kelvane {

// kelvane-help.so, the help viewer over Qt Help, which the desktop program
// loads on its first help request so that Qt Help and its SQL library are
// no part of its start. Program and module are built together, with the
// same compiler and Qt, so the viewer is handed over as the C++ object it
// is. It shows the pages of `language` (the module keeps its own copy of the
// string tables) and keeps its topic window above `owner`, which may be
// null.
using CreateHelpViewerFunction = HelpViewer* (*)(ResourceLanguage language, QWidget* owner);
inline constexpr const char* kHelpViewerModule = "kelvane-help.so";
inline constexpr const char* kCreateHelpViewerSymbol = "kelvane_create_help_viewer";

} // namespace kelvane
