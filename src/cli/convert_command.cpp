// SPDX-License-Identifier: MIT
#include "cli/cli_session.h"
#include "cli/comm_setting_script.h"
#include "cli/console_output.h"
#include "cli/file_model_setting_script.h"
#include "cli/ice_model_names.h"
#include "cli/project_commands.h"
#include "cli/saved_model_check.h"
#include "store/fixed_text.h"

namespace kelvane {
namespace {

// Why the command of a conversion is not offered for the open project.
std::string WhyNotEnabled(const ConversionCommand& command, const ProjectSettings& settings) {
    if (settings.m_nIceModel != command.from)
        return "direction " + std::to_string(command.direction) + " converts " +
               IceModelText(command.from) + " projects; this project is " +
               IceModelText(settings.m_nIceModel);
    if (settings.m_szConvertModule[0] == '\0')
        return "no conversion module was found for the MPU information file " +
               std::string(FieldText(settings.m_szMpdFile));
    return "the conversion module " + std::string(FieldText(settings.m_szConvertModule)) +
           " does not convert " + IceModelText(command.from) + " to " + IceModelText(command.to);
}

} // namespace

int ConvertProject(const CliRequest& request) {
    Session session(request.saveAsPath, request.force);
    if (!OpenProject(session, request))
        return kExitFailed;
    const ProjectSettings& settings = session.app.Settings();
    const ConversionCommand* command = nullptr;
    if (request.toModel >= 0) {
        command =
            FindConversionBetween(settings.m_nIceModel, static_cast<uint32_t>(request.toModel));
        if (command == nullptr) {
            PrintProblem("no conversion direction leads from " +
                         IceModelText(settings.m_nIceModel) + " to " +
                         IceModelText(static_cast<uint32_t>(request.toModel)));
            return kExitFailed;
        }
    } else {
        command = FindConversionDirection(request.direction);
        if (command == nullptr) {
            PrintProblem("there is no conversion direction " + std::to_string(request.direction));
            return kExitFailed;
        }
    }
    if (!session.app.IsConvertEnabled(*command)) {
        PrintProblem("cannot convert: " + WhyNotEnabled(*command, settings));
        return kExitFailed;
    }
    if (!session.app.OnConvert(*command))
        return kExitFailed;
    // The settings belong to the converted project: a talvexBANTAM one
    // connects by USB and needs a device name before it can be saved.
    if (request.comm.Any() && !ApplyCommOptions(session, request.comm))
        return kExitFailed;
    if (request.files.Any() && !ApplyFileModelOptions(session, request.files))
        return kExitFailed;
    if (!ReopensAsSameModel(session.app.Settings()))
        return kExitFailed;
    return SaveOpenProject(session) ? kExitDone : kExitFailed;
}

} // namespace kelvane
