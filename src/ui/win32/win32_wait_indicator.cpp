// SPDX-License-Identifier: MIT
#include "ui/win32/win32_wait_indicator.h"

namespace kelvane {

void Win32WaitIndicator::BeginWait(const std::string& note) {
    if (m_depth++ == 0)
        m_previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    if (!note.empty() && m_showNote) {
        m_showNote(note);
        m_showsNote = true;
    }
    KeepResponsive();
}

void Win32WaitIndicator::KeepResponsive() {
    // Paints only: input stays queued, and sent messages are handled by
    // the peek itself.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        DispatchMessageW(&message);
    }
}

void Win32WaitIndicator::EndWait() {
    if (m_depth == 0)
        return;
    if (--m_depth > 0)
        return;
    SetCursor(m_previous != nullptr ? m_previous : LoadCursorW(nullptr, IDC_ARROW));
    if (m_showsNote && m_showNote)
        m_showNote({});
    m_showsNote = false;
}

} // namespace kelvane
