// SPDX-License-Identifier: MIT
#include "platform/qt/qsettings_profile.h"

#include "platform/code_page.h"
#include "platform/qt/qsettings_store.h"

namespace kelvane {

// Folders are stored as Unicode text and held by the core in the project
// code page.
std::string QSettingsProfile::GetProfileString(std::string_view section, std::string_view entry,
                                               std::string_view fallback) {
    const std::optional<std::string> value = ReadQSettingsValue(ProfileKey(section, entry));
    return value ? Utf8ToProject(*value) : std::string(fallback);
}

bool QSettingsProfile::WriteProfileString(std::string_view section, std::string_view entry,
                                          std::string_view value) {
    return WriteQSettingsValue(ProfileKey(section, entry), ProjectToUtf8(value));
}

} // namespace kelvane
