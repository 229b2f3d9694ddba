// SPDX-License-Identifier: MIT
#include "platform/places/default_folder.h"
#include "platform/places/windows_folders.h"

#include <knownfolders.h>

namespace kelvane {

std::string DefaultDialogFolder() {
    const std::string debuggerFolder = kDebuggerFolder;
    return IsFolder(debuggerFolder) ? debuggerFolder : KnownFolder(FOLDERID_Profile);
}

} // namespace kelvane
