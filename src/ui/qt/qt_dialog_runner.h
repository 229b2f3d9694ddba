// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dialog/dialog.h"

#include <QIcon>

#include <functional>

class QWidget;

namespace kelvane {

class TemplateDialog;

// Runs the program's dialogs as Qt dialogs built from their templates, in
// the resource language, owned by the window in front.
class QtDialogRunner : public DialogRunner {
public:
    // `icon` is the picture of the templates' icon controls.
    explicit QtDialogRunner(QIcon icon = {}) : m_icon(std::move(icon)) {}

    void SetOwner(QWidget* owner) { m_owner = owner; }
    int DoModal(CDialog& dialog) override;

    // Called with each dialog once it is built, before it is shown (tests).
    void SetBuiltHook(std::function<void(TemplateDialog&)> hook) { m_built = std::move(hook); }

private:
    QIcon m_icon;
    QWidget* m_owner = nullptr;
    std::function<void(TemplateDialog&)> m_built;
};

} // namespace kelvane
