// SPDX-License-Identifier: MIT
#pragma once

#include "store/project_settings.h"

#include "ui/win32/windows_api.h"

namespace kelvane {

// The main window's client area: the project summary drawn with GDI at the
// summary's pixel positions, in a fixed-pitch font of 15 pixels. The
// window's own text holds the same lines, for screen readers.
class CKLVN_MAINView {
public:
    // Creates the view as a child of `parent`; Window() is null on failure.
    CKLVN_MAINView(const ProjectSettings& settings, HWND parent);

    HWND Window() const { return m_window; }
    // Draws again and renews the window text.
    void Update();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    const ProjectSettings& m_settings;
    HWND m_window = nullptr;
};

} // namespace kelvane
