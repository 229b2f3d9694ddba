// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// The user's settings file as QSettings keeps it for organisation "KVX",
// application "KLVN_MAIN": $XDG_CONFIG_HOME/KVX/KLVN_MAIN.conf, else
// ~/.config/KVX/KLVN_MAIN.conf. Empty when neither can be told.
std::string ProfileFilePath();

// Whether QSettings writes `value` (UTF-8) into its file as it stands: no
// quotes, escapes or characters it gives a meaning to, no space at either
// end, no leading '@'.
bool IsVerbatimProfileValue(std::string_view value);

// The value `entry` of `[section]` as it stands in the file, read without
// Qt: only when the file has exactly one such line and its text is one
// QSettings writes verbatim. Anything else is left to QSettings.
std::optional<std::string> VerbatimStoredProfileValue(std::string_view section,
                                                      std::string_view entry);

} // namespace kelvane
