// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dialog/dialog.h"
#include "platform/dialog/memory_dialog_controls.h"

#include <functional>
#include <map>

namespace kelvane {

// Runs dialogs without a screen: each template's script plays the user on
// the controls held in memory. A dialog without a script, or whose script
// leaves it open, ends as a closed window does, with IDCANCEL.
class ScriptedDialogRunner : public DialogRunner {
public:
    using Script = std::function<void(CDialog& dialog, MemoryDialogControls& controls)>;

    void SetScript(unsigned templateId, Script script) {
        m_scripts[templateId] = std::move(script);
    }
    int DoModal(CDialog& dialog) override;
    // How often a dialog of the template was run.
    int RunCount(unsigned templateId) const;

private:
    std::map<unsigned, Script> m_scripts;
    std::map<unsigned, int> m_runs;
};

} // namespace kelvane
