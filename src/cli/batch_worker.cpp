// SPDX-License-Identifier: MIT
#include "cli/batch_worker.h"

#include "cli/batch_end_mark.h"
#include "cli/cli_profile.h"
#include "cli/command_line.h"
#include "cli/project_commands.h"
#include "platform/files/deferred_flush.h"
#include "platform/text/code_page.h"

#include <cstdio>
#include <cstring>

namespace kelvane {
namespace {

// This process's command line without its --batch-worker option.
std::vector<std::string> ItemArguments(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--batch-worker") == 0) {
            ++i;
            continue;
        }
        if (std::strncmp(argv[i], "--batch-worker=", 15) != 0)
            arguments.emplace_back(argv[i]);
    }
    return arguments;
}

int RunItem(std::vector<std::string> arguments, const std::string& item) {
    arguments.push_back("--batch-item");
    arguments.push_back(item);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    // Each project starts as a fresh process would: with the code page it
    // is given or finds, not the one of the project before.
    SetProjectCodePage("");
    CliRequest request;
    if (const std::optional<int> done =
            ParseCommandLine(static_cast<int>(arguments.size()), argv.data(), request))
        return *done;
    return RunCommand(request);
}

} // namespace

int RunBatchWorker(const CliRequest& request, int argc, char** argv) {
    // Standard output and error share the batch's pipe: whole lines keep
    // their order.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    HoldCliProfileWrites();
    DeferFlushes(request.command == CliCommand::Convert && !request.outDir.empty());
    const std::vector<std::string> arguments = ItemArguments(argc, argv);
    char line[64];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        std::string item(line);
        while (!item.empty() && (item.back() == '\n' || item.back() == '\r'))
            item.pop_back();
        const int status = RunItem(arguments, item);
        std::fflush(stdout);
        std::fflush(stderr);
        const std::string mark = ProjectEndMark(request.batchWorker, status, TakeDeferredFlushes());
        std::fwrite(mark.data(), 1, mark.size(), stdout);
        std::fflush(stdout);
    }
    return WriteHeldCliProfileValues() ? kExitDone : kExitFailed;
}

} // namespace kelvane
