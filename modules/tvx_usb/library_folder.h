// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tvx_usb {

// The folder holding this library as it was loaded, made absolute; empty
// when the loader does not tell.
std::string LibraryFolder();

} // namespace tvx_usb
