// SPDX-License-Identifier: MIT
#include "ui/qt/qt_dialog_runner.h"

#include "res/dialog_templates.h"
#include "res/string_table.h"
#include "ui/qt/template_dialog.h"

#include <QApplication>

namespace kelvane {

int QtDialogRunner::DoModal(CDialog& dialog) {
    const bool japanese = CurrentResourceLanguage() == ResourceLanguage::Japanese;
    const DialogTemplate* dialogTemplate = FindDialogTemplate(
        dialog.TemplateId(), japanese ? ResourceLanguage::Japanese : ResourceLanguage::English);
    if (dialogTemplate == nullptr)
        return IDCANCEL;
    // A dialog opened from another is owned by it.
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr)
        owner = m_owner;
    TemplateDialog window(dialog, *dialogTemplate, DialogFont(*dialogTemplate, japanese), m_icon,
                          owner);
    dialog.AttachControls(&window, dialogTemplate);
    if (m_built)
        m_built(window);
    const int result = window.Run();
    dialog.AttachControls(nullptr, nullptr);
    return result;
}

} // namespace kelvane
