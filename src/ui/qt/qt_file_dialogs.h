// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/file_dialog.h"

class QWidget;

namespace kelvane {

// The file dialogs of the desktop front, shown as the core's request asks.
class QtFileDialogs : public FileDialogService {
public:
    explicit QtFileDialogs(QWidget* owner = nullptr) : m_owner(owner) {}
    void SetOwner(QWidget* owner) { m_owner = owner; }
    bool ShowFileDialog(const FileDialogRequest& request, std::string& chosenPath) override;

private:
    QWidget* m_owner;
};

} // namespace kelvane
