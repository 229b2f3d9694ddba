// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// The program's settings as QSettings keeps them for organisation "KVX",
// application "KLVN_MAIN" (on Linux ~/.config/KVX/KLVN_MAIN.conf). Keys are
// "Group/Name"; keys and values are UTF-8, so that these also serve a
// library loaded at run time that shares no code page with its caller.
std::optional<std::string> ReadQSettingsValue(std::string_view key);
// Leaves the file alone when it already holds the value.
bool WriteQSettingsValue(std::string_view key, std::string_view value);

} // namespace kelvane
