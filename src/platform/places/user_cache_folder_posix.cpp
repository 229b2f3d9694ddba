// SPDX-License-Identifier: MIT
#include "platform/places/user_cache_folder.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace kelvane {

std::string UserCacheFolder() {
    // As for the configuration, a relative XDG_CACHE_HOME is not taken.
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/')
        return std::string(cache) + "/kelvane";
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/')
        return {};
    return std::string(home) + "/.cache/kelvane";
}

bool MakeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string step = folder.substr(0, slash);
        if (mkdir(step.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat info {};
    return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace kelvane
