// SPDX-License-Identifier: MIT
#pragma once

// What the code page files share: code_page.cpp holds what is the same on
// every system, code_page_posix.cpp (iconv) and code_page_windows.cpp
// (MultiByteToWideChar) the conversion itself.

#include <string>
#include <string_view>

namespace kelvane {

// What becomes of bytes that do not convert.
enum class Refused { Replace, Keep };

// Charset names compared as iconv compares them: case and '-' / '_' do not
// count, so "utf8" is "UTF-8".
std::string CanonicalCharset(std::string_view name);
bool SameCharset(std::string_view a, std::string_view b);
bool IsUtf8(std::string_view name);
void WarnUnknownCodePageOnce(const std::string& name);

std::string ConvertCharset(std::string_view text, std::string from, std::string to,
                           Refused refused);
// The project code page when KELVANE_CODEPAGE names none.
std::string DefaultProjectCodePage();

} // namespace kelvane
