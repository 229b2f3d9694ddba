// SPDX-License-Identifier: MIT
#pragma once

#include <QProxyStyle>

namespace kelvane {

// The application's own style: the platform's, with the program's pictures
// for the extension button of the menu bar and the toolbar. The style's own
// picture of it is a PNG, and the first PNG a process reads makes Qt load
// every image format plug-in there is to ask each about it: a millisecond of
// every start.
class ProgramStyle : public QProxyStyle {
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace kelvane
