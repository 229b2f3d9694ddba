// SPDX-License-Identifier: MIT
// On Windows a module runs in the host of its own architecture, started
// directly: 32-bit modules (those users have) in kelvane-module-host.exe,
// 64-bit ones in kelvane-module-host64.exe. The program loads none itself.
#include "convert/module_discovery.h"
#include "convert/module_host_launch.h"
#include "convert/pe_machine.h"
#include "convert/usb_host_client.h"
#include "platform/files/file_reader.h"
#include "platform/places/default_folder.h"
#include "platform/process/executable_path.h"
#include "platform/text/code_page.h"
#include "store/path_helpers.h"

#include <cstring>

namespace kelvane {
namespace {

bool IsFullPath(const std::string& path) {
    return FindLastSeparator(path) != std::string::npos || (path.size() >= 2 && path[1] == ':');
}

bool IsRegularFile(const std::string& path) {
    return KindOfPath(path) == PathKind::RegularFile;
}

// Where a module or library file is and which host loads it.
ModuleLocation LocationOfWindowsFile(const std::string& file) {
    ModuleLocation location;
    location.fieldName = file;
    location.file = file;
    // Only a 32-bit DLL needs the 32-bit host; the other host also says why
    // a missing file or one of no known machine cannot be loaded.
    location.kind =
        PeMachineOf(location.file) == kMachineI386 ? ModuleKind::Windows : ModuleKind::Native;
    // The hosts take UTF-8, for the wide call that loads the module.
    location.hostPath = ProjectToUtf8(location.file);
    return location;
}

} // namespace

const char* HostProgramName(ModuleKind kind) {
    return kind == ModuleKind::Windows ? "kelvane-module-host.exe" : "kelvane-module-host64.exe";
}

ModuleLocation LocateModule(std::string_view modulePath) {
    const std::string fieldName = ModuleFileName(modulePath);
    const std::string folder = ExecutableFolder();
    ModuleLocation location = LocationOfWindowsFile(
        IsFullPath(fieldName) || folder.empty() ? fieldName : JoinPath(folder, fieldName));
    location.fieldName = fieldName;
    return location;
}

// The program is 64-bit and the library users own 32-bit: it is always
// called in a host. Beside the program first, then where the product
// installs it, else by the 32-bit host's own library search.
UsbLibraryPlace LocateUsbLibrary(const std::string& name, const std::string& programFolder) {
    UsbLibraryPlace place;
    place.library = name;
    if (IsFullPath(name)) {
        place.host = LocationOfWindowsFile(name);
        return place;
    }
    for (const std::string& folder : {programFolder, std::string(kDebuggerFolder)}) {
        if (!folder.empty() && IsRegularFile(JoinPath(folder, name))) {
            place.host = LocationOfWindowsFile(JoinPath(folder, name));
            return place;
        }
    }
    place.host = LocationOfWindowsFile(name);
    place.host->kind = ModuleKind::Windows;
    return place;
}

bool HostCanStart(const ModuleLocation&, ModuleHostFailure&, std::string&) {
    return true;
}

void PrepareHostStart(const ModuleLocation&, WaitIndicator&) {}

ChildProcessRun HostCommand(const ModuleLocation& module) {
    ChildProcessRun run;
    run.command = {HostProgram(module.kind)};
    return run;
}

} // namespace kelvane
