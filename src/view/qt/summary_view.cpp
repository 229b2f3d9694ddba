// SPDX-License-Identifier: MIT
#include "view/qt/summary_view.h"

#include "platform/qt/qt_text.h"
#include "view/summary_drawing.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

namespace kelvane {

CKLVN_MAINView::CKLVN_MAINView(const ProjectSettings& settings, QWidget* parent)
    : QWidget(parent), m_settings(settings) {
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

QFont CKLVN_MAINView::SummaryFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(15);
    return font;
}

QStringList CKLVN_MAINView::DisplayTexts() const {
    QStringList texts;
    for (const SummaryText& text : SummaryDrawing(m_settings))
        texts.append(ToQString(text.text));
    return texts;
}

void CKLVN_MAINView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFont font = SummaryFont();
    painter.setFont(font);
    const int ascent = QFontMetrics(font).ascent();
    for (const SummaryText& text : SummaryDrawing(m_settings)) {
        painter.setPen(QColor(text.colour.red, text.colour.green, text.colour.blue));
        // Positions are the texts' top-left corners.
        painter.drawText(text.x, text.y + ascent, ToQString(text.text));
    }
}

} // namespace kelvane
