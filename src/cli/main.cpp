// SPDX-License-Identifier: MIT
// kelvane-cli: the headless front of Kelvane. It drives the same application
// object as the desktop program; message boxes go to standard error.
#include "cli/batch_command.h"
#include "cli/command_line.h"
#include "cli/project_commands.h"
#include "convert/module_probe_store.h"
#include "platform/standard_streams.h"

#include <cstdio>

int main(int argc, char** argv) {
    kelvane::WriteStandardStreamsAsBytes();
    kelvane::UseStoredModuleProbes(true);
    kelvane::CliRequest request;
    if (const std::optional<int> done = kelvane::ParseCommandLine(argc, argv, request))
        return *done;
    if (request.batch)
        return kelvane::RunBatch(request, argc, argv);
    // A project of a batch: the batch reads its messages in the order written.
    if (request.batchItem >= 0)
        std::setvbuf(stdout, nullptr, _IOLBF, 0);
    switch (request.command) {
    case kelvane::CliCommand::Show:
        return kelvane::ShowProject(request);
    case kelvane::CliCommand::Check:
        return kelvane::CheckProject(request);
    case kelvane::CliCommand::Save:
        return kelvane::SaveProject(request);
    case kelvane::CliCommand::Set:
        return kelvane::SetProject(request);
    case kelvane::CliCommand::Convert:
        return kelvane::ConvertProject(request);
    case kelvane::CliCommand::Usb:
        return kelvane::ListUsbDevices();
    case kelvane::CliCommand::Models:
        return kelvane::ListInstalledModels();
    }
    return kelvane::kExitUsage;
}
