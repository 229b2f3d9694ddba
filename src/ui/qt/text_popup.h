// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QLabel>
#include <QMargins>

namespace kelvane {

// A small plain-text popup, as for a control's help: frameless, in the
// given colours, closed by a click or a key (or a click elsewhere).
class TextPopup : public QLabel {
    Q_OBJECT

public:
    // Margins below 0 take the default.
    TextPopup(const QString& text, const QColor& textColor, const QColor& background,
              const QMargins& margins);

    // Shows the popup with its top left corner at `position`, moved inside
    // the screen's available area when it would not fit.
    void ShowAt(const QPoint& position);

    static constexpr int kDefaultMargin = 6;
    static constexpr int kMaximumWidth = 360;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// A colour of a help request (0x00BBGGRR) as Qt's.
QColor FromHelpColor(uint32_t color);

} // namespace kelvane
