// SPDX-License-Identifier: MIT
#pragma once

#include <QProxyStyle>

namespace kelvane {

// The application's own style, except for the extension button of the menu
// bar and the toolbar, which gets the program's pictures. The style's own
// picture of it is a PNG, and the first PNG a process reads makes Qt load
// every image format plug-in there is to ask each about it: a millisecond
// of every start.
class ExtensionIconStyle : public QProxyStyle {
    Q_OBJECT

public:
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace kelvane
