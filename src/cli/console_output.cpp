// SPDX-License-Identifier: MIT
#include "cli/console_output.h"

#include "platform/text/code_page.h"

#include <cstdio>
#include <string>

namespace kelvane {

void PrintLine(std::string_view projectText) {
    const std::string text = ProjectToShownLocale(projectText);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

void PrintProblem(std::string_view projectText) {
    const std::string text = ProjectToShownLocale(projectText);
    std::fputs("kelvane-cli: ", stderr);
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
}

} // namespace kelvane
