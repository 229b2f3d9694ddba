// SPDX-License-Identifier: MIT
#pragma once

#include "platform/registry/profile.h"

namespace kelvane {

// The profile where the Windows program keeps it: the registry key
// HKEY_CURRENT_USER\Software\KVX\KLVN_MAIN, a subkey per section and a
// string value per entry. Texts are converted between the project code
// page and the registry's UTF-16. Windows only.
class RegistryProfile : public Profile {
public:
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view fallback) override;
    bool WriteProfileString(std::string_view section, std::string_view entry,
                            std::string_view value) override;
};

} // namespace kelvane
