// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// The application's per-user profile of named values in sections.
class Profile {
public:
    virtual ~Profile() = default;
    virtual std::string GetProfileString(std::string_view section, std::string_view entry,
                                         std::string_view fallback) = 0;
    virtual bool WriteProfileString(std::string_view section, std::string_view entry,
                                    std::string_view value) = 0;
};

// "Section/Entry": how the profile's settings file names a value.
inline std::string ProfileKey(std::string_view section, std::string_view entry) {
    return std::string(section) + "/" + std::string(entry);
}

} // namespace kelvane
