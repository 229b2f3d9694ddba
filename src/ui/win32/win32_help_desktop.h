// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/help_desktop.h"

#include "ui/win32/windows_api.h"

namespace kelvane {

// The desktop around a help request: the wait cursor, ending menus and
// mouse capture, and the windows under the cursor.
class Win32HelpDesktop : public HelpDesktop {
public:
    void SetMainWindow(HWND mainWindow) { m_mainWindow = mainWindow; }

    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void CancelModes() override;
    ScreenPoint CursorPosition() override;
    std::vector<uint32_t> ParentControlIdsUnderCursor() override;

    // The ids of the windows holding `window`, nearest first: a child's
    // control id, a top-level window's kControlIdProperty, else 0.
    static std::vector<uint32_t> ParentControlIds(HWND window);

private:
    HWND m_mainWindow = nullptr;
    HCURSOR m_previous = nullptr;
    int m_waits = 0;
};

} // namespace kelvane
