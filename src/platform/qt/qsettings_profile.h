// SPDX-License-Identifier: MIT
#pragma once

#include "platform/profile.h"

namespace kelvane {

// The profile kept by QSettings for organisation "KVX", application
// "KLVN_MAIN": on Linux ~/.config/KVX/KLVN_MAIN.conf. Values are byte
// strings of the project store, kept as they are.
class QSettingsProfile : public Profile {
public:
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view fallback) override;
    bool WriteProfileString(std::string_view section, std::string_view entry,
                            std::string_view value) override;
};

} // namespace kelvane
