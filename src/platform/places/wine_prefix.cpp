// SPDX-License-Identifier: MIT
#include "platform/places/wine_prefix.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace kelvane {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return "/";
}

std::string WinePrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0')
        return prefix;
    return HomeFolder() + "/.wine";
}

} // namespace kelvane
