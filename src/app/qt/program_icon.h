// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

#include <cstdint>

namespace kelvane {

// The pictures of src/res/icons, drawn when the program is built at the
// sizes a screen of scale 1, 1.5 or 2 asks for (and the program icon also
// at the window managers' larger sizes). A name without pictures gives an
// empty icon.
QIcon PictureIcon(const char* name);

// The program's icon and the toolbar's 16 x 16 button images.
QIcon ProgramIcon();
QIcon ToolbarIcon(uint32_t commandId);

} // namespace kelvane
