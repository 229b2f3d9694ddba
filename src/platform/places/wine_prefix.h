// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kelvane {

// The user's home folder as the system names it: $HOME, else the password
// database's entry, else "/".
std::string HomeFolder();

// The Wine prefix where Windows programs of the product family are
// installed, as the system names it: $WINEPREFIX, else ~/.wine.
std::string WinePrefix();

} // namespace kelvane
