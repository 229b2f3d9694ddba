// kelvane-cli: the headless front of Kelvane. It drives the same application
// object as the desktop program; message boxes go to standard error.
#include "app/klvn_main_app.h"
#include "app/version_text.h"
#include "cli/cli_services.h"
#include "cli/console_message_boxes.h"
#include "platform/executable_path.h"
#include "platform/qt/qsettings_profile.h"
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
    if (args.size() == 4 && args[0] == "save" && args[2] == "--as" && !args[3].empty())
        return Save(args[1], args[3]);
    std::fputs(kUsage, stderr);
    return kExitUsage;
}
