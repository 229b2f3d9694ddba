#include "platform/qt/qsettings_profile.h"

#include <QByteArray>
#include <QSettings>
#include <QString>

namespace kelvane {
namespace {

QString Key(std::string_view section, std::string_view entry) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + '/' +
           QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size()));
}

} // namespace

std::string QSettingsProfile::GetProfileString(std::string_view section, std::string_view entry,
                                               std::string_view fallback) {
    QSettings settings("KVX", "KLVN_MAIN");
    const QVariant value = settings.value(Key(section, entry));
    if (!value.isValid())
        return std::string(fallback);
    // Folders are kept as written by the program: a string holding the bytes.
    const QByteArray bytes = value.toString().toLocal8Bit();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool QSettingsProfile::WriteProfileString(std::string_view section, std::string_view entry,
                                          std::string_view value) {
    QSettings settings("KVX", "KLVN_MAIN");
    settings.setValue(Key(section, entry),
                      QString::fromLocal8Bit(value.data(), static_cast<qsizetype>(value.size())));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace kelvane
