// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

#include <cstdint>

namespace kelvane {

// The program's icon and the toolbar's 16 x 16 button images, SVG files
// compiled into the program (src/res/icons). Qt draws them with its SVG
// plug-in; without it they are empty and a warning says so once.
QIcon ProgramIcon();
QIcon ToolbarIcon(uint32_t commandId);

} // namespace kelvane
