// SPDX-License-Identifier: MIT
#include "ui/qt/help_browser.h"

#include <QHelpEngine>

namespace kelvane {

HelpBrowser::HelpBrowser(QHelpEngine& engine, QWidget* parent)
    : QTextBrowser(parent), m_engine(&engine) {}

QVariant HelpBrowser::loadResource(int type, const QUrl& url) {
    if (url.scheme() == QLatin1String("qthelp"))
        return m_engine ? QVariant(m_engine->fileData(url)) : QVariant();
    return QTextBrowser::loadResource(type, url);
}

} // namespace kelvane
