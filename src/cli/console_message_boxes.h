// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/message_box.h"

namespace kelvane {

// Message boxes of the headless front: each is printed to standard error as
// "CAPTION: TEXT"; a question is answered Yes, anything else OK, and a
// question with buttons of its own by its default button.
class ConsoleMessageBoxes : public MessageBoxService {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
    size_t AskQuestion(const std::string& text, const std::string& caption, unsigned style,
                       const std::vector<std::string>& buttons, size_t defaultButton,
                       size_t escapeButton) override;
};

} // namespace kelvane
