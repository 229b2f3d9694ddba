// SPDX-License-Identifier: MIT
#include "ui/qt/qt_help_desktop.h"

#include <QApplication>
#include <QCursor>
#include <QVariant>
#include <QWhatsThis>
#include <QWidget>

namespace kelvane {

QtHelpDesktop::~QtHelpDesktop() {
    // An override cursor left behind would stay for the rest of the run.
    while (m_waits > 0)
        EndWaitCursor();
}

void QtHelpDesktop::BeginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++m_waits;
}

void QtHelpDesktop::EndWaitCursor() {
    if (m_waits == 0)
        return;
    --m_waits;
    QApplication::restoreOverrideCursor();
}

void QtHelpDesktop::CancelModes() {
    if (QWhatsThis::inWhatsThisMode())
        QWhatsThis::leaveWhatsThisMode();
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    if (QWidget* grabber = QWidget::keyboardGrabber())
        grabber->releaseKeyboard();
    // Open menus and popups close from the innermost; one that will not go
    // away ends the loop rather than spinning on it.
    for (QWidget* popup = QApplication::activePopupWidget(); popup != nullptr;) {
        if (!popup->close() || QApplication::activePopupWidget() == popup)
            break;
        popup = QApplication::activePopupWidget();
    }
}

ScreenPoint QtHelpDesktop::CursorPosition() {
    const QPoint position = QCursor::pos();
    return {position.x(), position.y()};
}

std::vector<uint32_t> QtHelpDesktop::ParentControlIdsUnderCursor() {
    return ParentControlIds(QApplication::widgetAt(QCursor::pos()));
}

std::vector<uint32_t> QtHelpDesktop::ParentControlIds(const QWidget* widget) {
    std::vector<uint32_t> ids;
    if (widget == nullptr)
        return ids;
    for (const QWidget* parent = widget->parentWidget(); parent != nullptr;
         parent = parent->parentWidget()) {
        bool ok = false;
        const int id = parent->property(kControlIdProperty).toInt(&ok);
        ids.push_back(ok ? static_cast<uint32_t>(id) : 0u);
    }
    return ids;
}

} // namespace kelvane
