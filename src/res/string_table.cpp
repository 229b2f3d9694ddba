// SPDX-License-Identifier: MIT
#include "res/string_table.h"

#include "platform/text/code_page.h"
#include "res/format_printf.h"

#include <optional>
#include <vector>

namespace kelvane {
namespace {

std::optional<ResourceLanguage>& ChosenLanguage() {
    static std::optional<ResourceLanguage> language;
    return language;
}

const char* FindIn(std::span<const StringEntry> table, unsigned id) {
    for (const StringEntry& entry : table)
        if (entry.id == id)
            return entry.text;
    return nullptr;
}

} // namespace

ResourceLanguage CurrentResourceLanguage() {
    auto& language = ChosenLanguage();
    if (!language)
        language = LanguageFromEnvironment();
    return *language;
}

void SetResourceLanguage(ResourceLanguage language) {
    ChosenLanguage() = language;
}

std::string LoadResourceString(unsigned id) {
    const char* text = CurrentResourceLanguage() == ResourceLanguage::Japanese
                           ? FindIn(JapaneseStrings(), id)
                           : FindIn(EnglishStrings(), id);
    // The tables are UTF-8; the core works in the project code page.
    return text != nullptr ? Utf8ToProject(text) : std::string();
}

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args) {
    const std::vector<PrintfArg> texts(args.begin(), args.end());
    return FormatPrintf(pattern, texts);
}

std::string FormatResourceString(unsigned id, std::initializer_list<std::string_view> args) {
    return FormatText(LoadResourceString(id), args);
}

} // namespace kelvane
