// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Every narrow text of the core is held as bytes in the project code page,
// the "ANSI code page" of the machine that wrote the project. These convert
// at the edges: the display (UTF-8 / UTF-16), the terminal and the file
// system (the locale's charset). Conversions never fail: what does not
// convert becomes U+FFFD in UTF-8 and '?' in any other charset.

// The code page chosen for the open project (SetProjectCodePage), else
// GivenCodePage(), else the locale's charset: "CP932", "UTF-8", ...
std::string ProjectCodePage();
// The code page the user named for this run: SetGivenCodePage's (the
// command line's), else KELVANE_CODEPAGE when set and not empty (read on
// every call); empty when neither names one.
std::string GivenCodePage();
void SetGivenCodePage(std::string codePage);
// The code page of the project just opened, or chosen for it; an empty name
// goes back to KELVANE_CODEPAGE or the locale's charset.
void SetProjectCodePage(std::string codePage);
// Whether a code page of that name can be converted from and to.
bool IsKnownCodePage(const std::string& codePage);

// Whether the bytes are well-formed UTF-8 (ASCII is).
bool IsValidUtf8(std::string_view text);
// Whether every byte of `text` belongs to a character of `codePage`.
bool DecodesEveryByte(std::string_view text, const std::string& codePage);

// The charset of the environment's LC_CTYPE locale, found once and kept.
std::string LocaleCharset();
// The same, found afresh: the locale's codeset when the locale is installed,
// else the charset part of the first set of LC_ALL, LC_CTYPE, LANG
// ("ja_JP.UTF-8" gives "UTF-8"), else ASCII.
std::string LocaleCharsetFromEnvironment();

// Converts between two iconv charset names. A name iconv does not know is
// warned about once on stderr and taken as UTF-8.
std::string ConvertText(std::string_view text, const std::string& from, const std::string& to);

std::string ProjectToUtf8(std::string_view projectText);
std::string Utf8ToProject(std::string_view utf8);
// For UTF-16 device names read from records.
std::string Utf16ToProject(std::u16string_view utf16);
// For terminal output.
std::string ProjectToLocale(std::string_view projectText);
// The same for text shown to the user or written for other programs: what
// does not convert is replaced even where the project code page is the
// target's own, which the two above pass through as it is.
std::string ProjectToShownUtf8(std::string_view projectText);
std::string ProjectToShownLocale(std::string_view projectText);
// For command-line arguments and names the system gives.
std::string LocaleToProject(std::string_view localeText);

// The length in bytes of the character at `position`: 2 for a two-byte
// character of the project code page, else 1; 0 at the end. A separator found
// inside a two-byte character is not one (CP932's ソ is 83 5C).
size_t ProjectCharacterLength(std::string_view text, size_t position);

// The name the file system knows a project-code-page path by: ProjectToLocale,
// except that bytes that do not convert are kept as they are, never replaced,
// so that a path cannot turn into the name of another file.
std::string NativePath(std::string_view projectPath);

} // namespace kelvane
