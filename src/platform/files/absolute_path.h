// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kelvane {

// A path from a command line, in the project code page, made absolute
// against the working folder, so that what is stored from it still holds
// when the project is opened from elsewhere. A relative path loses its "."
// and ".." steps; an absolute one is kept exactly as given, and so is an
// empty one.
std::string AbsolutePath(const std::string& path);

} // namespace kelvane
