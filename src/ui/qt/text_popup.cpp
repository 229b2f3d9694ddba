// SPDX-License-Identifier: MIT
#include "ui/qt/text_popup.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>

#include <algorithm>

namespace kelvane {
namespace {

int MarginOr(int margin) {
    return margin < 0 ? TextPopup::kDefaultMargin : margin;
}

} // namespace

QColor FromHelpColor(uint32_t color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

TextPopup::TextPopup(const QString& text, const QColor& textColor, const QColor& background,
                     const QMargins& margins)
    : QLabel(nullptr, Qt::Popup | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    setTextFormat(Qt::PlainText);
    setText(text);
    setWordWrap(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setContentsMargins(MarginOr(margins.left()), MarginOr(margins.top()), MarginOr(margins.right()),
                       MarginOr(margins.bottom()));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText, textColor);
    setPalette(colours);
    setAutoFillBackground(true);
    setMaximumWidth(kMaximumWidth);
}

void TextPopup::ShowAt(const QPoint& position) {
    adjustSize();
    QPoint topLeft = position;
    const QScreen* screen = QGuiApplication::screenAt(position);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        topLeft.setX(std::max(area.left(), std::min(topLeft.x(), area.right() - width() + 1)));
        topLeft.setY(std::max(area.top(), std::min(topLeft.y(), area.bottom() - height() + 1)));
    }
    move(topLeft);
    show();
}

void TextPopup::mousePressEvent(QMouseEvent* event) {
    event->accept();
    close();
}

void TextPopup::keyPressEvent(QKeyEvent* event) {
    event->accept();
    close();
}

} // namespace kelvane
