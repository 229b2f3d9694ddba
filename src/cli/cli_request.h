// SPDX-License-Identifier: MIT
#pragma once

#include "cli/comm_options.h"
#include "cli/file_model_options.h"

#include <string>
#include <vector>

namespace kelvane {

enum class CliCommand { Show, Check, Save, Set, Convert, Usb, Models };

// One run of kelvane-cli as the command line asks it. Texts are in the
// project code page.
struct CliRequest {
    CliCommand command = CliCommand::Show;
    std::string project;
    std::string saveAsPath; // empty: save in place
    // show, check and convert take several projects, run by worker processes.
    std::vector<std::string> projects;
    std::string outDir;     // convert: each saved under its own name here
    int jobs = 0;           // workers at once; 0: one per processor
    std::string reportPath; // a JSON record per project
    bool batch = false;     // several projects, or a batch option given
    int batchItem = -1;     // in a process of a batch: the project it runs
    // In a worker of a batch: the mark that ends each project's output.
    std::string batchWorker;
    bool force = false;  // save over files another program changed
    bool relink = false; // a moved project uses the files beside it
    // The conversion: a target model (its index) or a direction, -1 for none.
    int toModel = -1;
    int direction = -1;
    CommOptions comm;
    FileModelOptions files;
};

} // namespace kelvane
