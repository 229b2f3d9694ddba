// SPDX-License-Identifier: MIT
#include "platform/places/wine_prefix.h"
#include "platform/registry/registry.h"
#include "platform/text/code_page.h"

#include <cstdlib>

namespace kelvane {

RegistrySources DefaultRegistrySources() {
    const std::string prefix = WinePrefix();
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string configFolder =
        config != nullptr && *config != '\0' ? std::string(config) : HomeFolder() + "/.config";
    // The system's names, held in the project code page as every path is.
    RegistrySources sources;
    sources.localMachine = {LocaleToProject("/etc/kelvane/machine.reg"),
                            LocaleToProject(prefix + "/system.reg")};
    sources.currentUser = {LocaleToProject(configFolder + "/kelvane/user.reg"),
                           LocaleToProject(prefix + "/user.reg")};
    return sources;
}

// Only Windows has a registry of its own.
std::shared_ptr<const RegistryFile> ReadSystemRegistryKey(RegistryRoot, std::string_view) {
    return nullptr;
}

} // namespace kelvane
