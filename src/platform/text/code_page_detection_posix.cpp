// SPDX-License-Identifier: MIT
#include "platform/text/code_page_detection.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <uchardet/uchardet.h>
#include <utility>

namespace kelvane {

std::string DetectedCharset(std::string_view bytes) {
    const uchardet_t detector = uchardet_new();
    if (detector == nullptr)
        return "";
    std::string charset;
    if (uchardet_handle_data(detector, bytes.data(), bytes.size()) == 0) {
        uchardet_data_end(detector);
        const char* found = uchardet_get_charset(detector);
        charset = found != nullptr ? found : "";
    }
    uchardet_delete(detector);
    return charset;
}

std::string LocaleWindowsCodePage() {
    static constexpr std::pair<const char*, const char*> kLanguages[] = {
        {"ja", "CP932"},  {"zh_CN", "CP936"}, {"zh_SG", "CP936"}, {"zh", "CP950"},
        {"ko", "CP949"},  {"th", "CP874"},    {"vi", "CP1258"},   {"ru", "CP1251"},
        {"uk", "CP1251"}, {"be", "CP1251"},   {"bg", "CP1251"},   {"mk", "CP1251"},
        {"sr", "CP1251"}, {"kk", "CP1251"},   {"ky", "CP1251"},   {"tt", "CP1251"},
        {"mn", "CP1251"}, {"pl", "CP1250"},   {"cs", "CP1250"},   {"sk", "CP1250"},
        {"hu", "CP1250"}, {"sl", "CP1250"},   {"hr", "CP1250"},   {"ro", "CP1250"},
        {"sq", "CP1250"}, {"bs", "CP1250"},   {"el", "CP1253"},   {"tr", "CP1254"},
        {"az", "CP1254"}, {"he", "CP1255"},   {"ar", "CP1256"},   {"fa", "CP1256"},
        {"ur", "CP1256"}, {"et", "CP1257"},   {"lv", "CP1257"},   {"lt", "CP1257"},

    };
    // The locale that decides the charset decides the language too.
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0')
            continue;
        const std::string_view locale(value);
        for (const auto& [language, codePage] : kLanguages) {
            const size_t length = std::strlen(language);
            if (locale.starts_with(language) &&
                (locale.size() == length || std::strchr("_.@", locale[length]) != nullptr))
                return codePage;
        }
        break;
    }
    return "CP1252";
}

} // namespace kelvane
