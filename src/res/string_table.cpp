#include "res/string_table.h"

#include <optional>

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
    return text != nullptr ? text : "";
}

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string result;
    result.reserve(pattern.size());
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' &&
            next != args.end()) {
            result.append(*next++);
            ++i;
        } else {
            result.push_back(pattern[i]);
        }
    }
    return result;
}

std::string FormatResourceString(unsigned id, std::initializer_list<std::string_view> args) {
    return FormatText(LoadResourceString(id), args);
}

} // namespace kelvane
