// SPDX-License-Identifier: MIT
#include "cli/console_output.h"
#include "cli/project_commands.h"
#include "dialogs/installed_models.h"

namespace kelvane {
namespace {

constexpr const char* kSettingsKey = "Software\\KVX\\LinkDesk\\Settings";

const char* StateText(RegistrySourceState state) {
    switch (state) {
    case RegistrySourceState::Missing:
        return "missing";
    case RegistrySourceState::Unusable:
        return "exists, not used: it cannot be read";
    case RegistrySourceState::WithoutKey:
        return "read, without the key";
    case RegistrySourceState::HoldsKey:
        return "read, holds the key";
    case RegistrySourceState::NotNeeded:
        return "exists, not needed: an earlier file holds the key";
    }
    return "";
}

} // namespace

int ListInstalledModels() {
    std::vector<std::string> models;
    GetInstalledModels(models);
    for (const std::string& model : models)
        PrintLine(model);

    // Where they came from, for a user wondering why a model is missing.
    const bool machine = CachedSettingsRoot() == 2;
    PrintProblem(machine ? "models read under the local machine: its Software\\KVX\\ferroSCOPE "
                           "holds FSWG_NAME \"ferroSCOPE\""
                         : "models read under the current user: the local machine's "
                           "Software\\KVX\\ferroSCOPE does not hold FSWG_NAME \"ferroSCOPE\"");
    PrintProblem(std::string(kSettingsKey) + " looked for in:");
    const RegistryRoot root = machine ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser;
    for (const RegistrySourceReport& report :
         ExamineRegistrySources(SettingsRegistrySources(), root, kSettingsKey))
        PrintProblem("  " + report.path + ": " + StateText(report.state));
    return kExitDone;
}

} // namespace kelvane
