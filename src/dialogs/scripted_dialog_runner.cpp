// SPDX-License-Identifier: MIT
#include "dialogs/scripted_dialog_runner.h"

#include "res/dialog_templates.h"
#include "res/string_table.h"

namespace kelvane {

int ScriptedDialogRunner::DoModal(CDialog& dialog) {
    const DialogTemplate* dialogTemplate =
        FindDialogTemplate(dialog.TemplateId(), CurrentResourceLanguage());
    if (dialogTemplate == nullptr)
        return IDCANCEL;
    ++m_runs[dialog.TemplateId()];
    MemoryDialogControls controls(*dialogTemplate);
    dialog.AttachControls(&controls, dialogTemplate);
    dialog.OnInitDialog();
    const auto script = m_scripts.find(dialog.TemplateId());
    if (!controls.Ended() && script != m_scripts.end() && script->second)
        script->second(dialog, controls);
    if (!controls.Ended())
        dialog.OnCancel();
    dialog.AttachControls(nullptr, nullptr);
    return controls.Result();
}

int ScriptedDialogRunner::RunCount(unsigned templateId) const {
    const auto found = m_runs.find(templateId);
    return found == m_runs.end() ? 0 : found->second;
}

} // namespace kelvane
