// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/help_desktop.h"

#include <vector>

class QWidget;

namespace kelvane {

// The dynamic property that holds a widget's control id (an int), for the
// context help's search through the windows under the cursor: the main
// window sets 128, the dialog hosts set each control's id.
inline constexpr const char* kControlIdProperty = "kelvaneControlId";

// The desktop around the help over Qt: the wait cursor, the modes a help
// request ends, and the widgets under the mouse cursor.
class QtHelpDesktop : public HelpDesktop {
public:
    ~QtHelpDesktop() override;

    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void CancelModes() override;
    ScreenPoint CursorPosition() override;
    std::vector<uint32_t> ParentControlIdsUnderCursor() override;

    // The control ids of the widgets holding `widget`, nearest first, the
    // widget itself left out; 0 for one without the property. Empty for null.
    static std::vector<uint32_t> ParentControlIds(const QWidget* widget);

private:
    int m_waits = 0;
};

} // namespace kelvane
