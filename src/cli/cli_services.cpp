// SPDX-License-Identifier: MIT
#include "cli/cli_services.h"

#include "cli/console_output.h"

namespace kelvane {

bool ScriptedFileDialog::ShowFileDialog(const FileDialogRequest& request, std::string& chosenPath) {
    if (m_answer.empty())
        return false;
    chosenPath = m_answer;
    // As a save dialog does, add the default extension to a name without one.
    const size_t slash = chosenPath.find_last_of("\\/");
    const size_t dot = chosenPath.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    if (!request.defaultExtension.empty() && !hasExtension)
        chosenPath += "." + request.defaultExtension;
    return true;
}

void ConsoleWaitNote::BeginWait(const std::string& note) {
    if (!note.empty())
        PrintProblem(note);
}

} // namespace kelvane
