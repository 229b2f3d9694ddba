// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#include "app/project_code_page.h"
#include "app/version_text.h"
#include "cli/batch_command.h"
#include "cli/cli_profile.h"
#include "cli/file_model_arguments.h"
#include "cli/ice_model_names.h"
#include "cli/project_commands.h"
#include "cli/usage_text.h"
#include "platform/files/absolute_path.h"
#include "platform/files/file_reader.h"
#include "platform/text/code_page.h"
#include "store/validate_settings.h"

#include <CLI/CLI.hpp>

#include <cstdio>

namespace kelvane {
namespace {

std::string Lowercase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool AllOf(const std::string& text, bool (*accepted)(char)) {
    for (const char c : text)
        if (!accepted(c))
            return false;
    return true;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The checks of the values; each gives the complaint, empty for a good value.
std::string NotEmpty(const std::string& value) {
    return value.empty() ? "an empty value" : "";
}

std::string DeviceName(const std::string& value) {
    const std::string name = Lowercase(value);
    return name == "ether" || name == "usb" ? "" : value + " is neither ether nor usb";
}

std::string OnOff(const std::string& value) {
    const std::string state = Lowercase(value);
    return state == "on" || state == "off" ? "" : value + " is neither on nor off";
}

// Ports are 16-bit numbers; the dialog takes them in hexadecimal.
std::string HexPort(const std::string& value) {
    return IsPortText(value) ? "" : value + " is not a port in hexadecimal (0 to ffff)";
}

// The range the dialog names; the save would clamp anything else into it.
std::string Seconds(const std::string& value) {
    const bool inRange = !value.empty() && value.size() <= 5 && AllOf(value, IsDigit) &&
                         std::stoul(value) >= 10 && std::stoul(value) <= 65535;
    return inRange ? "" : value + " is not a time-out of 10 to 65535 seconds";
}

std::string Direction(const std::string& value) {
    return value.size() == 1 && IsDigit(value[0]) ? "" : value + " is not a direction 0 to 9";
}

// A save target names a project file: with the extension fsp, or with none
// (the save adds it, as the file dialog does); never a folder.
std::string SaveTarget(const std::string& value) {
    const size_t slash = value.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? value : value.substr(slash + 1);
    if (name.empty() || name == "." || name == ".." ||
        KindOfPath(LocaleToProject(value)) == PathKind::Folder)
        return value + " is a folder; --as takes a project file name";
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && Lowercase(name.substr(dot + 1)) != "fsp")
        return value + " is not a project file name (.fsp)";
    return "";
}

std::string ModelName(const std::string& value) {
    return IceModelByName(LocaleToProject(value)) >= 0 ? "" : "unknown ICE model " + value;
}

// A value option, and whether it was given.
struct TextArgument {
    std::string value;
    CLI::Option* option = nullptr;

    bool Given() const { return option != nullptr && option->count() > 0; }
    std::optional<std::string> ProjectText() const {
        return Given() ? std::optional(LocaleToProject(value)) : std::nullopt;
    }
};

CLI::Option* AddText(CLI::App& command, const std::string& name, TextArgument& argument,
                     const std::string& description, const std::string& valueName,
                     std::string (*check)(const std::string&)) {
    argument.option = command.add_option(name, argument.value, description)->type_name(valueName);
    argument.option->check(check);
    return argument.option;
}

// The communication settings of `set` and `convert`.
struct SettingArguments {
    TextArgument device, ipAddress, port, usbDevice, timeout, mcs, ipAddressMcs, portMcs;
    bool detectUsb = false;

    void AddTo(CLI::App& command) {
        AddText(command, "--device", device, "connect to the ICE by Ethernet or by USB",
                "ether|usb", DeviceName);
        AddText(command, "--ip", ipAddress, "the ICE's IP address (Ethernet)", "ADDRESS", NotEmpty);
        AddText(command, "--port", port, "the ICE's port in hexadecimal (Ethernet)", "HEX",
                HexPort);
        CLI::Option* name = AddText(command, "--usb-device", usbDevice,
                                    "the ICE's USB device name (USB)", "NAME", NotEmpty);
        CLI::Option* detect = command.add_flag("--detect-usb", detectUsb,
                                               "detect the USB devices and take the first one");
        name->excludes(detect);
        AddText(command, "--timeout", timeout, "the communication time-out, 10 to 65535", "SECONDS",
                Seconds);
        AddText(command, "--mcs", mcs, "connect through the Multi-Core Server or not", "on|off",
                OnOff);
        AddText(command, "--mcs-ip", ipAddressMcs, "the Multi-Core Server's IP address", "ADDRESS",
                NotEmpty);
        AddText(command, "--mcs-port", portMcs, "the Multi-Core Server's port in hexadecimal",
                "HEX", HexPort);
    }

    CommOptions Options() const {
        CommOptions options;
        if (device.Given())
            options.device = Lowercase(device.value) == "ether" ? CommOptions::Device::Ether
                                                                : CommOptions::Device::Usb;
        options.ipAddress = ipAddress.ProjectText();
        // Lowercase, as ports are read from a project.
        if (port.Given())
            options.port = Lowercase(port.value);
        options.usbDevice = usbDevice.ProjectText();
        options.detectUsb = detectUsb;
        options.timeout = timeout.ProjectText();
        if (mcs.Given())
            options.useMcs = Lowercase(mcs.value) == "on";
        options.ipAddressMcs = ipAddressMcs.ProjectText();
        if (portMcs.Given())
            options.portMcs = Lowercase(portMcs.value);
        return options;
    }
};

std::string Folder(const std::string& value) {
    return KindOfPath(LocaleToProject(value)) == PathKind::Folder ? "" : value + " is not a folder";
}

struct ProjectArguments {
    TextArgument project, saveAs, codePage;
    // Commands that take several projects.
    std::vector<std::string> projects;
    TextArgument outDir, report;
    int jobs = 0;
    int batchItem = -1;
    std::string batchWorker;
    bool force = false;
    bool relink = false;
    CLI::Option* jobsOption = nullptr;

    void AddTo(CLI::App& command, bool saves, bool several = false) {
        if (several) {
            command.add_option("PROJECT", projects, "the project files (.fsp)")
                ->type_name("PATH")
                ->required()
                ->check(NotEmpty);
            jobsOption = command
                             .add_option("--jobs", jobs,
                                         "run at most N projects at once (default: one "
                                         "per processor)")
                             ->type_name("N")
                             ->check(CLI::PositiveNumber);
            AddText(command, "--report", report,
                    "write a JSON record of each project's result to FILE", "FILE", NotEmpty);
            // Set for the workers a batch starts, and by a worker for each
            // project it is given.
            command.add_option("--batch-item", batchItem)->group("");
            command.add_option("--batch-worker", batchWorker)->group("");
        } else {
            AddText(command, "PROJECT", project, "the project file (.fsp)", "PATH", NotEmpty)
                ->required();
        }
        if (saves)
            AddText(command, "--as", saveAs,
                    "save as PATH instead of in place (.fsp is added to a name without an "
                    "extension)",
                    "PATH", SaveTarget);
        AddText(command, "--codepage", codePage,
                "read the project's texts in this code page (CP932, CP1252, UTF-8, ...) "
                "instead of the one remembered for it or found in its bytes",
                "NAME", NotEmpty);
        command.add_flag("--relink", relink,
                         "a project moved from another folder (its full-path names are of "
                         "that folder) uses the files beside it");
        if (saves)
            command.add_flag("--force", force,
                             "save even over a project file or FSR file that another program "
                             "changed since it was opened");
        if (saves && several)
            AddText(command, "--out-dir", outDir,
                    "save each project under its own name in DIR instead of in place", "DIR",
                    Folder);
    }

    bool Batch() const {
        return projects.size() > 1 || outDir.Given() || report.Given() ||
               (jobsOption != nullptr && jobsOption->count() > 0);
    }

    // The texts of the command line are converted to the project's code
    // page, so it is chosen first: for the one project a process opens.
    std::string ChooseCodePage() const {
        if (codePage.Given()) {
            if (!IsKnownCodePage(codePage.value))
                return "unknown code page " + codePage.value;
            SetGivenCodePage(codePage.value);
        }
        const std::string* opened = nullptr;
        if (projects.empty())
            opened = &project.value;
        else if (batchItem >= 0 && static_cast<size_t>(batchItem) < projects.size())
            opened = &projects[static_cast<size_t>(batchItem)];
        else if (!Batch())
            opened = &projects.front();
        if (opened != nullptr) {
            CliProfile profile;
            UseCodePageOfProject(AbsolutePath(LocaleToProject(*opened)), profile);
        }
        return "";
    }

    // The request's projects and save target; a usage problem as its text.
    std::string FillIn(CliRequest& request) const {
        // The FSR file records the project's path: never a relative one.
        if (projects.empty()) {
            request.project = AbsolutePath(*project.ProjectText());
            request.projects = {request.project};
        } else {
            for (const std::string& path : projects)
                request.projects.push_back(AbsolutePath(LocaleToProject(path)));
            request.project = request.projects.front();
        }
        request.saveAsPath = AbsolutePath(saveAs.ProjectText().value_or(std::string()));
        request.outDir = AbsolutePath(outDir.ProjectText().value_or(std::string()));
        request.reportPath = AbsolutePath(report.ProjectText().value_or(std::string()));
        request.jobs = jobs;
        request.force = force;
        request.relink = relink;
        request.batch = batchItem < 0 && batchWorker.empty() && Batch();
        request.batchItem = batchItem;
        request.batchWorker = batchWorker;
        if (request.batch && saveAs.Given())
            return "--as saves one project; give several a folder with --out-dir";
        if (batchItem >= 0) {
            if (static_cast<size_t>(batchItem) >= request.projects.size())
                return "--batch-item " + std::to_string(batchItem) + " names no project";
            request.project = request.projects[static_cast<size_t>(batchItem)];
            if (!request.outDir.empty())
                request.saveAsPath = BatchTarget(request.project, request.outDir);
        }
        return "";
    }
};

int UsageError(const std::string& message) {
    std::fprintf(stderr, "kelvane-cli: %s\n", message.c_str());
    std::fputs(UsageText(), stderr);
    return kExitUsage;
}

} // namespace

std::optional<int> ParseCommandLine(int argc, char** argv, CliRequest& request) {
    CLI::App app("", "kelvane-cli");
    // "/x" is a path on every system, never an option (CLI11 takes it for
    // one on Windows unless told).
    app.allow_windows_style_options(false);
    app.require_subcommand(1);
    app.set_version_flag("--version", [] {
        return ComposeVersionText("Kelvane Version ", kProductVersionMS, kProductVersionLS);
    });

    ProjectArguments showArguments, checkArguments, saveArguments, setArguments, convertArguments;
    CLI::App* show = app.add_subcommand("show", "open projects and print their summaries");
    showArguments.AddTo(*show, false, true);
    CLI::App* check =
        app.add_subcommand("check", "open projects and check that they could be saved");
    checkArguments.AddTo(*check, false, true);
    CLI::App* save = app.add_subcommand("save", "open a project and save it in place or as PATH");
    saveArguments.AddTo(*save, true);

    const char* refusalNote =
        "A setting whose field the Comm setting or the Files & ICE model setting dialog "
        "disables, or which the dialog's OK refuses, is refused, and nothing is saved.";
    SettingArguments setSettings, convertSettings;
    FileModelArguments setFiles, convertFiles;
    CLI::App* set = app.add_subcommand(
        "set", "change a project's communication settings, files and model name and save it in "
               "place or as PATH");
    setArguments.AddTo(*set, true);
    setSettings.AddTo(*set);
    setFiles.AddTo(*set);
    set->footer(refusalNote);

    CLI::App* convert = app.add_subcommand(
        "convert", "convert projects to another ICE model, apply the settings and save them");
    convertArguments.AddTo(*convert, true, true);
    TextArgument toModel, direction;
    CLI::Option* to = AddText(*convert, "--to", toModel,
                              "the model to convert to: talvexBANTAM, talvexNOVA, talvexMAX, "
                              "talvexVEGA or talvexVEGA II",
                              "MODEL", ModelName);
    to->excludes(AddText(*convert, "--direction", direction, "the conversion direction 0 to 9", "N",
                         Direction));
    convertSettings.AddTo(*convert);
    convertFiles.AddTo(*convert);
    convert->footer(refusalNote);

    CLI::App* usb = app.add_subcommand("usb", "list the USB devices found, one NAME LABEL a line");
    CLI::App* models = app.add_subcommand("models", "list the installed ICE models, one a line");

    // The overview is written by hand; a command's own help is CLI11's.
    app.formatter_fn(
        [](const CLI::App*, std::string, CLI::AppFormatMode) { return std::string(UsageText()); });

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0)
            return app.exit(error); // help or version, on standard output
        return UsageError(error.what());
    }

    const std::pair<CLI::App*, ProjectArguments*> projectCommands[] = {
        {show, &showArguments}, {check, &checkArguments},     {save, &saveArguments},
        {set, &setArguments},   {convert, &convertArguments},
    };
    for (const auto& [command, arguments] : projectCommands) {
        if (!command->parsed())
            continue;
        std::string problem = arguments->ChooseCodePage();
        if (problem.empty())
            problem = arguments->FillIn(request);
        if (!problem.empty())
            return UsageError(problem);
    }
    if (show->parsed()) {
        request.command = CliCommand::Show;
    } else if (check->parsed()) {
        request.command = CliCommand::Check;
    } else if (save->parsed()) {
        request.command = CliCommand::Save;
    } else if (set->parsed()) {
        request.command = CliCommand::Set;
        request.comm = setSettings.Options();
        request.files = setFiles.Options();
    } else if (convert->parsed()) {
        if (!toModel.Given() && !direction.Given())
            return UsageError("convert needs --to MODEL or --direction N");
        request.command = CliCommand::Convert;
        if (toModel.Given())
            request.toModel = IceModelByName(*toModel.ProjectText());
        else
            request.direction = direction.value[0] - '0';
        request.comm = convertSettings.Options();
        request.files = convertFiles.Options();
    } else if (usb->parsed()) {
        request.command = CliCommand::Usb;
    } else if (models->parsed()) {
        request.command = CliCommand::Models;
    }
    return std::nullopt;
}

} // namespace kelvane
