// SPDX-License-Identifier: MIT
#pragma once

#include "platform/message_box.h"

namespace kelvane {

// Message boxes of the headless front: each is printed to standard error as
// "CAPTION: TEXT"; a question is answered Yes, anything else OK.
class ConsoleMessageBoxes : public MessageBoxService {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
};

} // namespace kelvane
