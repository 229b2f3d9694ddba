#pragma once

#include <QIcon>

namespace kelvane {

// The program's icon and the toolbar's 16 x 16 button images, drawn in code
// so that no image plug-in is needed.
QIcon ProgramIcon();
QIcon ToolbarIcon(uint32_t commandId);

} // namespace kelvane
