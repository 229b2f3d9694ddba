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

} // namespace kelvane
