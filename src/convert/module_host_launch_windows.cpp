// SPDX-License-Identifier: MIT
// On Windows a module runs in the host of its own architecture, started
// directly: 32-bit modules (those users have) in kelvane-module-host.exe,
// 64-bit ones in kelvane-module-host64.exe. The program loads none itself.
#include "convert/module_discovery.h"
#include "convert/module_host_launch.h"
#include "platform/code_page.h"
#include "platform/executable_path.h"
#include "platform/file_reader.h"
#include "store/path_helpers.h"

#include <cstring>

namespace kelvane {
namespace {

constexpr uint16_t kMachineI386 = 0x14C;

bool IsFullPath(const std::string& path) {
    return FindLastSeparator(path) != std::string::npos || (path.size() >= 2 && path[1] == ':');
}

// The machine a DLL is built for, from its PE header; 0 when it is not one.
uint16_t MachineOf(const std::string& file) {
    FileReader reader;
    if (!reader.Open(file))
        return 0;
    unsigned char dos[64] = {};
    if (reader.ReadAt(0, dos, sizeof dos) != sizeof dos || dos[0] != 'M' || dos[1] != 'Z')
        return 0;
    uint32_t peOffset = 0;
    std::memcpy(&peOffset, dos + 0x3C, sizeof peOffset);
    unsigned char header[6] = {};
    if (reader.ReadAt(peOffset, header, sizeof header) != sizeof header ||
        std::memcmp(header, "PE\0\0", 4) != 0)
        return 0;
    return static_cast<uint16_t>(header[4] | (header[5] << 8));
}

} // namespace

const char* HostProgramName(ModuleKind kind) {
    return kind == ModuleKind::Windows ? "kelvane-module-host.exe" : "kelvane-module-host64.exe";
}

ModuleLocation LocateModule(std::string_view modulePath) {
    ModuleLocation location;
    location.fieldName = ModuleFileName(modulePath);
    const std::string folder = ExecutableFolder();
    location.file = IsFullPath(location.fieldName) || folder.empty()
                        ? location.fieldName
                        : JoinPath(folder, location.fieldName);
    // Only a 32-bit DLL needs the 32-bit host; the other host also says why
    // a missing file or one of no known machine cannot be loaded.
    location.kind =
        MachineOf(location.file) == kMachineI386 ? ModuleKind::Windows : ModuleKind::Native;
    // The hosts take UTF-8, for the wide call that loads the module.
    location.hostPath = ProjectToUtf8(location.file);
    return location;
}

bool HostCanStart(const ModuleLocation&, ModuleHostFailure&, std::string&) {
    return true;
}

ChildProcessRun HostCommand(const ModuleLocation& module) {
    ChildProcessRun run;
    run.command = {HostProgram(module.kind)};
    return run;
}

} // namespace kelvane
