// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Model names start with one of the letters of the families the debugger
// knows; callers upper-case the text first.
bool IsValidModelName(std::string_view modelText);

// ASCII letters in upper case; other bytes, and two-byte characters of the
// project code page, as they are.
std::string UpperCaseModelName(std::string_view modelText);

// What the dialogs show for a project without a model name.
inline constexpr const char* kModelUndefined = "Model undefined.";

} // namespace kelvane
