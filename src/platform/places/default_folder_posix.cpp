// SPDX-License-Identifier: MIT
#include "platform/places/default_folder.h"

#include "platform/places/wine_prefix.h"
#include "platform/text/code_page.h"

#include <sys/stat.h>

namespace kelvane {
namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::string DefaultDialogFolder() {
    const std::string debuggerFolder = WinePrefix() + "/drive_c/KVX/ferroSCOPE";
    // Found by the system's names; the core holds the project code page.
    return LocaleToProject(IsFolder(debuggerFolder) ? debuggerFolder : HomeFolder());
}

} // namespace kelvane
