// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dialog/dialog.h"

#include "ui/win32/windows_api.h"

namespace kelvane {

// Runs each dialog on its template in the resource language, owned by the
// window that is active (a dialog opened from another), else the main window.
class Win32DialogRunner : public DialogRunner {
public:
    void SetOwner(HWND owner) { m_owner = owner; }
    int DoModal(CDialog& dialog) override;

private:
    HWND m_owner = nullptr;
};

// The window to own a box or dialog opened now: the active window of this
// thread when there is one (a dialog), else `mainWindow`.
HWND ActiveOwner(HWND mainWindow);

} // namespace kelvane
