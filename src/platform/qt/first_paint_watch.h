// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <functional>

namespace kelvane {

// Installed on a widget, runs a piece of work once, when the widget has
// painted for the first time and that paint is done.
class FirstPaintWatch : public QObject {
    Q_OBJECT

public:
    explicit FirstPaintWatch(std::function<void()> afterFirstPaint);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_afterFirstPaint;
    bool m_painted = false;
};

// For the start-up benchmarks, after the first paint: writes one byte to
// the descriptor KELVANE_FIRST_PAINT_FD names, if any, so that the paint is
// timed apart from the exit, and ends the application.
void ReportFirstPaintAndQuit();

} // namespace kelvane
