// SPDX-License-Identifier: MIT
#include "platform/qt/first_paint_watch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <cstdlib>
#include <unistd.h>
#include <utility>

namespace kelvane {

FirstPaintWatch::FirstPaintWatch(std::function<void()> afterFirstPaint)
    : m_afterFirstPaint(std::move(afterFirstPaint)) {}

bool FirstPaintWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        // Queued: it runs once the paint is done and on screen.
        QTimer::singleShot(0, this, [this] { m_afterFirstPaint(); });
    }
    return QObject::eventFilter(watched, event);
}

void ReportFirstPaintAndQuit() {
    if (const char* fd = std::getenv("KELVANE_FIRST_PAINT_FD")) {
        const char painted = 'p';
        [[maybe_unused]] const ssize_t written = write(std::atoi(fd), &painted, 1);
    }
    QCoreApplication::quit();
}

} // namespace kelvane
