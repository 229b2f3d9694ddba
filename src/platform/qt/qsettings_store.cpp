// SPDX-License-Identifier: MIT
#include "platform/qt/qsettings_store.h"

#include <QSettings>
#include <QString>

namespace kelvane {
namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

std::optional<std::string> ReadQSettingsValue(std::string_view key) {
    QSettings settings("KVX", "KLVN_MAIN");
    const QVariant value = settings.value(FromUtf8(key));
    if (!value.isValid())
        return std::nullopt;
    return value.toString().toStdString();
}

bool WriteQSettingsValue(std::string_view key, std::string_view value) {
    QSettings settings("KVX", "KLVN_MAIN");
    // Every open writes the folder; the same value again is not worth a
    // rewrite of the file and a wait for the disk.
    const QString text = FromUtf8(value);
    if (settings.value(FromUtf8(key)) == QVariant(text))
        return true;
    settings.setValue(FromUtf8(key), text);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace kelvane
