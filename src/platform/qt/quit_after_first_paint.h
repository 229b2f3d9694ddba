// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <cstdlib>
#include <unistd.h>

namespace kelvane {

// For the start-up benchmark: installed on a widget, ends the application
// once that widget has painted for the first time. When
// KELVANE_FIRST_PAINT_FD names a descriptor, one byte is written to it
// first, so that the benchmark sees the paint apart from the exit.
class QuitAfterFirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Queued: it runs once the paint is done and on screen.
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QTimer::singleShot(0, QCoreApplication::instance(), [] {
                if (const char* fd = std::getenv("KELVANE_FIRST_PAINT_FD")) {
                    const char painted = 'p';
                    [[maybe_unused]] const ssize_t written = write(std::atoi(fd), &painted, 1);
                }
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_painted = false;
};

} // namespace kelvane
