#include "app/qt/program_icon.h"

#include "res/command_ids.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kelvane {
namespace {

QPixmap Canvas(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Two chips joined by an arrow: one model's project becoming another's.
QPixmap ProgramPixmap(int size) {
    QPixmap pixmap = Canvas(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    painter.setPen(QPen(QColor(20, 40, 90), 1.5));
    painter.setBrush(QColor(60, 110, 200));
    painter.drawRoundedRect(QRectF(2, 2, 13, 13), 2, 2);
    painter.setBrush(QColor(40, 160, 90));
    painter.drawRoundedRect(QRectF(17, 17, 13, 13), 2, 2);
    painter.setPen(QPen(QColor(200, 60, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(13, 19), QPointF(22, 10));
    painter.drawLine(QPointF(22, 10), QPointF(16, 10));
    painter.drawLine(QPointF(22, 10), QPointF(22, 16));
    return pixmap;
}

void DrawOpen(QPainter& painter) {
    painter.setPen(QColor(120, 90, 10));
    painter.setBrush(QColor(240, 200, 80));
    painter.drawRect(1, 4, 13, 10);
    painter.drawRect(1, 2, 5, 2);
}

void DrawSave(QPainter& painter) {
    painter.setPen(QColor(20, 20, 80));
    painter.setBrush(QColor(70, 90, 170));
    painter.drawRect(1, 1, 14, 14);
    painter.setBrush(Qt::white);
    painter.drawRect(4, 1, 8, 5);
    painter.drawRect(3, 9, 10, 6);
}

void DrawSettings(QPainter& painter, const QColor& colour, const char* letters) {
    painter.setPen(colour.darker());
    painter.setBrush(colour);
    painter.drawRoundedRect(1, 1, 14, 14, 2, 2);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(8);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter, letters);
}

void DrawHelp(QPainter& painter) {
    painter.setPen(QColor(20, 80, 20));
    painter.setBrush(QColor(255, 255, 208));
    painter.drawEllipse(1, 1, 14, 14);
    QFont font = painter.font();
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter, "?");
}

} // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64})
        icon.addPixmap(ProgramPixmap(size));
    return icon;
}

QIcon ToolbarIcon(uint32_t commandId) {
    QPixmap pixmap = Canvas(16);
    QPainter painter(&pixmap);
    switch (commandId) {
    case ID_PROJECT_OPEN:
        DrawOpen(painter);
        break;
    case ID_PROJECT_SAVE:
        DrawSave(painter);
        break;
    case ID_FILE_MODEL_SETTING:
        DrawSettings(painter, QColor(150, 60, 160), "M");
        break;
    case ID_COMM_SETTING:
        DrawSettings(painter, QColor(30, 130, 140), "C");
        break;
    case ID_HELP:
        DrawHelp(painter);
        break;
    default:
        break;
    }
    painter.end();
    return QIcon(pixmap);
}

} // namespace kelvane
