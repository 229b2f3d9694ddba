// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_request.h"

namespace kelvane {

// The commands of kelvane-cli; each returns the exit status.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Runs the request's command.
int RunCommand(const CliRequest& request);

int ShowProject(const CliRequest& request);
int CheckProject(const CliRequest& request);
int SaveProject(const CliRequest& request);
// Changes the communication settings, the files and the model, then saves.
int SetProject(const CliRequest& request);
// Converts, applies any settings, then saves.
int ConvertProject(const CliRequest& request);
// Lists the USB devices the USB access library finds.
int ListUsbDevices();
// Lists the installed models, then says on standard error where they were
// read from.
int ListInstalledModels();

} // namespace kelvane
