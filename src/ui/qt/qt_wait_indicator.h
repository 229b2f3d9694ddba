// SPDX-License-Identifier: MIT
#pragma once

#include "platform/process/wait_indicator.h"

class QMainWindow;

namespace kelvane {

// Waits of the desktop front: a wait cursor, the note in the main window's
// status bar, and the window kept drawing meanwhile. User input waits until
// the wait is over, so the running command stays the only one.
class QtWaitIndicator : public WaitIndicator {
public:
    void SetOwner(QMainWindow* owner) { m_owner = owner; }
    void BeginWait(const std::string& note) override;
    void KeepResponsive() override;
    void EndWait() override;
    bool Waiting() const { return m_depth > 0; }

private:
    QMainWindow* m_owner = nullptr;
    int m_depth = 0;
    bool m_showsNote = false;
    bool m_hideBarAfter = true;
};

} // namespace kelvane
