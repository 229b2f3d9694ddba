// SPDX-License-Identifier: MIT
#pragma once

#include "platform/process/wait_indicator.h"

#include "ui/win32/windows_api.h"

#include <functional>
#include <string>

namespace kelvane {

// The wait cursor and a note while a module runs; the windows still paint,
// user input waits until the end.
class Win32WaitIndicator : public WaitIndicator {
public:
    // Shows the note (empty: hides it); the main window's status line.
    void SetNoteHandler(std::function<void(const std::string&)> showNote) {
        m_showNote = std::move(showNote);
    }
    void BeginWait(const std::string& note) override;
    void KeepResponsive() override;
    void EndWait() override;
    bool Waiting() const { return m_depth > 0; }

private:
    std::function<void(const std::string&)> m_showNote;
    HCURSOR m_previous = nullptr;
    int m_depth = 0;
    bool m_showsNote = false;
};

} // namespace kelvane
