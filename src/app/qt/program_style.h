// SPDX-License-Identifier: MIT
#pragma once

#include <QProxyStyle>

namespace kelvane {

// The application's own style: the platform's, with two changes that keep
// a start quick.
// - The extension button of the menu bar and the toolbar gets the
//   program's pictures. The style's own picture of it is a PNG, and the
//   first PNG a process reads makes Qt load every image format plug-in
//   there is to ask each about it: a millisecond of every start.
// - The toolbar is drawn in tiles. Qt blends a run of 96 or more spans on
//   a pool of threads, and a line one pixel wide is a span per pixel: a
//   toolbar-wide line started two threads at the first paint and waited
//   for them, and every one since waits again. Tile by tile, the same
//   pixels are blended where the paint is.
class ProgramStyle : public QProxyStyle {
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

    // Below the pool's threshold in either direction.
    static constexpr int kToolBarTile = 64;
};

} // namespace kelvane
