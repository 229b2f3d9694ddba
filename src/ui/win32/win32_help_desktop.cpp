// SPDX-License-Identifier: MIT
#include "ui/win32/win32_help_desktop.h"

#include "ui/win32/template_dialog.h"

namespace kelvane {
namespace {

BOOL CALLBACK CancelModeOf(HWND window, LPARAM) {
    SendMessageW(window, WM_CANCELMODE, 0, 0);
    return TRUE;
}

// A window and all its descendants.
void CancelModeOfTree(HWND window) {
    if (window == nullptr)
        return;
    SendMessageW(window, WM_CANCELMODE, 0, 0);
    EnumChildWindows(window, CancelModeOf, 0);
}

} // namespace

void Win32HelpDesktop::BeginWaitCursor() {
    if (m_waits++ == 0)
        m_previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void Win32HelpDesktop::EndWaitCursor() {
    if (m_waits == 0 || --m_waits > 0)
        return;
    SetCursor(m_previous != nullptr ? m_previous : LoadCursorW(nullptr, IDC_ARROW));
}

void Win32HelpDesktop::CancelModes() {
    CancelModeOfTree(m_mainWindow);
    HWND active = GetActiveWindow();
    if (active != m_mainWindow)
        CancelModeOfTree(active);
    if (HWND capture = GetCapture())
        SendMessageW(capture, WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    EndMenu();
}

ScreenPoint Win32HelpDesktop::CursorPosition() {
    POINT position{};
    GetCursorPos(&position);
    return {position.x, position.y};
}

std::vector<uint32_t> Win32HelpDesktop::ParentControlIdsUnderCursor() {
    POINT position{};
    GetCursorPos(&position);
    HWND window = WindowFromPoint(position);
    DWORD process = 0;
    if (window == nullptr ||
        (GetWindowThreadProcessId(window, &process), process) != GetCurrentProcessId())
        return {};
    return ParentControlIds(window);
}

std::vector<uint32_t> Win32HelpDesktop::ParentControlIds(HWND window) {
    std::vector<uint32_t> ids;
    for (HWND parent = GetAncestor(window, GA_PARENT);
         parent != nullptr && parent != GetDesktopWindow();
         parent = GetAncestor(parent, GA_PARENT)) {
        if ((GetWindowLongPtrW(parent, GWL_STYLE) & WS_CHILD) != 0)
            ids.push_back(static_cast<uint32_t>(GetDlgCtrlID(parent)));
        else
            ids.push_back(static_cast<uint32_t>(
                reinterpret_cast<uintptr_t>(GetPropW(parent, kControlIdProperty))));
    }
    return ids;
}

} // namespace kelvane
