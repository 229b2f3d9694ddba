// SPDX-License-Identifier: MIT
// kelvane-cli: the headless front of Kelvane. It drives the same application
// object as the desktop program; message boxes go to standard error.
#include "cli/batch_command.h"
#include "cli/batch_worker.h"
#include "cli/command_line.h"
#include "cli/project_commands.h"
#include "convert/module_probe_store.h"
#include "platform/text/standard_streams.h"

int main(int argc, char** argv) {
    kelvane::WriteStandardStreamsAsBytes();
    kelvane::UseStoredModuleProbes(true);
    kelvane::CliRequest request;
    if (const std::optional<int> done = kelvane::ParseCommandLine(argc, argv, request))
        return *done;
    if (request.batch)
        return kelvane::RunBatch(request, argc, argv);
    if (!request.batchWorker.empty())
        return kelvane::RunBatchWorker(request, argc, argv);
    return kelvane::RunCommand(request);
}
