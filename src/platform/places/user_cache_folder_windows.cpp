// SPDX-License-Identifier: MIT
#include "platform/places/user_cache_folder.h"
#include "platform/places/windows_folders.h"
#include "platform/text/windows_text.h"

#include <knownfolders.h>
#include <windows.h>

namespace kelvane {

std::string UserCacheFolder() {
    const std::string local = KnownFolder(FOLDERID_LocalAppData);
    return local.empty() ? local : local + "\\Kelvane\\cache";
}

bool MakeFolders(const std::string& folder) {
    // From the first separator after the drive or share on, each step.
    for (size_t at = folder.find_first_of("\\/", 3);; at = folder.find_first_of("\\/", at + 1)) {
        const std::string step = folder.substr(0, at);
        if (!CreateDirectoryW(WidePath(step).c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_ACCESS_DENIED)
            return false;
        if (at == std::string::npos)
            break;
    }
    return IsFolder(folder);
}

} // namespace kelvane
