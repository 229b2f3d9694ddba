// SPDX-License-Identifier: MIT
#include "ui/win32/win32_dialog_runner.h"

#include "res/dialog_templates.h"
#include "res/string_table.h"
#include "ui/win32/template_dialog.h"

namespace kelvane {

HWND ActiveOwner(HWND mainWindow) {
    HWND active = GetActiveWindow();
    return active != nullptr && IsWindowEnabled(active) ? active : mainWindow;
}

int Win32DialogRunner::DoModal(CDialog& dialog) {
    const bool japanese = CurrentResourceLanguage() == ResourceLanguage::Japanese;
    const DialogTemplate* dialogTemplate = FindDialogTemplate(
        dialog.TemplateId(), japanese ? ResourceLanguage::Japanese : ResourceLanguage::English);
    if (dialogTemplate == nullptr)
        return IDCANCEL;
    TemplateDialog window(dialog, *dialogTemplate, japanese);
    dialog.AttachControls(&window, dialogTemplate);
    const int result = window.Run(ActiveOwner(m_owner));
    dialog.AttachControls(nullptr, nullptr);
    return result;
}

} // namespace kelvane
