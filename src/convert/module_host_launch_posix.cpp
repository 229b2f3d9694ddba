// SPDX-License-Identifier: MIT
#include "convert/module_discovery.h"
#include "convert/module_host_launch.h"
#include "convert/pe_machine.h"
#include "convert/usb_host_client.h"
#include "platform/files/absolute_path.h"
#include "platform/files/file_name_case.h"
#include "platform/files/file_reader.h"
#include "platform/places/default_folder.h"
#include "platform/places/drive_folder.h"
#include "platform/places/wine_prefix.h"
#include "platform/process/executable_path.h"
#include "platform/text/code_page.h"
#include "res/string_ids.h"
#include "res/string_table.h"

#include <cctype>
#include <cstdlib>
#include <vector>

namespace kelvane {
namespace {

bool IsRegularFile(const std::string& path) {
    return KindOfPath(path) == PathKind::RegularFile;
}

// The module file `path` names, in another letter case when only that is
// there (a table written on Windows); `path` itself when there is none, or
// more than one.
std::string ModuleFileInAnyCase(const std::string& path) {
    const FoundFile found = FindFileIgnoringCase(path);
    return found.match == NameMatch::OtherCase && IsRegularFile(found.path) ? found.path : path;
}

bool IsWindowsPath(std::string_view path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
           path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

std::string WindowsModuleFileName(std::string_view modulePath) {
    return ModuleFileNameWithSuffix(modulePath, ".dll");
}

// Where a bare name is looked for first: beside the program.
std::string PlaceOf(const std::string& name) {
    if (name.find('/') != std::string::npos)
        return name;
    const std::string folder = ExecutableFolder();
    return folder.empty() ? name : folder + "/" + name;
}

// A Unix file in Wine's terms: the Z: drive is the root of the file system.
std::string WineDrivePath(const std::string& unixPath) {
    std::string path = "Z:" + ProjectToUtf8(AbsolutePath(unixPath));
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// A Windows path's file in the Unix file system, through the prefix's drive
// links (dosdevices/c: -> ../drive_c).
std::string UnixPathOfWindowsPath(const std::string& windowsPath) {
    std::string path = WinePrefix() + "/dosdevices/" +
                       static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0]))) +
                       ":";
    for (char c : windowsPath.substr(2))
        path.push_back(c == '\\' ? '/' : c);
    return path;
}

// Debian keeps Wine's 64-bit loader out of PATH; a Wine of one loader for
// both runs 64-bit programs as `wine`.
std::string Wine64Loader() {
    if (ProgramOnPath("wine64"))
        return "wine64";
    if (ProgramOnPath("/usr/lib/wine/wine64"))
        return "/usr/lib/wine/wine64";
    return ProgramOnPath("wine") ? "wine" : std::string();
}

bool IsDllName(std::string_view name) {
    if (name.size() < 4)
        return false;
    std::string suffix(name.substr(name.size() - 4));
    for (char& c : suffix)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return suffix == ".dll";
}

// A DLL file for a host under Wine: the 64-bit one for a 64-bit DLL, the
// 32-bit one for every other, which also tells why one cannot be loaded.
ModuleLocation WindowsLibraryLocation(const std::string& file) {
    ModuleLocation location;
    location.kind =
        PeMachineOf(file) == kMachineAmd64 ? ModuleKind::Windows64 : ModuleKind::Windows;
    location.fieldName = file;
    location.file = file;
    location.hostPath = WineDrivePath(file);
    return location;
}

// Wine creates a missing prefix on its first start, which takes seconds.
bool WinePrefixMissing() {
    return KindOfPath(WinePrefix() + "/system.reg") == PathKind::Missing;
}

// Making a prefix takes 15 s on a slow machine; far more means Wine is stuck.
constexpr double kPrefixCreationSeconds = 600;

// The program that runs a Windows program of the module's kind, with the
// environment it runs in.
ChildProcessRun WineCommand(ModuleKind kind, const std::string& program) {
    ChildProcessRun run;
    run.command = {kind == ModuleKind::Windows ? "wine" : Wine64Loader(), program};
    // Quiet, and no offer to install .NET or a browser engine into a new
    // prefix: nobody is there to answer it.
    if (std::getenv("WINEDEBUG") == nullptr)
        run.environment.push_back("WINEDEBUG=-all");
    if (std::getenv("WINEDLLOVERRIDES") == nullptr)
        run.environment.push_back("WINEDLLOVERRIDES=mscoree,mshtml=");
    return run;
}

} // namespace

const char* HostProgramName(ModuleKind kind) {
    switch (kind) {
    case ModuleKind::Windows:
        return "kelvane-module-host.exe";
    case ModuleKind::Windows64:
        return "kelvane-module-host64.exe";
    case ModuleKind::Native:
        break;
    }
    return "kelvane-module-host";
}

bool HostCanStart(const ModuleLocation& module, ModuleHostFailure& failure, std::string& note) {
    if (module.kind == ModuleKind::Native)
        return true;
    if (module.kind == ModuleKind::Windows ? !ProgramOnPath("wine") : Wine64Loader().empty()) {
        failure = ModuleHostFailure::WineMissing;
        return false;
    }
    // Said once a run: later calls find the prefix made.
    static bool toldPreparingWine = false;
    if (!toldPreparingWine && WinePrefixMissing()) {
        note = LoadResourceString(IDS_PREPARING_WINE);
        toldPreparingWine = true;
    }
    return true;
}

void PrepareHostStart(const ModuleLocation& module, WaitIndicator& waiter) {
    static bool prepared = false;
    if (module.kind == ModuleKind::Native || prepared || !WinePrefixMissing())
        return;
    prepared = true;
    // wineboot ends once the prefix is made; Wine's server, which writes
    // the registry files a moment later, outlives it.
    ChildProcessRun run = WineCommand(module.kind, "wineboot");
    run.command.push_back("-i");
    run.outputLimit = 1 << 20;
    run.collectErrors = true;
    run.timeoutSeconds = kPrefixCreationSeconds;
    RunChildProcess(run, waiter);
}

ChildProcessRun HostCommand(const ModuleLocation& module) {
    const std::string host = HostProgram(module.kind);
    ChildProcessRun run = module.kind != ModuleKind::Native
                              ? WineCommand(module.kind, NativePath(host))
                              : ChildProcessRun{};
    if (module.kind == ModuleKind::Native)
        run.command = {NativePath(host)};
    // Wine's own processes (its server) must outlive a call.
    run.ownPidNamespace = module.kind == ModuleKind::Native;
    return run;
}

ModuleLocation LocateModule(std::string_view modulePath) {
    ModuleLocation location;
    const std::string path(modulePath);
    if (IsWindowsPath(path)) {
        location.kind = ModuleKind::Windows;
        location.fieldName = WindowsModuleFileName(path);
        // Wine finds the file in any case itself; the file is for the cache.
        location.file = ModuleFileInAnyCase(UnixPathOfWindowsPath(location.fieldName));
        location.hostPath = ProjectToUtf8(location.fieldName);
        return location;
    }
    location.fieldName = ModuleFileName(path);
    const std::string placed = PlaceOf(location.fieldName);
    location.file = ModuleFileInAnyCase(placed);
    // The host takes a bare name from its own folder, which is the
    // program's; a name found in another case is given as the file found.
    location.hostPath = location.file == placed ? location.fieldName : location.file;
    if (IsRegularFile(location.file))
        return location;
    const std::string windowsName = WindowsModuleFileName(path);
    const std::string windowsFile = ModuleFileInAnyCase(PlaceOf(windowsName));
    if (IsRegularFile(windowsFile)) {
        location.kind = ModuleKind::Windows;
        location.fieldName = windowsName;
        location.file = windowsFile;
        location.hostPath = WineDrivePath(windowsFile);
        return location;
    }
    // Neither is there: the system's library search may still know it.
    location.file = location.fieldName;
    return location;
}

// The substitute beside the program comes first, a product decision: it
// needs no Wine, and it is what the package installs; a user's own DLL is
// used where no substitute is.
UsbLibraryPlace LocateUsbLibrary(const std::string& name, const std::string& programFolder) {
    UsbLibraryPlace place;
    place.library = name;
    const bool bare = name.find('/') == std::string::npos;
    const auto beside = [&](const std::string& file) {
        return bare && !programFolder.empty() ? programFolder + "/" + file : file;
    };
    const bool dll = IsDllName(name);
    if (!dll && IsRegularFile(beside(name)))
        return place;
    const std::string dllName = dll ? name : ModuleFileNameWithSuffix(name, ".dll");
    std::vector<std::string> candidates = {beside(dllName)};
    if (const std::string installed = DriveFolderOnThisSystem(kDebuggerFolder);
        bare && !installed.empty())
        candidates.push_back(installed + "/" + dllName);
    for (const std::string& candidate : candidates) {
        const std::string file = ModuleFileInAnyCase(candidate);
        if (IsRegularFile(file)) {
            place.host = WindowsLibraryLocation(file);
            return place;
        }
    }
    // Nothing found: the system's library search may know the name, and its
    // loader says why not; no Wine is started for a file that is not there.
    return place;
}

} // namespace kelvane
