// SPDX-License-Identifier: MIT
#include "app/version_text.h"

#include "kelvane_version.h"
#include "platform/text/code_page.h"

#include <cstdio>

namespace kelvane {

const uint32_t kProductVersionMS =
    (uint32_t(KELVANE_VERSION_MAJOR) << 16) | uint32_t(KELVANE_VERSION_MINOR);
const uint32_t kProductVersionLS =
    (uint32_t(KELVANE_VERSION_PATCH) << 16) | uint32_t(KELVANE_VERSION_TWEAK);

std::string ComposeVersionText(std::string_view base, uint32_t productVersionMS,
                               uint32_t productVersionLS) {
    std::string text(base);
    char number[32];
    std::snprintf(number, sizeof number, "%d.%02d", int(productVersionMS >> 16),
                  int(productVersionMS & 0xFFFF));
    text += number;
    if ((productVersionLS >> 16) != 0)
        text += Utf8ToProject("(社)");
    const unsigned level = productVersionLS & 0xFFFF;
    const unsigned digit = level % 10;
    static const char* const kSuffixes[] = {"", "PL", "PR", "SP"};
    const unsigned kindOfLevel = level / 10;
    if (kindOfLevel != 0)
        text += (kindOfLevel < 4 ? std::string(kSuffixes[kindOfLevel]) : Utf8ToProject("作")) +
                std::to_string(digit);
    return text;
}

} // namespace kelvane
