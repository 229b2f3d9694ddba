// SPDX-License-Identifier: MIT
#pragma once

#include "platform/registry/profile.h"

#include <string>
#include <thread>

namespace kelvane {

// The profile kept by QSettings for organisation "KVX", application
// "KLVN_MAIN": on Linux ~/.config/KVX/KLVN_MAIN.conf. Values are byte
// strings of the project store, kept as they are.
//
// A write goes to the file on a thread of its own: QSettings replaces the
// file and waits for the disk (10 to 20 ms here), and an open that
// remembers its folder would keep the window from painting that long.
class QSettingsProfile : public Profile {
public:
    QSettingsProfile() = default;
    // Waits for the last write.
    ~QSettingsProfile() override;
    QSettingsProfile(const QSettingsProfile&) = delete;
    QSettingsProfile& operator=(const QSettingsProfile&) = delete;

    // Reads what the last write left.
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view fallback) override;
    // True: the write is made later, and one that fails says so on
    // standard error.
    bool WriteProfileString(std::string_view section, std::string_view entry,
                            std::string_view value) override;

    // Returns when every write made so far has reached the file.
    void Flush();

private:
    // After the write under way; on this thread when no other can be had.
    void StartWriting(std::string key, std::string utf8Value);

    std::thread m_write;
};

} // namespace kelvane
