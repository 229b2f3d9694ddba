// SPDX-License-Identifier: MIT
#include "ui/qt/qt_wait_indicator.h"

#include "platform/qt/qt_text.h"

#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>

namespace kelvane {

void QtWaitIndicator::BeginWait(const std::string& note) {
    ++m_depth;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!note.empty() && m_owner != nullptr) {
        // The bar may show the code page already; it stays after the note.
        if (!m_showsNote)
            m_hideBarAfter = !m_owner->statusBar()->isVisible();
        m_owner->statusBar()->show();
        m_owner->statusBar()->showMessage(ToQString(note));
        m_showsNote = true;
    }
    KeepResponsive();
}

void QtWaitIndicator::KeepResponsive() {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtWaitIndicator::EndWait() {
    if (m_depth == 0)
        return;
    --m_depth;
    QApplication::restoreOverrideCursor();
    if (m_depth == 0 && m_showsNote && m_owner != nullptr) {
        m_owner->statusBar()->clearMessage();
        if (m_hideBarAfter)
            m_owner->statusBar()->hide();
        m_showsNote = false;
    }
}

} // namespace kelvane
