// SPDX-License-Identifier: MIT
#include "cli/project_commands.h"

#include "cli/cli_session.h"
#include "cli/comm_setting_script.h"
#include "cli/console_output.h"
#include "cli/file_model_setting_script.h"
#include "cli/project_file_lines.h"
#include "cli/saved_model_check.h"
#include "view/summary_drawing.h"

namespace kelvane {

int ShowProject(const CliRequest& request) {
    Session session;
    if (!OpenProject(session, request))
        return kExitFailed;
    for (const std::string& line : SummaryLines(SummaryDrawing(session.app.Settings())))
        PrintLine(line);
    for (const std::string& line : ProjectFileLines(session.app.Settings()))
        PrintLine(line);
    PrintLine(session.app.CodePageLine());
    return kExitDone;
}

int CheckProject(const CliRequest& request) {
    Session session;
    if (!OpenProject(session, request))
        return kExitFailed;
    return session.app.ValidateForSave() ? kExitDone : kExitFailed;
}

int SaveProject(const CliRequest& request) {
    Session session(request.saveAsPath, request.force);
    if (!OpenProject(session, request))
        return kExitFailed;
    return SaveOpenProject(session) ? kExitDone : kExitFailed;
}

int SetProject(const CliRequest& request) {
    Session session(request.saveAsPath, request.force);
    if (!OpenProject(session, request))
        return kExitFailed;
    // Comm setting first, then Files & ICE model setting, each only when
    // asked for; a bare set saves what the Comm setting dialog's OK leaves.
    if ((request.comm.Any() || !request.files.Any()) && !ApplyCommOptions(session, request.comm))
        return kExitFailed;
    if (request.files.Any() && !ApplyFileModelOptions(session, request.files))
        return kExitFailed;
    if (!ReopensAsSameModel(session.app.Settings()))
        return kExitFailed;
    return SaveOpenProject(session) ? kExitDone : kExitFailed;
}

int RunCommand(const CliRequest& request) {
    switch (request.command) {
    case CliCommand::Show:
        return ShowProject(request);
    case CliCommand::Check:
        return CheckProject(request);
    case CliCommand::Save:
        return SaveProject(request);
    case CliCommand::Set:
        return SetProject(request);
    case CliCommand::Convert:
        return ConvertProject(request);
    case CliCommand::Usb:
        return ListUsbDevices();
    case CliCommand::Models:
        return ListInstalledModels();
    }
    return kExitUsage;
}

} // namespace kelvane
