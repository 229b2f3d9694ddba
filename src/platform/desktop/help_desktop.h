// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/screen_point.h"

#include <cstdint>
#include <vector>

namespace kelvane {

// What the context help asks of the desktop around it.
class HelpDesktop {
public:
    virtual ~HelpDesktop() = default;
    // Balanced pairs around the work of one help request.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // Leaves the What's This mode and ends mouse capture, open menus and
    // popups, so the help window gets the input that follows.
    virtual void CancelModes() = 0;
    virtual ScreenPoint CursorPosition() = 0;
    // The control ids of the windows holding the window under the mouse
    // cursor, nearest first, that window itself left out; 0 for a window
    // without an id. Empty when no window of the program is under the cursor.
    virtual std::vector<uint32_t> ParentControlIdsUnderCursor() = 0;
};

} // namespace kelvane
