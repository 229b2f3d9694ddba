// SPDX-License-Identifier: MIT
#include "cli/console_message_boxes.h"

#include "platform/text/code_page.h"

#include <cstdio>

namespace kelvane {

int ConsoleMessageBoxes::MessageBox(const std::string& text, const std::string& caption,
                                    unsigned style) {
    const std::string shown = ProjectToLocale(caption + ": " + text);
    std::fwrite(shown.data(), 1, shown.size(), stderr);
    std::fputc('\n', stderr);
    return (style & 0x0F) == MB_YESNO ? IDYES : IDOK;
}

size_t ConsoleMessageBoxes::AskQuestion(const std::string& text, const std::string& caption,
                                        unsigned style, const std::vector<std::string>&,
                                        size_t defaultButton, size_t) {
    MessageBox(text, caption, style);
    return defaultButton;
}

} // namespace kelvane
