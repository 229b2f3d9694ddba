// SPDX-License-Identifier: MIT
#include "platform/qt/qsettings_profile.h"

#include "platform/qt/qsettings_store.h"
#include "platform/text/code_page.h"

#include <cstdio>
#include <system_error>

namespace kelvane {
namespace {

void WriteOrSayWhy(const std::string& key, const std::string& utf8Value) {
    if (!WriteQSettingsValue(key, utf8Value))
        std::fprintf(stderr, "kelvane: cannot write the setting %s to the settings file\n",
                     key.c_str());
}

} // namespace

QSettingsProfile::~QSettingsProfile() {
    Flush();
}

void QSettingsProfile::Flush() {
    if (m_write.joinable())
        m_write.join();
}

// Folders are stored as Unicode text and held by the core in the project
// code page.
std::string QSettingsProfile::GetProfileString(std::string_view section, std::string_view entry,
                                               std::string_view fallback) {
    Flush();
    const std::optional<std::string> value = ReadQSettingsValue(ProfileKey(section, entry));
    return value ? Utf8ToProject(*value) : std::string(fallback);
}

bool QSettingsProfile::WriteProfileString(std::string_view section, std::string_view entry,
                                          std::string_view value) {
    // The value is converted here, where the code page of the caller's
    // texts is known.
    StartWriting(ProfileKey(section, entry), ProjectToUtf8(value));
    return true;
}

void QSettingsProfile::StartWriting(std::string key, std::string utf8Value) {
    // One write at a time, in the order made.
    if (m_write.joinable())
        m_write.join();
    try {
        // Copies: a thread that cannot be made may have taken its arguments.
        m_write = std::thread(WriteOrSayWhy, key, utf8Value);
    } catch (const std::system_error&) {
        WriteOrSayWhy(key, utf8Value);
    }
}

} // namespace kelvane
