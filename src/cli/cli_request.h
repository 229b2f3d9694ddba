#pragma once

#include "cli/comm_options.h"
#include "cli/file_model_options.h"

#include <string>

namespace kelvane {

enum class CliCommand { Show, Check, Save, Set, Convert, Usb, Models };

// One run of kelvane-cli as the command line asks it. Texts are in the
// project code page.
struct CliRequest {
    CliCommand command = CliCommand::Show;
    std::string project;
    std::string saveAsPath; // empty: save in place
    // The conversion: a target model (its index) or a direction, -1 for none.
    int toModel = -1;
    int direction = -1;
    CommOptions comm;
    FileModelOptions files;
};

} // namespace kelvane
