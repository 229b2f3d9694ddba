// SPDX-License-Identifier: MIT
#pragma once

#include "store/project_settings.h"

namespace kelvane {

// Whether the connection settings and the MPV file location are complete
// enough to save. False with the first failing rule's message in
// m_strLastError; true with m_strLastError empty. Changes no setting.
bool ValidateSettings(ProjectSettings& settings);

// Three uppercase letters, five digits, two uppercase letters.
bool IsValidUsbDeviceName(std::string_view name);

} // namespace kelvane
