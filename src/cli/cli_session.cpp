// SPDX-License-Identifier: MIT
#include "cli/cli_session.h"

#include "cli/console_output.h"
#include "platform/executable_path.h"
#include "store/path_helpers.h"

namespace kelvane {

Session::Session(std::string saveAsPath, bool overwriteChanged)
    : fileDialogs(saveAsPath),
      app({messageBoxes, fileDialogs, repaint, profile, dialogs}, ProgramFilePath("ini")),
      saveAs(!saveAsPath.empty()) {
    app.SetWaitIndicator(wait);
    app.SetOverwriteChangedFiles(overwriteChanged);
}

bool OpenProject(Session& session, const std::string& path) {
    std::string checked = path;
    if (CheckExtension(checked, "FSP", 0) != 0) {
        PrintProblem(path + " is not a project file (.fsp)");
        return false;
    }
    session.app.OpenProjectPath(path);
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
