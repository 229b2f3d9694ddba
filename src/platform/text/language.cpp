// SPDX-License-Identifier: MIT
#include "platform/text/language.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace kelvane {

ResourceLanguage LanguageFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0')
            continue;
        // The first variable that is set decides, as the C library does.
        const bool japanese =
            std::strncmp(value, "ja", 2) == 0 &&
            (value[2] == '\0' || value[2] == '_' || value[2] == '.' || value[2] == '@');
        return japanese ? ResourceLanguage::Japanese : ResourceLanguage::English;
    }
    return SystemLanguage();
}

} // namespace kelvane
