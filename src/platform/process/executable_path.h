// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// The running executable's real path, symbolic links resolved; empty when
// the system does not tell.
std::string ExecutablePath();

// The folder holding the running executable; empty when it is unknown.
std::string ExecutableFolder();

// A file of "the program" with the given extension (without its dot), e.g.
// "<folder>/kelvane.ini". Both fronts sit in one folder and share these files,
// so the name is always kelvane's, not the running executable's.
std::string ProgramFilePath(std::string_view extension);

} // namespace kelvane
