// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// The code page a project file's bytes were most likely written in. Valid
// UTF-8 (ASCII included) is the locale's charset. Otherwise the first of
// CP932 and the locale's Windows code page that takes every byte; where both
// do, CP932 only for text with kana or that the detector reads as Japanese.
// The locale's charset when neither does.
std::string DetectProjectCodePage(std::string_view projectFileBytes);

// The Windows ANSI code page of the locale's language: CP932 for Japanese,
// CP1251 for Cyrillic languages, CP1252 for Western ones and with no locale.
std::string LocaleWindowsCodePage();

// The charset a detector reads in the bytes ("SHIFT_JIS", "WINDOWS-1251");
// empty where it cannot tell or the system has none.
std::string DetectedCharset(std::string_view bytes);

// The Windows code page of a charset's name ("ISO-8859-5" gives "CP1251"),
// or the name itself when there is none.
std::string WindowsCodePageOf(std::string_view charset);

} // namespace kelvane
