// SPDX-License-Identifier: MIT
#pragma once

#include "store/project_settings.h"

#include <string_view>

namespace kelvane {

// Whether the connection settings and the MPV file location are complete
// enough to save. False with the first failing rule's message in
// m_strLastError; true with m_strLastError empty. Changes no setting.
bool ValidateSettings(ProjectSettings& settings);

// Three uppercase letters, five digits, two uppercase letters.
bool IsValidUsbDeviceName(std::string_view name);

// A port as the dialogs and the record hold it: one to four hexadecimal
// digits, so 0 to ffff.
bool IsPortText(std::string_view text);
// A time-out as typed: decimal digits only (the save clamps the value).
bool IsTimeoutText(std::string_view text);

} // namespace kelvane
