#include "platform/qt/qsettings_profile.h"

#include "platform/qt/qt_text.h"

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
    // Folders are stored as Unicode text and held by the core in the
    // project code page.
    return FromQString(value.toString());
}

bool QSettingsProfile::WriteProfileString(std::string_view section, std::string_view entry,
                                          std::string_view value) {
    QSettings settings("KVX", "KLVN_MAIN");
    // Every open writes the folder; the same value again is not worth a
    // rewrite of the file and a wait for the disk.
    const QString text = ToQString(value);
    if (settings.value(Key(section, entry)) == QVariant(text))
        return true;
    settings.setValue(Key(section, entry), text);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace kelvane
