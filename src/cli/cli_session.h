// SPDX-License-Identifier: MIT
#pragma once

#include "app/klvn_main_app.h"
#include "cli/cli_profile.h"
#include "cli/cli_request.h"
#include "cli/cli_services.h"
#include "cli/console_message_boxes.h"
#include "dialogs/scripted_dialog_runner.h"

#include <string>

namespace kelvane {

// The application with the services of the headless front. The file dialog
// answers with `saveAsPath`, so the save-as command writes there; with
// `overwriteChanged` a save writes over files another program changed.
struct Session {
    explicit Session(std::string saveAsPath = {}, bool overwriteChanged = false);

    ConsoleMessageBoxes messageBoxes;
    ScriptedFileDialog fileDialogs;
    NoRepaint repaint;
    CliProfile profile;
    ScriptedDialogRunner dialogs;
    ConsoleWaitNote wait;
    CKLVN_MAINApp app;
    const bool saveAs;
};

// Opens the request's project as a dropped file is opened; a path that is not
// a project file is refused here with a word, where the desktop program
// silently ignores it. A moved project uses the files beside it only with
// --relink; without it, an open that fails for that says so.
bool OpenProject(Session& session, const CliRequest& request);

// Saves in place, or as the session's path; true when saved. A save that
// stopped at a file another program changed says how to write over it.
bool SaveOpenProject(Session& session);

} // namespace kelvane
