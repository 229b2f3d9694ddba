// SPDX-License-Identifier: MIT
#include "cli/cli_session.h"

#include "cli/console_output.h"
#include "platform/process/executable_path.h"
#include "store/path_helpers.h"

namespace kelvane {

Session::Session(std::string saveAsPath, bool overwriteChanged)
    : fileDialogs(saveAsPath),
      app({messageBoxes, fileDialogs, repaint, profile, dialogs}, ProgramFilePath("ini")),
      saveAs(!saveAsPath.empty()) {
    app.SetWaitIndicator(wait);
    app.SetOverwriteChangedFiles(overwriteChanged);
}

bool OpenProject(Session& session, const CliRequest& request) {
    const std::string& path = request.project;
    std::string checked = path;
    if (CheckExtension(checked, "FSP", 0) != 0) {
        PrintProblem(path + " is not a project file (.fsp)");
        return false;
    }
    session.app.SetMovedProjectAnswer(request.relink ? CKLVN_MAINApp::MovedProject::Relink
                                                     : CKLVN_MAINApp::MovedProject::Keep);
    session.app.OpenProjectPath(path);
    if (!session.app.MovedFrom().empty())
        PrintProblem("the project was moved from " + session.app.MovedFrom() +
                     "; --relink uses the files beside it");
    return session.app.Settings().m_bProjectLoaded;
}

bool SaveOpenProject(Session& session) {
    if (session.saveAs ? session.app.OnSaveProjectAs() : session.app.OnSaveProject())
        return true;
    if (session.app.StoppedAtChangedFile())
        PrintProblem("nothing was saved; --force saves over the other program's change");
    return false;
}

} // namespace kelvane
