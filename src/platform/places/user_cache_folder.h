// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kelvane {

// The program's folder for files it can make again: $XDG_CACHE_HOME/kelvane,
// else ~/.cache/kelvane. Empty when neither names an absolute folder.
std::string UserCacheFolder();

// Makes `folder` and any missing folder above it, for the user alone.
bool MakeFolders(const std::string& folder);

} // namespace kelvane
