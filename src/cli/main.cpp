// kelvane-cli: the headless front of Kelvane. It drives the same application
// object as the desktop program; message boxes go to standard error.
#include "app/klvn_main_app.h"
#include "app/version_text.h"
#include "cli/cli_services.h"
#include "cli/console_message_boxes.h"
#include "platform/executable_path.h"
#include "platform/qt/qsettings_profile.h"
#include "store/fixed_text.h"
#include "store/path_helpers.h"
#include "view/summary_drawing.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "Usage: kelvane-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  show PROJECT               open a project and print its summary\n"
    "  check PROJECT              open a project and check that it could be saved\n"
    "  save PROJECT [--as PATH]   open a project and save it in place or as PATH\n"
    "  convert PROJECT (--to MODEL | --direction N) [--as PATH]\n"
    "                             convert a project to another ICE model and save\n"
    "                             it in place or as PATH; MODEL is talvexBANTAM,\n"
    "                             talvexNOVA, talvexMAX, talvexVEGA or talvexVEGA II\n"
    "  --help                     print this help\n"
    "  --version                  print the program's version\n"
    "\n"
    "Every message the desktop program would show is printed to standard\n"
    "error as CAPTION: TEXT. Exit status: 0 done, 1 a failure was reported,\n"
    "2 wrong usage.\n";

struct Session {
    explicit Session(std::string saveAsPath = {})
        : fileDialogs(std::move(saveAsPath)),
          app({messageBoxes, fileDialogs, repaint, profile}, kelvane::ProgramFilePath("ini")) {}

    kelvane::ConsoleMessageBoxes messageBoxes;
    kelvane::ScriptedFileDialog fileDialogs;
    kelvane::NoRepaint repaint;
    kelvane::QSettingsProfile profile;
    kelvane::CKLVN_MAINApp app;
};

// Opens as a dropped file is opened; a path that is not a project file is
// refused here with a word, where the desktop program silently ignores it.
bool Open(Session& session, const std::string& path) {
    std::string checked = path;
    if (kelvane::CheckExtension(checked, "FSP", 0) != 0) {
        std::fprintf(stderr, "kelvane-cli: %s is not a project file (.fsp)\n", path.c_str());
        return false;
    }
    session.app.OpenProjectPath(path);
    return session.app.Settings().m_bProjectLoaded;
}

int Show(const std::string& path) {
    Session session;
    if (!Open(session, path))
        return kExitFailed;
    for (const std::string& line :
         kelvane::SummaryLines(kelvane::SummaryDrawing(session.app.Settings())))
        std::printf("%s\n", line.c_str());
    return kExitDone;
}

int Check(const std::string& path) {
    Session session;
    if (!Open(session, path))
        return kExitFailed;
    return session.app.ValidateForSave() ? kExitDone : kExitFailed;
}

int Save(const std::string& path, const std::string& saveAsPath) {
    Session session(saveAsPath);
    if (!Open(session, path))
        return kExitFailed;
    const bool saved =
        saveAsPath.empty() ? session.app.OnSaveProject() : session.app.OnSaveProjectAs();
    return saved ? kExitDone : kExitFailed;
}

struct ConvertRequest {
    std::string project;
    std::string toModel;
    int direction = -1;
    std::string saveAsPath;
};

// Reads "PROJECT (--to MODEL | --direction N) [--as PATH]"; false on wrong usage.
bool ParseConvert(const std::vector<std::string>& args, ConvertRequest& request) {
    if (args.size() < 2)
        return false;
    request.project = args[1];
    bool haveTarget = false;
    for (size_t i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size() || args[i + 1].empty())
            return false;
        const std::string& value = args[i + 1];
        if ((args[i] == "--to" || args[i] == "--direction") && haveTarget)
            return false;
        if (args[i] == "--to") {
            request.toModel = value;
            haveTarget = true;
        } else if (args[i] == "--direction") {
            if (value.size() != 1 || value[0] < '0' || value[0] > '9')
                return false;
            request.direction = value[0] - '0';
            haveTarget = true;
        } else if (args[i] == "--as" && request.saveAsPath.empty()) {
            request.saveAsPath = value;
        } else {
            return false;
        }
    }
    return haveTarget;
}

// The model a name means, any case; -1 for none.
int ModelByName(const std::string& name) {
    for (uint32_t model = 0; model < kelvane::kIceModelCount; ++model)
        if (kelvane::EqualIgnoringCase(name, kelvane::IceModelName(model)))
            return static_cast<int>(model);
    return -1;
}

std::string ModelText(uint32_t model) {
    const char* name = kelvane::IceModelName(model);
    return name != nullptr ? name : "an unknown model";
}

// Why the command of a conversion is not offered for the open project.
std::string WhyNotEnabled(const kelvane::ConversionCommand& command,
                          const kelvane::ProjectSettings& settings) {
    if (settings.m_nIceModel != command.from)
        return "direction " + std::to_string(command.direction) + " converts " +
               ModelText(command.from) + " projects; this project is " +
               ModelText(settings.m_nIceModel);
    if (settings.m_szConvertModule[0] == '\0')
        return "no conversion module was found for the MPU information file " +
               std::string(kelvane::FieldText(settings.m_szMpdFile));
    return "the conversion module " + std::string(kelvane::FieldText(settings.m_szConvertModule)) +
           " does not convert " + ModelText(command.from) + " to " + ModelText(command.to);
}

int Convert(const ConvertRequest& request) {
    Session session(request.saveAsPath);
    if (!Open(session, request.project))
        return kExitFailed;
    const kelvane::ProjectSettings& settings = session.app.Settings();
    const kelvane::ConversionCommand* command = nullptr;
    if (!request.toModel.empty()) {
        const int target = ModelByName(request.toModel);
        command =
            kelvane::FindConversionBetween(settings.m_nIceModel, static_cast<uint32_t>(target));
        if (command == nullptr) {
            std::fprintf(stderr, "kelvane-cli: no conversion direction leads from %s to %s\n",
                         ModelText(settings.m_nIceModel).c_str(), ModelText(target).c_str());
            return kExitFailed;
        }
    } else {
        command = kelvane::FindConversionDirection(request.direction);
    }
    if (!session.app.IsConvertEnabled(*command)) {
        std::fprintf(stderr, "kelvane-cli: cannot convert: %s\n",
                     WhyNotEnabled(*command, settings).c_str());
        return kExitFailed;
    }
    if (!session.app.OnConvert(*command))
        return kExitFailed;
    const bool saved =
        request.saveAsPath.empty() ? session.app.OnSaveProject() : session.app.OnSaveProjectAs();
    return saved ? kExitDone : kExitFailed;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--help") {
        std::fputs(kUsage, stdout);
        return kExitDone;
    }
    if (args.size() == 1 && args[0] == "--version") {
        const std::string text = kelvane::ComposeVersionText(
            "Kelvane Version ", kelvane::kProductVersionMS, kelvane::kProductVersionLS);
        std::printf("%s\n", text.c_str());
        return kExitDone;
    }
    if (args.size() == 2 && args[0] == "show")
        return Show(args[1]);
    if (args.size() == 2 && args[0] == "check")
        return Check(args[1]);
    if (args.size() == 2 && args[0] == "save")
        return Save(args[1], {});
    if (!args.empty() && args[0] == "convert") {
        ConvertRequest request;
        if (ParseConvert(args, request) &&
            (request.toModel.empty() || ModelByName(request.toModel) >= 0))
            return Convert(request);
        if (!request.toModel.empty() && ModelByName(request.toModel) < 0)
            std::fprintf(stderr, "kelvane-cli: unknown ICE model %s\n", request.toModel.c_str());
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    if (args.size() == 4 && args[0] == "save" && args[2] == "--as" && !args[3].empty())
        return Save(args[1], args[3]);
    std::fputs(kUsage, stderr);
    return kExitUsage;
}
