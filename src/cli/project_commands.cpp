#include "cli/project_commands.h"

#include "cli/cli_session.h"
#include "cli/comm_setting_script.h"
#include "cli/console_output.h"
#include "view/summary_drawing.h"

namespace kelvane {

int ShowProject(const CliRequest& request) {
    Session session;
    if (!OpenProject(session, request.project))
        return kExitFailed;
    for (const std::string& line : SummaryLines(SummaryDrawing(session.app.Settings())))
        PrintLine(line);
    return kExitDone;
}

int CheckProject(const CliRequest& request) {
    Session session;
    if (!OpenProject(session, request.project))
        return kExitFailed;
    return session.app.ValidateForSave() ? kExitDone : kExitFailed;
}

int SaveProject(const CliRequest& request) {
    Session session(request.saveAsPath);
    if (!OpenProject(session, request.project))
        return kExitFailed;
    return SaveOpenProject(session) ? kExitDone : kExitFailed;
}

int SetProject(const CliRequest& request) {
    Session session(request.saveAsPath);
    if (!OpenProject(session, request.project) || !ApplyCommOptions(session, request.comm))
        return kExitFailed;
    return SaveOpenProject(session) ? kExitDone : kExitFailed;
}

} // namespace kelvane
