// SPDX-License-Identifier: MIT
#include "app/qt/program_style.h"

#include "app/qt/program_icon.h"

#include <QPainter>
#include <QStyleOption>

#include <algorithm>

namespace kelvane {

QIcon ProgramStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                 const QWidget* widget) const {
    switch (standardIcon) {
    case SP_ToolBarHorizontalExtensionButton:
        return PictureIcon("extension_horizontal");
    case SP_ToolBarVerticalExtensionButton:
        return PictureIcon("extension_vertical");
    default:
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
}

void ProgramStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    const QRect area = option ? option->rect : QRect();
    if (element != CE_ToolBar || !painter ||
        (area.width() <= kToolBarTile && area.height() <= kToolBarTile)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    for (int top = area.top(); top <= area.bottom(); top += kToolBarTile)
        for (int left = area.left(); left <= area.right(); left += kToolBarTile) {
            painter->save();
            painter->setClipRect(QRect(left, top, std::min(kToolBarTile, area.right() - left + 1),
                                       std::min(kToolBarTile, area.bottom() - top + 1)),
                                 Qt::IntersectClip);
            QProxyStyle::drawControl(element, option, painter, widget);
            painter->restore();
        }
}

} // namespace kelvane
