// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QTextBrowser>

class QHelpEngine;

namespace kelvane {

// Shows the pages of the help file; links inside it stay inside it, other
// links go to the desktop's browser.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    HelpBrowser(QHelpEngine& engine, QWidget* parent);
    QVariant loadResource(int type, const QUrl& url) override;

private:
    QPointer<QHelpEngine> m_engine;
};

} // namespace kelvane
