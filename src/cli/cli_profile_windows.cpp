// SPDX-License-Identifier: MIT
// On Windows kelvane-cli shares the desktop program's profile in the
// registry; no store is loaded.
#include "cli/cli_profile.h"

#include "platform/registry/registry_profile.h"

namespace kelvane {

std::string CliProfile::ReadStored(std::string_view section, std::string_view entry,
                                   std::string_view fallback) {
    return RegistryProfile().GetProfileString(section, entry, fallback);
}

bool CliProfile::WriteStored(std::string_view section, std::string_view entry,
                             std::string_view value) {
    return RegistryProfile().WriteProfileString(section, entry, value);
}

} // namespace kelvane
