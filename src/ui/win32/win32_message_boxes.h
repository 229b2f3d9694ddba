// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/message_box.h"

#include "ui/win32/windows_api.h"

namespace kelvane {

// MessageBoxW with the caller's style bits; a question with buttons of its
// own is a task dialog. Boxes are owned by the active dialog, else the main
// window.
class Win32MessageBoxes : public MessageBoxService {
public:
    void SetOwner(HWND owner) { m_owner = owner; }

    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
    size_t AskQuestion(const std::string& text, const std::string& caption, unsigned style,
                       const std::vector<std::string>& buttons, size_t defaultButton,
                       size_t escapeButton) override;

private:
    HWND m_owner = nullptr;
};

} // namespace kelvane
