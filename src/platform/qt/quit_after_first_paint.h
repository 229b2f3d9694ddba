// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

namespace kelvane {

// For the start-up benchmark: installed on a widget, ends the application
// once that widget has painted for the first time.
class QuitAfterFirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

} // namespace kelvane
