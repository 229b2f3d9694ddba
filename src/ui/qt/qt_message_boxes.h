// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/message_box.h"

class QWidget;

namespace kelvane {

// Message boxes of the desktop front, owned by the main window.
class QtMessageBoxes : public MessageBoxService {
public:
    explicit QtMessageBoxes(QWidget* owner = nullptr) : m_owner(owner) {}
    void SetOwner(QWidget* owner) { m_owner = owner; }
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
    size_t AskQuestion(const std::string& text, const std::string& caption, unsigned style,
                       const std::vector<std::string>& buttons, size_t defaultButton,
                       size_t escapeButton) override;

private:
    QWidget* m_owner;
};

} // namespace kelvane
