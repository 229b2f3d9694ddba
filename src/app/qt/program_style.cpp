// SPDX-License-Identifier: MIT
#include "app/qt/program_style.h"

#include "app/qt/program_icon.h"

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

} // namespace kelvane
