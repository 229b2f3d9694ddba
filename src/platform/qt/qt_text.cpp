// SPDX-License-Identifier: MIT
#include "platform/qt/qt_text.h"

#include "platform/text/code_page.h"

#include <QByteArray>

namespace kelvane {

QString ToQString(std::string_view projectText) {
    const std::string utf8 = ProjectToUtf8(projectText);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Utf8ToProject(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

} // namespace kelvane
