// SPDX-License-Identifier: MIT
#include "app/qt/extension_icon_style.h"

namespace kelvane {

QIcon ExtensionIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                       const QWidget* widget) const {
    switch (standardIcon) {
    case SP_ToolBarHorizontalExtensionButton:
        return QIcon(QStringLiteral(":/icons/extension_horizontal.svg"));
    case SP_ToolBarVerticalExtensionButton:
        return QIcon(QStringLiteral(":/icons/extension_vertical.svg"));
    default:
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
}

} // namespace kelvane
