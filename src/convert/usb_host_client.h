// SPDX-License-Identifier: MIT
#pragma once

#include "convert/module_host_client.h"
#include "convert/usb_host_protocol.h"
#include "platform/process/wait_indicator.h"

#include <optional>
#include <string>

namespace kelvane {

// Where the USB access library a name stands for is, and how it is called.
struct UsbLibraryPlace {
    // Set for a Windows DLL, which is called in a module host.
    std::optional<ModuleLocation> host;
    // Else what the program loads itself (the substitute .so on Linux).
    std::string library;
};

// The library `name` (a bare file name, looked for beside the program in
// `programFolder`, or a path) stands for. On Linux NAME.so beside the
// program comes first, then NAME.dll beside it, then NAME.dll in the
// debugger's folder of the Wine prefix; on Windows always a host
// (module_host_launch_*.cpp).
UsbLibraryPlace LocateUsbLibrary(const std::string& name, const std::string& programFolder);

struct UsbHostOutcome {
    ModuleHostFailure failure = ModuleHostFailure::None;
    std::string detail;
    UsbHostAnswer answer; // when failure is None
};

// Lists the devices of the library at `library` in one run of its host.
UsbHostOutcome ListUsbDevicesInHost(const ModuleLocation& library, WaitIndicator& waiter);

// Why a listing gave no devices, for the user: empty when the library
// answered with its devices.
std::string UsbHostProblem(const UsbHostOutcome& outcome, const ModuleLocation& library);

} // namespace kelvane
