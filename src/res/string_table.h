// SPDX-License-Identifier: MIT
#pragma once

#include "platform/text/language.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace kelvane {

struct StringEntry {
    unsigned id;
    const char* text; // UTF-8
};

std::span<const StringEntry> EnglishStrings();
std::span<const StringEntry> JapaneseStrings();

// The language the tables are read in; chosen from the environment on first
// use unless set before.
ResourceLanguage CurrentResourceLanguage();
void SetResourceLanguage(ResourceLanguage language);

// The text of a string id in the current language, in the project code
// page; an empty text for an unknown id.
std::string LoadResourceString(unsigned id);

// Replaces each "%s" of `pattern` with the next of `args`, in order
// (FormatPrintf with texts only).
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);

// LoadResourceString followed by FormatText.
std::string FormatResourceString(unsigned id, std::initializer_list<std::string_view> args);

} // namespace kelvane
