// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kelvane {

// True when both paths (project code page) name one entry of one folder,
// whatever file stands there now: the same name in folders that are the
// same folder on disk ("/p/a.fsp", "/p/./a.fsp"). Paths whose folders
// cannot be looked up are compared as written.
bool SameFolderEntry(const std::string& a, const std::string& b);

} // namespace kelvane
